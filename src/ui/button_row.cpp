#include "ui/button_row.h"

#include <algorithm>

#include "platform/qt/icon_resources.h"
#include "ui/language_text.h"
#include "ui/view_commands.h"

namespace {

constexpr int kNoIcon = 0;
constexpr int kIconSize = 16;
constexpr int kRowTop = 235;
constexpr int kRowHeight = 32;
constexpr int kWideButton = 46;
constexpr int kNarrowButton = 38;
constexpr int kAutoSpanPressedIcon = ViewCommands::kAutoSpanPressedIcon;

struct ButtonEntry {
    ButtonRow::Button button;
    int controlId;
    int left;
    int right;
    int caption;
    int icon;
};

// Buttons in the order they are created, with their control ids, places in the
// bottom row and language resources.
constexpr std::array<ButtonEntry, ButtonRow::kButtonCount> kButtonTable{{
    {ButtonRow::kHold, 105, 1, 47, 130, 135},
    {ButtonRow::kFitSpan, 118, 49, 95, 131, 142},
    {ButtonRow::kAutoSpan, 117, 49, 95, 131, kAutoSpanPressedIcon},
    {ButtonRow::kSettings, 106, 97, 143, 132, 136},
    {ButtonRow::kBrowse, 108, 145, 191, 133, 141},
    {ButtonRow::kExit, 109, 193, 239, 134, 140},
    {ButtonRow::kPrevious, 110, 1, 39, 135, 139},
    {ButtonRow::kNext, 111, 41, 79, 136, 138},
    {ButtonRow::kDelete, 112, 81, 119, 137, 137},
    {ButtonRow::kLive, 113, 161, 199, 138, 143},
    {ButtonRow::kSave, 114, 1, 47, 139, kNoIcon},
    {ButtonRow::kDiscard, 115, 49, 95, 140, kNoIcon},
}};

constexpr int kPromptId = 116;
constexpr int kPromptCaption = 141;

// The buttons that take an icon, in the order they get it.
constexpr std::array kIconOrder{
    ButtonRow::kHold,   ButtonRow::kSettings, ButtonRow::kFitSpan,  ButtonRow::kAutoSpan,
    ButtonRow::kBrowse, ButtonRow::kExit,     ButtonRow::kPrevious, ButtonRow::kNext,
    ButtonRow::kDelete, ButtonRow::kLive,
};

QRect FromEdges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

const ButtonEntry& EntryOf(ButtonRow::Button which) {
    return *std::find_if(kButtonTable.begin(), kButtonTable.end(),
                         [which](const ButtonEntry& e) { return e.button == which; });
}

}  // namespace

int ButtonRow::ControlId(Button which) {
    return EntryOf(which).controlId;
}

void ButtonRow::Create(QWidget& view, const StringResources& strings, const IconResources& icons) {
    for (const ButtonEntry& entry : kButtonTable) {
        ImageButton& button = buttons_[entry.button];
        button.setParent(&view);
        button.setObjectName(QString::number(entry.controlId));
        button.setText(LanguageText(strings, entry.caption));
        button.setGeometry(FromEdges(entry.left, kRowTop, entry.right, kRowTop + kRowHeight));
        // Clicks leave the keyboard focus with the view, so the arrow keys keep working.
        button.setFocusPolicy(Qt::TabFocus);
        button.SetToggle(entry.button == kAutoSpan);
        button.hide();
    }
    prompt_.setParent(&view);
    prompt_.setObjectName(QString::number(kPromptId));
    prompt_.setText(LanguageText(strings, kPromptCaption));
    prompt_.setWordWrap(true);
    prompt_.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    prompt_.setGeometry(FromEdges(97, kRowTop, 239, kRowTop + kRowHeight));
    prompt_.hide();

    for (ImageButton& button : buttons_) {
        button.setFont(view.font());
        button.SetFlat(false);
    }
    for (Button which : kIconOrder) {
        buttons_[which].SetIcon(icons, EntryOf(which).icon, kIconSize, kIconSize);
        buttons_[which].SetAlignment(ImageButton::kIconAbove);
    }
    buttons_[kAutoSpan].SetCheck(1);
}

void ButtonRow::ShowAutoOrFitSpan(bool autoSpanAllowed) {
    buttons_[kAutoSpan].setVisible(autoSpanAllowed);
    buttons_[kFitSpan].setVisible(!autoSpanAllowed);
}

void ButtonRow::Move(Button which, int left, int width) {
    buttons_[which].setGeometry(left, kRowTop, width, kRowHeight);
    buttons_[which].update();
}

void ButtonRow::ShowLive(bool autoSpanAllowed) {
    for (Button hidden : {kPrevious, kNext, kDelete, kLive, kSave, kDiscard}) {
        buttons_[hidden].hide();
    }
    prompt_.hide();
    Move(kSettings, 97, kWideButton);
    Move(kExit, 193, kWideButton);
    for (Button shown : {kHold, kSettings, kBrowse, kExit}) {
        buttons_[shown].show();
    }
    ShowAutoOrFitSpan(autoSpanAllowed);
}

void ButtonRow::ShowHeld() {
    for (Button hidden : {kHold, kSettings, kFitSpan, kAutoSpan, kBrowse, kExit}) {
        buttons_[hidden].hide();
    }
    buttons_[kSave].show();
    buttons_[kDiscard].show();
    prompt_.show();
}

void ButtonRow::ShowBrowsing() {
    for (Button hidden : {kHold, kFitSpan, kAutoSpan, kBrowse}) {
        buttons_[hidden].hide();
    }
    for (Button shown : {kPrevious, kNext, kDelete, kLive}) {
        buttons_[shown].show();
    }
    Move(kSettings, 121, kNarrowButton);
    Move(kExit, 201, kNarrowButton);
}
