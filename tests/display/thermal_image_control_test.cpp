#include "display/qt/thermal_image_control.h"

#include <gtest/gtest.h>
#include <QImage>
#include <algorithm>
#include <vector>

#include "display/colour_index_scale.h"
#include "display/frame_statistics.h"
#include "display/qt/gdi_painter.h"
#include "display/widget_test_support.h"
#include "palette/palette_set.h"

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kDarkRed = qRgb(128, 0, 0);

// A frame whose received value at index k is 2750 + k: every block differs.
ThermalFrame Ramp() {
    ThermalFrame frame;
    for (int k = 0; k < 256; ++k) {
        frame[k] = static_cast<std::uint16_t>(2750 + k);
    }
    return frame;
}

class ThermalImageControlTest : public ::testing::Test {
  protected:
    // Span 2750..3005, no marker selected.
    static DisplayState Start() {
        DisplayState state = StateWithSpan(2750, 3005);
        state.selection = DisplayState::kSpan;
        return state;
    }

    ThermalImageControlTest() {
        control_.resize(196, 196);
        control_.SetStringResources(&strings_);
        control_.Initialise(&palettes_, Start(), Ramp(), false);
    }

    QImage Paint() { return *control_.PaintOffscreen(); }
    QRgb Colour(int index, int palette) const {
        return GdiPainter::FromColourRef(palettes_.Colour(index, palette)).rgb();
    }
    // The colour of received frame value k in the control's span and palette.
    QRgb ColourOfValue(int value, int palette) const {
        return Colour(ColourIndexScale(control_.SpanLow(), control_.SpanHigh())
                          .Index(static_cast<std::int16_t>(value)),
                      palette);
    }

    MapStrings strings_ = MapStrings::Standard();
    PaletteSet palettes_;
    ThermalImageControl control_;
};

TEST_F(ThermalImageControlTest, PlainPictureSitsInsideTheSunkenBorder) {
    const QImage image = Paint();
    // Blocks away from the markers and texts, at their centres and corners.
    for (const auto& [a, b] : {std::pair{0, 0}, {1, 1}, {3, 4}, {5, 2}}) {
        const QRgb expected = ColourOfValue(2750 + 16 * (15 - a) + b, 0);
        EXPECT_EQ(image.pixel(2 + 12 * a + 6, 2 + 12 * b + 6), expected) << a << "," << b;
        EXPECT_EQ(image.pixel(2 + 12 * a + 11, 2 + 12 * b), expected) << a << "," << b;
    }
    EXPECT_EQ(image.pixel(2, 2), ColourOfValue(2750 + 240, 0));
    EXPECT_EQ(image.pixel(0, 0), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(1, 1), qRgb(64, 64, 64));
    EXPECT_EQ(image.pixel(194, 194), qRgb(192, 192, 192));
    EXPECT_EQ(image.pixel(195, 195), kWhite);
}

TEST_F(ThermalImageControlTest, ReticleIsAHollowRedCircleInTheCentreCell) {
    const QImage image = Paint();
    int red = 0;
    for (int y = 99; y <= 108; ++y) {
        for (int x = 87; x <= 96; ++x) {
            const bool inBox = x >= 88 && x < 96 && y >= 100 && y < 108;
            if (image.pixel(x, y) == kRed) {
                ++red;
                EXPECT_TRUE(inBox) << x << "," << y;
            }
        }
    }
    EXPECT_GE(red, 16);
    EXPECT_NE(image.pixel(91, 103), kRed);
}

TEST_F(ThermalImageControlTest, MarkerBoxesAreGreenOutsidePaletteTwo) {
    for (const std::int16_t palette : {0, 1}) {
        ChangeState(control_, [&](DisplayState& s) { s.paletteNumber = palette; });
        const QImage image = Paint();
        EXPECT_EQ(image.pixel(87, 103), kGreen);  // marker 1, cell (7, 8), left edge
        EXPECT_EQ(image.pixel(108, 99), kGreen);  // marker 2, cell (8, 8), top right
        EXPECT_NE(image.pixel(92, 104), kGreen);  // inside the box
    }
}

TEST_F(ThermalImageControlTest, MarkerBoxesOverPaletteTwoContrastWithTheColourBeneath) {
    ThermalFrame frame = ThermalFrame::Filled(2750);  // index 0: black
    frame[16 * (15 - 8) + 8] = 3005;                  // under marker 2: the hot end
    control_.SetFrame(frame);
    // A stored palette number outside 0..2 draws with palette 2, the boxes included.
    for (const std::int16_t palette : {2, 9, -4}) {
        ChangeState(control_, [&](DisplayState& s) { s.paletteNumber = palette; });
        const QImage image = Paint();
        EXPECT_EQ(image.pixel(87, 103), kWhite) << palette;
        EXPECT_EQ(image.pixel(99, 103), kBlack) << palette;
    }
}

TEST_F(ThermalImageControlTest, CursorFrameOnlyWhenVisibleAndInAMarkerMode) {
    auto cursorAt = [this](int x, int y) {
        const QImage image = Paint();
        return image.pixel(x, y) == kRed && image.pixel(x + 11, y + 11) == kDarkRed;
    };
    EXPECT_FALSE(cursorAt(86, 98));  // mode 2: the range bar holds the selection
    ChangeState(control_, [](DisplayState& s) { s.selection = DisplayState::kSpot1; });
    EXPECT_TRUE(cursorAt(86, 98));
    control_.ToggleCursor();
    EXPECT_FALSE(cursorAt(86, 98));
    control_.ToggleCursor();
    ChangeState(control_, [](DisplayState& s) { s.selection = DisplayState::kSpot2; });
    EXPECT_TRUE(cursorAt(98, 98));
    ChangeState(control_, [](DisplayState& s) { s.secondSpotShown = false; });
    EXPECT_FALSE(cursorAt(98, 98));
}

TEST_F(ThermalImageControlTest, EdgeMaskCoversTheOuterRing) {
    control_.SetEdgeMask(true);
    QImage image = Paint();
    // Plain: the outermost ring of cells.
    EXPECT_EQ(image.pixel(2, 2), kBlack);
    EXPECT_EQ(image.pixel(13, 100), kBlack);
    EXPECT_EQ(image.pixel(193, 193), kBlack);
    EXPECT_EQ(image.pixel(182, 60), kBlack);
    EXPECT_NE(image.pixel(14, 20), kBlack);
    EXPECT_NE(image.pixel(181, 20), kBlack);
    // Smooth: bands of 18 pixels.
    control_.SetInterpolated(true);
    image = Paint();
    EXPECT_EQ(image.pixel(19, 100), kBlack);
    EXPECT_EQ(image.pixel(100, 19), kBlack);
    EXPECT_EQ(image.pixel(176, 100), kBlack);
    EXPECT_EQ(image.pixel(100, 176), kBlack);
    EXPECT_NE(image.pixel(20, 30), kBlack);
    EXPECT_NE(image.pixel(30, 20), kBlack);
    // A marker in the masked ring is still drawn over the black.
    ChangeState(control_, [](DisplayState& s) { s.spots[0] = 0; });
    image = Paint();
    EXPECT_EQ(image.pixel(3, 7), kGreen);
}

TEST_F(ThermalImageControlTest, EdgeMaskSetterDoesNotRepaint) {
    control_.show();
    ProcessPendingEvents();
    PaintCounter paints(control_);
    control_.SetEdgeMask(true);
    ProcessPendingEvents();
    EXPECT_EQ(paints.Count(), 0);
    EXPECT_TRUE(control_.EdgeMask());
    control_.SetFrame(Ramp());
    ProcessPendingEvents();
    EXPECT_GE(paints.Count(), 1);
    control_.hide();
}

TEST_F(ThermalImageControlTest, SmoothPictureShowsEachFrameValueAtItsGridPosition) {
    control_.SetInterpolated(true);
    const QImage image = Paint();
    // Frame pixel (a, b) lands exactly at picture offset (12a + 6, 12b + 4).
    for (const auto& [a, b] : {std::pair{1, 1}, {2, 5}, {4, 3}}) {
        EXPECT_EQ(image.pixel(2 + 12 * a + 6, 2 + 12 * b + 4),
                  ColourOfValue(2750 + 16 * (15 - a) + b, 0))
            << a << "," << b;
    }
}

// Whether any pixel of the rectangle has the colour.
bool AnyPixel(const QImage& image, const QRect& rect, QRgb colour) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (image.pixel(x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

TEST_F(ThermalImageControlTest, ReadoutsAppearWhereTheLayoutPutsThem) {
    control_.SetFrame(ThermalFrame::Filled(2750));  // a black picture
    QImage image = Paint();
    // Marker 1 text left of it in row 8, marker 2 text right of it.
    EXPECT_TRUE(AnyPixel(image, QRect(30, 97, 55, 13), kWhite));
    EXPECT_TRUE(AnyPixel(image, QRect(113, 97, 60, 13), kWhite));
    // The difference at the bottom right; nothing at the top yet.
    EXPECT_TRUE(AnyPixel(image, QRect(120, 176, 72, 17), kWhite));
    EXPECT_FALSE(AnyPixel(image, QRect(5, 3, 180, 40), kWhite));
    // Status lines at the top once a snapshot is shown.
    control_.SetStatus(2, 5, "note", "title");
    image = Paint();
    EXPECT_TRUE(AnyPixel(image, QRect(4, 2, 100, 12), kWhite));
    EXPECT_TRUE(AnyPixel(image, QRect(4, 16, 30, 12), kWhite));
    EXPECT_TRUE(AnyPixel(image, QRect(4, 30, 30, 12), kWhite));
    // Without a second marker there is no difference readout.
    ChangeState(control_, [](DisplayState& s) { s.secondSpotShown = false; });
    image = Paint();
    EXPECT_FALSE(AnyPixel(image, QRect(120, 176, 72, 17), kWhite));
}

// The no-head line takes the first status line, in live view only.
TEST_F(ThermalImageControlTest, NoHeadLineShowsOnlyWhileNoSnapshotIsShown) {
    control_.SetFrame(ThermalFrame::Filled(2750));  // a black picture
    const QImage live = Paint();
    control_.SetHeadAbsent(true);
    QImage image = Paint();
    EXPECT_TRUE(AnyPixel(image, QRect(4, 2, 100, 12), kWhite));
    EXPECT_FALSE(AnyPixel(image, QRect(4, 16, 100, 30), kWhite));
    control_.SetStatus(2, 5, "", "");
    const QImage browsing = Paint();
    control_.SetHeadAbsent(false);
    EXPECT_EQ(Paint(), browsing);
    control_.SetStatus(-1, 0, "", "");
    EXPECT_EQ(Paint(), live);
}

TEST_F(ThermalImageControlTest, SetFrameStoresItReversedForThePicture) {
    ThermalFrame frame = ThermalFrame::Filled(2750);
    frame[0] = 3005;  // received index 0: screen block column 15, row 0
    control_.Initialise(&palettes_, Start(), frame, false);
    const QRgb hot = ColourOfValue(3005, 0);
    QImage image = Paint();
    EXPECT_EQ(image.pixel(2 + 12 * 15 + 6, 2 + 6), hot);
    control_.SetFrame(frame);
    image = Paint();
    EXPECT_EQ(image.pixel(2 + 12 * 15 + 6, 2 + 6), hot);
    EXPECT_EQ(control_.Frame(), frame);
}

TEST_F(ThermalImageControlTest, PaintEventShowsTheOffscreenImage) {
    const QImage rendered = Rendered(control_);
    EXPECT_EQ(rendered, Paint().convertToFormat(rendered.format()));
}

// Every change is painted at once, so that a drawing kept from an earlier state would
// show in the end.
TEST_F(ThermalImageControlTest, ChangesPaintedOneByOneEndInTheFreshControlsPixels) {
    ThermalFrame frame = Ramp();
    frame[17] = 2990;
    DisplayState state = Start();
    auto set = [&](auto edit) {
        edit(state);
        control_.SetState(state);
        Paint();
    };
    Paint();
    control_.SetFrame(frame);
    Paint();
    set([](DisplayState& s) { s.spanLow = 2800; });
    control_.SetInterpolated(true);
    Paint();
    set([](DisplayState& s) { s.paletteNumber = 2; });
    set([](DisplayState& s) { s.unit = temperature_unit::kKelvin; });
    set([](DisplayState& s) { s.spots = {20, 200}; });
    set([](DisplayState& s) { s.selection = DisplayState::kSpot2; });
    control_.ToggleCursor();
    Paint();
    control_.SetEdgeMask(true);
    Paint();
    control_.SetStatus(1, 4, "note", "title");
    Paint();
    frame[40] = 2760;
    control_.SetFrame(frame);

    ThermalImageControl fresh;
    fresh.resize(196, 196);
    fresh.SetStringResources(&strings_);
    fresh.Initialise(&palettes_, state, frame, true);
    fresh.ToggleCursor();
    fresh.SetEdgeMask(true);
    fresh.SetStatus(1, 4, "note", "title");
    EXPECT_TRUE(Paint() == *fresh.PaintOffscreen());
}

}  // namespace

namespace {

// The rows of the differing pixels of `a` and `b` inside `cell`, top to bottom, as widths;
// and whether any pixel outside the cells in `cells` differs.
std::vector<int> DifferingRowWidths(const QImage& a, const QImage& b, QRect cell) {
    std::vector<int> widths;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        int width = 0;
        for (int x = cell.left(); x <= cell.right(); ++x) {
            width += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
        if (width > 0) {
            widths.push_back(width);
        }
    }
    return widths;
}

bool DiffersOutside(const QImage& a, const QImage& b, const std::vector<QRect>& cells) {
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const bool inside = std::any_of(cells.begin(), cells.end(),
                                            [x, y](const QRect& c) { return c.contains(x, y); });
            if (!inside && a.pixel(x, y) != b.pixel(x, y)) {
                return true;
            }
        }
    }
    return false;
}

QRect CellRect(MarkerCell cell) {
    return QRect(2 + 12 * cell.column, 2 + 12 * cell.row, 12, 12);
}

}  // namespace

// The hottest cell gets a triangle pointing up, the coldest one pointing down, on the
// cells the frame statistics name; nothing else of the picture changes, and nothing at
// all while marking is off or the picture is uniform.
TEST_F(ThermalImageControlTest, HottestAndColdestMarkersSitOnTheCellsTheStatisticsName) {
    ThermalFrame frame = ThermalFrame::Filled(2900);
    frame[2 * 16 + 3] = 2980;
    frame[10 * 16 + 12] = 2800;
    control_.SetFrame(frame);
    EXPECT_FALSE(control_.ExtremesMarked());
    const QImage unmarked = Paint();
    control_.SetExtremesMarked(true);
    const QImage marked = Paint();

    const FrameStatistics statistics = FrameStatistics::Of(frame, {});
    const QRect hottest = CellRect(MarkerCell::FromFrameCell(statistics.Hottest()));
    const QRect coldest = CellRect(MarkerCell::FromFrameCell(statistics.Coldest()));
    EXPECT_EQ(hottest, CellRect({13, 3}));
    EXPECT_EQ(coldest, CellRect({5, 12}));
    EXPECT_EQ(DifferingRowWidths(unmarked, marked, hottest), (std::vector<int>{2, 4, 6, 8, 10}));
    EXPECT_EQ(DifferingRowWidths(unmarked, marked, coldest), (std::vector<int>{10, 8, 6, 4, 2}));
    EXPECT_FALSE(DiffersOutside(unmarked, marked, {hottest, coldest}));

    control_.SetExtremesMarked(false);
    EXPECT_EQ(Paint(), unmarked);
    control_.SetExtremesMarked(true);
    control_.SetFrame(ThermalFrame::Filled(2900));
    const QImage uniformMarked = Paint();
    control_.SetExtremesMarked(false);
    EXPECT_EQ(Paint(), uniformMarked);
}
