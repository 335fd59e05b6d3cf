// The screen of the running view with the English bundle: where each control and each
// button of the three bottom rows is, as the 240 × 268 screen requires, and that the
// screen shows each of them there. The live screen is saved for a person to look at.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <filesystem>
#include <map>

#include "document/imager_document.h"
#include "platform/qt/language_bundle.h"
#include "support/started_document.h"
#include "ui/imager_test_support.h"
#include "ui/imager_view.h"

namespace {

namespace fs = std::filesystem;
using namespace imager_test;
using View = ImagerView;
using Places = std::map<int, QRect>;

const QRgb kViewBackground = qRgb(192, 192, 192);

// Picture, colour scale, range bar and battery gauge, above every row.
const Places kControls{{101, {1, 1, 196, 196}},
                       {102, {199, 1, 40, 196}},
                       {103, {1, 199, 196, 35}},
                       {104, {199, 199, 40, 35}}};

Places With(Places places, const Places& row) {
    places.insert(row.begin(), row.end());
    return places;
}

class ViewLayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bundle_.IsLoaded()) << "build the English bundle first";
        view_.CreateScreen();
    }

    // Every child the view shows, by control id, at its place on the screen.
    Places Shown() const {
        Places places;
        for (QWidget* child : view_.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isHidden()) {
                places[child->objectName().toInt()] =
                    QRect(child->mapTo(&view_, QPoint(0, 0)), child->size());
            }
        }
        return places;
    }

    QImage Screen() {
        QImage image(view_.size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        view_.render(&image);
        return image;
    }

    static QImage Rendered(QWidget& widget) {
        QImage image(widget.size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        widget.render(&image);
        return image;
    }

    bool applicationReady_ = (Application(), true);
    TemporaryDeviceRoot root_;
    LanguageBundle bundle_{fs::path(QUORVEL_BINARY_DIR) / "bin" / "4286 English.dll"};
    ScriptedMessageBoxes messages_;
    RecordingNotifier notifier_;
    StartedDocument started_{&messages_, &notifier_};
    View view_{started_.Document(), {bundle_, bundle_, messages_, notifier_}};
};

TEST_F(ViewLayoutTest, LiveRowHoldSpanSettingsBrowseExit) {
    EXPECT_EQ(view_.size(), QSize(240, 268));
    EXPECT_EQ(Shown(), With(kControls, {{105, {1, 235, 46, 32}},
                                        {117, {49, 235, 46, 32}},
                                        {106, {97, 235, 46, 32}},
                                        {108, {145, 235, 46, 32}},
                                        {109, {193, 235, 46, 32}}}));
}

TEST_F(ViewLayoutTest, HeldRowSaveDiscardAndThePrompt) {
    view_.ShowHeldRow();
    EXPECT_EQ(Shown(),
              With(kControls,
                   {{114, {1, 235, 46, 32}}, {115, {49, 235, 46, 32}}, {116, {97, 235, 142, 32}}}));
}

TEST_F(ViewLayoutTest, BrowsingRowSixNarrowButtons) {
    view_.ShowBrowsingRow();
    EXPECT_EQ(Shown(), With(kControls, {{110, {1, 235, 38, 32}},
                                        {111, {41, 235, 38, 32}},
                                        {112, {81, 235, 38, 32}},
                                        {106, {121, 235, 38, 32}},
                                        {113, {161, 235, 38, 32}},
                                        {109, {201, 235, 38, 32}}}));
    view_.ShowLiveRow();  // back again: the wide places return
    EXPECT_EQ(Shown().at(106), QRect(97, 235, 46, 32));
    EXPECT_EQ(Shown().at(109), QRect(193, 235, 46, 32));
}

TEST_F(ViewLayoutTest, ScreenShowsEachControlAtItsPlace) {
    const QImage screen = Screen();
    const QString folder = QStringLiteral(QUORVEL_BINARY_DIR "/artefacts");
    QDir().mkpath(folder);
    EXPECT_TRUE(screen.save(folder + QStringLiteral("/live_screen.png")));

    // The gaps between the controls and the buttons show the view's background.
    for (const auto& [x, y] : {std::pair{0, 0}, {198, 100}, {100, 198}, {239, 0}, {48, 250}}) {
        EXPECT_EQ(screen.pixel(x, y), kViewBackground) << x << "," << y;
    }
    for (const auto& [id, place] : Shown()) {
        QWidget* child = view_.findChild<QWidget*>(QString::number(id));
        EXPECT_EQ(screen.copy(place), Rendered(*child)) << id;
    }
    // The controls' sunken borders; the hottest colour of the scale at its top.
    for (const auto& [id, place] : kControls) {
        EXPECT_EQ(screen.pixel(place.topLeft()), qRgb(128, 128, 128)) << id;
        EXPECT_EQ(screen.pixel(place.bottomRight()), qRgb(255, 255, 255)) << id;
    }
    EXPECT_EQ(screen.pixel(201, 3), qRgb(255, 255, 251));
}

}  // namespace
