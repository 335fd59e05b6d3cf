#include "ui/image_button.h"

#include <gtest/gtest.h>

#include "support/fake_icons.h"
#include "support/test_application.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <optional>

#include "platform/qt/icon_resources.h"

namespace {

bool EnsureApplication() {
    TestApplication();
    return true;
}

const QColor kIconColour(255, 0, 0);

// The bounding box of the pixels of one colour; nullopt when there are none.
std::optional<QRect> Find(const QImage& image, const QColor& colour, QRect within = QRect()) {
    if (within.isNull()) {
        within = image.rect();
    }
    std::optional<QRect> box;
    for (int y = within.top(); y <= within.bottom(); ++y) {
        for (int x = within.left(); x <= within.right(); ++x) {
            if (image.pixelColor(x, y) == colour) {
                box = box ? box->united(QRect(x, y, 1, 1)) : QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

class ImageButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        button_.resize(46, 32);
        button_.SetFlat(false);
    }

    QImage Render() { return button_.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    void Send(QEvent::Type type) {
        const QPointF at(20, 16);
        QMouseEvent event(type, at, button_.mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&button_, &event);
    }

    bool applicationReady_ = EnsureApplication();
    test_support::FakeIcons icons_{kIconColour};  // every icon a solid red square
    ImageButton button_;
};

TEST_F(ImageButtonTest, RaisedBorderOnTheButtonFace) {
    const QImage image = Render();
    EXPECT_EQ(image.pixelColor(0, 0), ImageButton::kHighlight);
    EXPECT_EQ(image.pixelColor(0, 30), ImageButton::kHighlight);
    EXPECT_EQ(image.pixelColor(44, 0), ImageButton::kHighlight);
    EXPECT_EQ(image.pixelColor(45, 31), ImageButton::kShadow);
    EXPECT_EQ(image.pixelColor(45, 0), ImageButton::kShadow);
    EXPECT_EQ(image.pixelColor(0, 31), ImageButton::kShadow);
    EXPECT_EQ(image.pixelColor(20, 16), ImageButton::kFace);
    // Only a toggle keeps a pressed state.
    EXPECT_EQ(button_.SetCheck(1), 0);
    EXPECT_EQ(button_.GetCheck(), 0);
    EXPECT_EQ(Render(), image);
}

TEST_F(ImageButtonTest, FlatButtonShowsABorderOnlyWhileHovered) {
    button_.SetFlat(true);
    EXPECT_EQ(Render().pixelColor(0, 0), ImageButton::kFace);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button_.mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(&button_, &enter);
    EXPECT_TRUE(button_.IsHovering());
    EXPECT_EQ(Render().pixelColor(0, 0), ImageButton::kHighlight);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button_, &leave);
    EXPECT_FALSE(button_.IsHovering());
    EXPECT_EQ(Render().pixelColor(0, 0), ImageButton::kFace);

    // A button that is not flat never hovers.
    button_.SetFlat(false);
    QCoreApplication::sendEvent(&button_, &enter);
    EXPECT_FALSE(button_.IsHovering());
}

TEST_F(ImageButtonTest, ToggledToggleIsSunkenWithoutShift) {
    button_.SetToggle(true);
    button_.SetIcon(icons_, 152, 16, 16);
    button_.SetAlignment(ImageButton::kIconAbove);
    button_.setText(QStringLiteral("Span"));
    const QImage released = Render();
    button_.SetCheck(1);
    EXPECT_EQ(button_.GetCheck(), 1);
    const QImage pressed = Render();
    EXPECT_EQ(pressed.pixelColor(0, 0), ImageButton::kShadow);
    EXPECT_EQ(pressed.pixelColor(45, 31), ImageButton::kHighlight);
    EXPECT_EQ(Find(pressed, kIconColour), QRect(15, 3, 16, 16));
    EXPECT_EQ(Find(pressed, kIconColour), Find(released, kIconColour));
    EXPECT_EQ(Find(pressed, Qt::black), Find(released, Qt::black));
    button_.SetCheck(0);
    EXPECT_EQ(button_.GetCheck(), 0);
}

TEST_F(ImageButtonTest, PlainButtonShiftsIconAndCaptionWhileHeld) {
    button_.SetIcon(icons_, 135, 16, 16);
    button_.SetAlignment(ImageButton::kIconAbove);
    button_.setText(QStringLiteral("Hold"));
    const QImage up = Render();
    button_.setDown(true);
    const QImage down = Render();
    EXPECT_EQ(down.pixelColor(0, 0), ImageButton::kShadow);
    EXPECT_EQ(Find(up, kIconColour), QRect(15, 3, 16, 16));
    EXPECT_EQ(Find(down, kIconColour), QRect(16, 4, 16, 16));
    const std::optional<QRect> upText = Find(up, Qt::black);
    const std::optional<QRect> downText = Find(down, Qt::black);
    ASSERT_TRUE(upText && downText);
    EXPECT_EQ(*downText, upText->translated(1, 1));
    // The caption is centred in the part of the button below the icon's height.
    EXPECT_GE(upText->top(), 16);
}

TEST_F(ImageButtonTest, FocusedOrDefaultNonFlatButtonGetsABlackFrame) {
    button_.SetDefault(true);
    QImage image = Render();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(45, 31), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(1, 1), ImageButton::kHighlight);
    EXPECT_EQ(image.pixelColor(44, 30), ImageButton::kShadow);

    // A flat button never gets it.
    button_.SetFlat(true);
    EXPECT_EQ(Render().pixelColor(0, 0), ImageButton::kFace);
    button_.SetFlat(false);
    button_.SetDefault(false);

    QWidget window;
    button_.setParent(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    button_.setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(button_.hasFocus());
    image = Render();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(1, 1), ImageButton::kHighlight);
    button_.setParent(nullptr);
}

TEST_F(ImageButtonTest, DisabledCaptionIsEmbossed) {
    button_.setText(QStringLiteral("Exit"));
    const std::optional<QRect> enabledText = Find(Render(), Qt::black);
    ASSERT_TRUE(enabledText);
    button_.setEnabled(false);
    for (bool pressed : {false, true}) {
        button_.setDown(pressed);
        const QImage image = Render();
        const QRect inside(2, 2, 42, 28);
        EXPECT_FALSE(Find(image, Qt::black, inside)) << "pressed " << pressed;
        const std::optional<QRect> shadow = Find(image, ImageButton::kShadow, inside);
        const std::optional<QRect> highlight = Find(image, ImageButton::kHighlight, inside);
        ASSERT_TRUE(shadow && highlight);
        // The highlight copy lies one pixel right and down of the shadow copy.
        EXPECT_EQ(highlight->bottomRight(), shadow->bottomRight() + QPoint(1, 1));
        EXPECT_EQ(shadow->size(), enabledText->size());
    }
}

TEST_F(ImageButtonTest, SetAlignmentRejectsPlacesBeyondTwo) {
    EXPECT_EQ(button_.SetAlignment(2), 0);
    EXPECT_EQ(button_.SetAlignment(3), ImageButton::kInvalidArgument);
    EXPECT_EQ(button_.SetAlignment(3), 4);
    EXPECT_EQ(button_.SetAlignment(-1), 4);
    EXPECT_EQ(button_.GetAlignment(), 2);
}

TEST_F(ImageButtonTest, IconWithoutCaptionIsCentredForEveryAlignment) {
    button_.SetIcon(icons_, 140, 16, 16);
    for (int alignment = 0; alignment <= 2; ++alignment) {
        button_.SetAlignment(alignment);
        EXPECT_EQ(Find(Render(), kIconColour), QRect(15, 8, 16, 16)) << alignment;
    }
}

TEST_F(ImageButtonTest, IconBesideTheCaptionKeepsThreePixelsFromTheEdge) {
    button_.resize(80, 32);
    button_.SetIcon(icons_, 140, 16, 16);
    button_.setText(QStringLiteral("Exit"));
    button_.SetAlignment(ImageButton::kIconLeft);
    QImage image = Render();
    EXPECT_EQ(Find(image, kIconColour), QRect(3, 8, 16, 16));
    std::optional<QRect> text = Find(image, Qt::black);
    ASSERT_TRUE(text);
    EXPECT_GT(text->left(), 3 + 16);

    button_.SetAlignment(ImageButton::kIconRight);
    image = Render();
    EXPECT_EQ(Find(image, kIconColour), QRect(80 - 16 - 3, 8, 16, 16));
    text = Find(image, Qt::black);
    ASSERT_TRUE(text);
    EXPECT_LT(text->right(), 80 - 16 - 3);
}

TEST_F(ImageButtonTest, MissingIconLeavesACaptionOnlyButton) {
    button_.SetIcon(icons_, 0, 16, 16);
    button_.setText(QStringLiteral("Save"));
    EXPECT_FALSE(button_.HasIcon());
    const QImage image = Render();
    EXPECT_FALSE(Find(image, kIconColour));
    const std::optional<QRect> text = Find(image, Qt::black);
    ASSERT_TRUE(text);
    // Centred both ways, give or take the rounding of odd differences.
    EXPECT_NEAR(text->left() + text->right(), 45, 2);
}

TEST_F(ImageButtonTest, LongCaptionWrapsAtSpaces) {
    button_.setText(QStringLiteral("Save"));
    const std::optional<QRect> oneLine = Find(Render(), Qt::black);
    button_.setText(QStringLiteral("Save them all"));
    const std::optional<QRect> twoLines = Find(Render(), Qt::black);
    ASSERT_TRUE(oneLine && twoLines);
    EXPECT_GT(twoLines->height(), oneLine->height() + 5);
    EXPECT_LE(twoLines->width(), 44);
}

TEST_F(ImageButtonTest, ToggleFlipsBeforeTheClickIsReported) {
    button_.SetToggle(true);
    std::vector<int> seen;
    QObject::connect(&button_, &QAbstractButton::clicked,
                     [this, &seen] { seen.push_back(button_.GetCheck()); });
    Send(QEvent::MouseButtonPress);
    Send(QEvent::MouseButtonRelease);
    EXPECT_EQ(seen, (std::vector<int>{1}));
    Send(QEvent::MouseButtonPress);
    Send(QEvent::MouseButtonRelease);
    EXPECT_EQ(seen, (std::vector<int>{1, 0}));
}

TEST_F(ImageButtonTest, DoubleClickActsAsTwoPresses) {
    int clicks = 0;
    QObject::connect(&button_, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    Send(QEvent::MouseButtonPress);
    Send(QEvent::MouseButtonRelease);
    Send(QEvent::MouseButtonDblClick);
    EXPECT_TRUE(button_.isDown());
    Send(QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks, 2);
}

}  // namespace
