#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QIcon>
#include <QSize>

class GdiPainter;
class IconResources;
struct ScreenRect;

// The push button of the view's button rows: an icon and a word-wrapped caption on the
// button face, a raised or sunken 3-D border, optionally a two-state toggle. It draws
// with fixed colours (face 192,192,192, shadow 128,128,128, highlight white, text
// black) rather than the desktop theme, so it looks the same everywhere.
class ImageButton : public QAbstractButton {
    Q_OBJECT

  public:
    // Result of SetAlignment for a place that does not exist.
    static constexpr int kInvalidArgument = 4;

    enum Alignment { kIconLeft = 0, kIconAbove = 1, kIconRight = 2 };

    static const QColor kFace;
    static const QColor kShadow;
    static const QColor kHighlight;
    static const QColor kText;

    explicit ImageButton(QWidget* parent = nullptr);

    // The check-box style: the button keeps a pressed state that each click flips.
    void SetToggle(bool toggle);
    bool IsToggle() const { return isCheckable(); }
    // The default-button style: a non-flat default button carries the black frame.
    void SetDefault(bool isDefault);
    bool IsDefault() const { return default_; }

    // Takes the icon `iconId` from `icons`, shown at width x height; a missing icon
    // leaves the button without one. Returns 0.
    int SetIcon(const IconResources& icons, int iconId, int width, int height);
    bool HasIcon() const { return !icon_.isNull(); }
    // A flat button shows no border unless the pointer is over it. Returns 0.
    int SetFlat(bool flat, bool repaint = true);
    bool IsFlat() const { return flat_; }
    bool IsHovering() const { return hovering_; }
    // 0 icon left of the caption, 1 above it, 2 right of it. Any other value returns
    // kInvalidArgument and changes nothing; otherwise 0.
    int SetAlignment(int alignment, bool repaint = true);
    int GetAlignment() const { return alignment_; }
    // Only for a toggle: any non-zero state counts as pressed. Returns 0.
    int SetCheck(int state, bool repaint = true);
    int GetCheck() const { return isChecked() ? 1 : 0; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    virtual void DrawBackground(GdiPainter& painter, const QRect& rect);
    virtual void DrawBorder(GdiPainter& painter, const QRect& rect, bool pressed);

    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    bool IsPressed() const;
    void DrawIcon(GdiPainter& painter, ScreenRect& captionArea, bool shifted);
    void DrawCaption(GdiPainter& painter, ScreenRect captionArea, bool shifted);
    void HoverStart();
    void HoverEnd();

    bool flat_ = true;
    bool hovering_ = false;
    bool default_ = false;
    int alignment_ = kIconLeft;
    QIcon icon_;
    QSize iconSize_;
};
