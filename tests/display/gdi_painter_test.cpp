#include "display/qt/gdi_painter.h"

#include <gtest/gtest.h>
#include <QFontInfo>
#include <QImage>

#include <vector>

#include "display/qt/default_font.h"
#include "display/qt/text_layout_cache.h"

namespace {

const QRgb kBackground = qRgb(10, 20, 30);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

class GdiPainterTest : public ::testing::Test {
  protected:
    GdiPainterTest() : image_(40, 40, QImage::Format_RGB32) { image_.fill(kBackground); }

    QRgb At(int x, int y) const { return image_.pixel(x, y); }
    std::vector<QPoint> PixelsOf(QRgb colour) const {
        std::vector<QPoint> found;
        for (int y = 0; y < image_.height(); ++y) {
            for (int x = 0; x < image_.width(); ++x) {
                if (image_.pixel(x, y) == colour) {
                    found.emplace_back(x, y);
                }
            }
        }
        return found;
    }

    QImage image_;
};

TEST_F(GdiPainterTest, LinesLeaveOutTheirEndPoint) {
    {
        GdiPainter dc(&image_);
        dc.SetPen(kRed);
        dc.MoveTo(5, 5);
        dc.LineTo(10, 5);  // right
        dc.LineTo(10, 9);  // down
        dc.LineTo(6, 9);   // left
        dc.LineTo(6, 7);   // up
    }
    const std::vector<QPoint> expected = {{5, 5},  {6, 5},  {7, 5},  {8, 5},  {9, 5},
                                          {10, 5}, {10, 6}, {10, 7}, {10, 8}, {7, 9},
                                          {8, 9},  {9, 9},  {10, 9}, {6, 8},  {6, 9}};
    const auto red = PixelsOf(kRed.rgb());
    EXPECT_EQ(red.size(), expected.size());
    for (const QPoint& p : expected) {
        EXPECT_EQ(At(p.x(), p.y()), kRed.rgb()) << p.x() << "," << p.y();
    }
    EXPECT_EQ(At(6, 7), kBackground);
}

TEST_F(GdiPainterTest, DiagonalLineStopsBeforeItsEnd) {
    {
        GdiPainter dc(&image_);
        dc.SetPen(kRed);
        dc.MoveTo(2, 2);
        dc.LineTo(8, 8);
        dc.LineTo(8, 2);
    }
    for (int k = 2; k < 8; ++k) {
        EXPECT_EQ(At(k, k), kRed.rgb());
    }
    EXPECT_EQ(At(8, 8), kRed.rgb());  // drawn by the second line, which starts there
    EXPECT_EQ(At(8, 2), kBackground);
    EXPECT_EQ(PixelsOf(kRed.rgb()).size(), 6u + 6u);
}

TEST_F(GdiPainterTest, ThreeDimensionalFrameCorners) {
    {
        GdiPainter dc(&image_);
        dc.Draw3dRect(QRect(4, 6, 10, 8), kRed, kBlue);
    }
    // Top and left in the first colour, up to one pixel before the far corners.
    EXPECT_EQ(At(4, 6), kRed.rgb());
    EXPECT_EQ(At(12, 6), kRed.rgb());
    EXPECT_EQ(At(4, 12), kRed.rgb());
    // Right and bottom, including the top-right and bottom-left corners, in the second.
    EXPECT_EQ(At(13, 6), kBlue.rgb());
    EXPECT_EQ(At(13, 13), kBlue.rgb());
    EXPECT_EQ(At(4, 13), kBlue.rgb());
    EXPECT_EQ(At(5, 7), kBackground);
    EXPECT_EQ(At(14, 6), kBackground);
    EXPECT_EQ(At(4, 14), kBackground);
    EXPECT_EQ(PixelsOf(kRed.rgb()).size(), 9u + 7u - 1u);
    EXPECT_EQ(PixelsOf(kBlue.rgb()).size(), 8u + 10u - 1u);
}

TEST_F(GdiPainterTest, RectanglesFillAndFrameTheirOwnPixelsOnly) {
    {
        GdiPainter dc(&image_);
        dc.FillRect(QRect(2, 3, 4, 5), kRed);
        dc.FrameRect(QRect(20, 20, 5, 4), kBlue);
        dc.FillRect(QRect(30, 30, 0, 5), kBlue);
        dc.FillRect(QRect(30, 30, -3, 5), kBlue);
        dc.Draw3dRect(QRect(30, 30, 5, -2), kBlue, kBlue);
    }
    EXPECT_EQ(PixelsOf(kRed.rgb()).size(), 20u);
    EXPECT_EQ(At(2, 3), kRed.rgb());
    EXPECT_EQ(At(5, 7), kRed.rgb());
    EXPECT_EQ(PixelsOf(kBlue.rgb()).size(), 14u);
    EXPECT_EQ(At(24, 23), kBlue.rgb());
    EXPECT_EQ(At(22, 21), kBackground);
}

TEST(GdiPainterBorder, SunkenBorderRings) {
    QImage image(196, 196, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        GdiPainter dc(&image);
        dc.DrawSunkenBorder(QRect(0, 0, 196, 196));
    }
    const QRgb grey = qRgb(128, 128, 128), white = qRgb(255, 255, 255);
    const QRgb dark = qRgb(64, 64, 64), light = qRgb(192, 192, 192);
    // Outer ring: grey top and left, white bottom and right.
    EXPECT_EQ(image.pixel(0, 0), grey);
    EXPECT_EQ(image.pixel(194, 0), grey);
    EXPECT_EQ(image.pixel(0, 194), grey);
    EXPECT_EQ(image.pixel(195, 0), white);
    EXPECT_EQ(image.pixel(195, 195), white);
    EXPECT_EQ(image.pixel(0, 195), white);
    // Inner ring: dark grey top and left, light grey bottom and right.
    EXPECT_EQ(image.pixel(1, 1), dark);
    EXPECT_EQ(image.pixel(193, 1), dark);
    EXPECT_EQ(image.pixel(1, 193), dark);
    EXPECT_EQ(image.pixel(1, 194), light);
    EXPECT_EQ(image.pixel(194, 1), light);
    EXPECT_EQ(image.pixel(194, 194), light);
    EXPECT_EQ(image.pixel(2, 194), light);
    // The inside is left alone.
    EXPECT_EQ(image.pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(193, 193), qRgb(0, 0, 0));
}

TEST_F(GdiPainterTest, EllipseOutlineStaysInsideItsBox) {
    {
        GdiPainter dc(&image_);
        dc.SetPen(kRed);
        dc.Ellipse(8, 10, 16, 18);
    }
    const auto red = PixelsOf(kRed.rgb());
    ASSERT_FALSE(red.empty());
    int left = 99, top = 99, right = -1, bottom = -1;
    for (const QPoint& p : red) {
        left = std::min(left, p.x());
        top = std::min(top, p.y());
        right = std::max(right, p.x());
        bottom = std::max(bottom, p.y());
    }
    EXPECT_EQ(left, 8);
    EXPECT_EQ(top, 10);
    EXPECT_EQ(right, 15);
    EXPECT_EQ(bottom, 17);
    EXPECT_EQ(At(11, 13), kBackground);  // hollow
}

TEST_F(GdiPainterTest, TextAlignsInsideItsRectangle) {
    GdiPainter dc(&image_);
    const QString text = QStringLiteral("12.3");
    const ScreenRect rect{5, 6, 35, 30};
    const QRect left = dc.TextExtent({rect, HorizontalAlign::kLeft, VerticalAlign::kTop}, text);
    EXPECT_EQ(left.x(), 5);
    EXPECT_EQ(left.y(), 6);
    const QRect right =
        dc.TextExtent({rect, HorizontalAlign::kRight, VerticalAlign::kBottom}, text);
    EXPECT_EQ(right.x() + right.width(), 35);
    EXPECT_EQ(right.y() + right.height(), 30);
    const QRect centre =
        dc.TextExtent({rect, HorizontalAlign::kCentre, VerticalAlign::kCentre}, text);
    EXPECT_LE(std::abs((centre.x() - 5) - (35 - centre.x() - centre.width())), 1);
    EXPECT_LE(std::abs((centre.y() - 6) - (30 - centre.y() - centre.height())), 1);
    // A rectangle narrower than its text does not clip it: the text runs out to the left.
    const QRect narrow = dc.TextExtent(
        {ScreenRect{10, 0, 12, 10}, HorizontalAlign::kRight, VerticalAlign::kTop}, text);
    EXPECT_LT(narrow.x(), 10);
}

TEST_F(GdiPainterTest, ShadowedTextIsBlackUnderWhite) {
    image_ = QImage(60, 30, QImage::Format_RGB32);
    image_.fill(qRgb(0, 0, 255));
    {
        GdiPainter dc(&image_);
        dc.DrawShadowedText(
            {ScreenRect{10, 8, 60, 30}, HorizontalAlign::kLeft, VerticalAlign::kTop},
            QStringLiteral("88"));
    }
    const auto white = PixelsOf(qRgb(255, 255, 255));
    const auto black = PixelsOf(qRgb(0, 0, 0));
    ASSERT_FALSE(white.empty());
    ASSERT_FALSE(black.empty());
    // The white text is the black text moved one pixel up and left, so the bottom-right
    // of every stroke shows black and nothing white reaches beyond it.
    int whiteRight = 0, blackRight = 0, whiteTop = 99, blackTop = 99;
    for (const QPoint& p : white) {
        whiteRight = std::max(whiteRight, p.x());
        whiteTop = std::min(whiteTop, p.y());
    }
    for (const QPoint& p : black) {
        blackRight = std::max(blackRight, p.x());
        blackTop = std::min(blackTop, p.y());
    }
    EXPECT_EQ(blackRight, whiteRight + 1);
    EXPECT_EQ(blackTop, whiteTop + 1);
    EXPECT_GE(whiteTop, 7);
}

TEST_F(GdiPainterTest, BottomUpBgrPictureIsShownUpright) {
    // 2 × 2 picture: memory row 0 (bottom on screen) blue then green; row 1 red, white.
    const std::uint8_t pixels[] = {255, 0, 0,   0,   255, 0,   0, 0,  // row 0 and 2 fill bytes
                                   0,   0, 255, 255, 255, 255, 0, 0};
    {
        GdiPainter dc(&image_);
        dc.BlitBottomUpBgr(3, 4, 2, 2, pixels, 8);
    }
    EXPECT_EQ(At(3, 4), qRgb(255, 0, 0));
    EXPECT_EQ(At(4, 4), qRgb(255, 255, 255));
    EXPECT_EQ(At(3, 5), qRgb(0, 0, 255));
    EXPECT_EQ(At(4, 5), qRgb(0, 255, 0));
    EXPECT_EQ(At(2, 4), kBackground);
    EXPECT_EQ(At(3, 6), kBackground);
}

TEST_F(GdiPainterTest, BitBltCopiesAnImage) {
    QImage source(3, 2, QImage::Format_RGB32);
    source.fill(qRgb(1, 2, 3));
    {
        GdiPainter dc(&image_);
        dc.BitBlt(7, 8, source);
    }
    EXPECT_EQ(PixelsOf(qRgb(1, 2, 3)).size(), 6u);
    EXPECT_EQ(At(9, 9), qRgb(1, 2, 3));
}

// Readouts of every shape, in every alignment, drawn with and without kept layouts: the
// kept layouts must not move a single pixel, also when drawn a second time.
TEST(GdiPainterText, KeptLayoutsDrawThePixelsOfFreshOnes) {
    const QString texts[] = {QStringLiteral("S1 23.4\u00B0C"),   QStringLiteral("-17.0\u00B0F"),
                             QStringLiteral("296.5K"),           QStringLiteral("2 / 5"),
                             QStringLiteral("Wj|gq 0.1 -    t"), QStringLiteral("57%")};
    auto draw = [&](TextLayoutCache* cache) {
        QImage image(200, 190, QImage::Format_RGB32);
        image.fill(kBackground);
        GdiPainter dc(&image);
        dc.SetTextCache(cache);
        int y = 0;
        for (const QString& text : texts) {
            for (const auto horizontal :
                 {HorizontalAlign::kLeft, HorizontalAlign::kCentre, HorizontalAlign::kRight}) {
                dc.DrawShadowedText(
                    {ScreenRect{3, y, 197, y + 9}, horizontal, VerticalAlign::kCentre}, text);
                y += 10;
            }
        }
        return image;
    };
    TextLayoutCache cache;
    const QImage fresh = draw(nullptr);
    EXPECT_TRUE(draw(&cache) == fresh);
    EXPECT_TRUE(draw(&cache) == fresh);
    int textPixels = 0;
    for (int y = 0; y < fresh.height(); ++y) {
        for (int x = 0; x < fresh.width(); ++x) {
            textPixels += fresh.pixel(x, y) != kBackground ? 1 : 0;
        }
    }
    EXPECT_GT(textPixels, 1000);
}

TEST(DefaultControlFont, IsSmallDejaVuSans) {
    const QFont font = DefaultControlFont();
    EXPECT_EQ(font.pixelSize(), 11);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("DejaVu Sans"));
}

TEST(ColourConversion, RedIsTheLowByte) {
    EXPECT_EQ(GdiPainter::FromColourRef(0x00FBFFFF), QColor(255, 255, 251));
    EXPECT_EQ(GdiPainter::FromColourRef(MakeColourRef(1, 2, 3)), QColor(1, 2, 3));
}

}  // namespace
