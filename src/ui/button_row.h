#pragma once

#include <QLabel>
#include <array>

#include "ui/image_button.h"

class IconResources;
class QWidget;
class StringResources;

// The bottom row of the screen: twelve buttons and the held-picture prompt, placed in
// one of three layouts (live, held, browsing).
class ButtonRow {
  public:
    // The buttons, in the order the row holds them.
    enum Button {
        kHold,
        kSettings,
        kFitSpan,
        kAutoSpan,
        kBrowse,
        kExit,
        kPrevious,
        kNext,
        kDelete,
        kLive,
        kSave,
        kDiscard,
        kButtonCount
    };

    // The control id of a button, which is also the id of its command.
    static int ControlId(Button which);

    // Makes every button and the prompt a hidden child of `view` at its first place,
    // with its caption and icon.
    void Create(QWidget& view, const StringResources& strings, const IconResources& icons);

    // Hold, span, settings, browse and exit; the span button is Auto span when
    // automatic span is allowed and Fit span otherwise.
    void ShowLive(bool autoSpanAllowed);
    void ShowAutoOrFitSpan(bool autoSpanAllowed);
    // Save, discard and the prompt.
    void ShowHeld();
    // Previous, next, delete, settings, live and exit, narrow.
    void ShowBrowsing();

    ImageButton& At(Button which) { return buttons_[which]; }
    QLabel& Prompt() { return prompt_; }

  private:
    void Move(Button which, int left, int width);

    std::array<ImageButton, kButtonCount> buttons_;
    QLabel prompt_;
};
