// The details panel in the real main window: what it adds beside the screen and what it
// leaves alone, what it reads from the picture shown, and its trend of the frames taken.

#include "commands_fixture.h"

#include <QDateTime>
#include <QImage>
#include <QSettings>

#include "acquisition/taken_frame_queue.h"
#include "display/integer_format.h"
#include "document/update_flags.h"
#include "support/head_simulator.h"
#include "support/wait_until.h"
#include "ui/details_memory.h"
#include "ui/details_panel.h"
#include "ui/imager_session.h"
#include "ui/panel_layout.h"
#include "ui/zoom_memory.h"

namespace {

using namespace commands_test;
using namespace std::chrono_literals;
using Clock = DetailsPanel::Clock;
using test_support::WaitUntil;

class DetailsPanelTest : public CommandsTest {
  protected:
    DetailsPanelTest() {
        for (const auto& [id, text] : std::map<int, std::string>{{154, "Snapshot %d of %d"},
                                                                 {151, "C"},
                                                                 {153, "K"},
                                                                 {182, "Live picture"},
                                                                 {183, "Held picture"},
                                                                 {187, "column %d, row %d"},
                                                                 {188, "%d min"}}) {
            strings_.Set(id, text);
        }
    }

    DetailsController& Details() { return frame_.Details(); }
    DetailsPanel& Panel() { return *Details().Panel(); }
    QImage Grab() {
        for (int k = 0; k < 3; ++k) {
            DeliverPostedEvents();
        }
        return frame_.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // Makes `frame` the display frame, as a live frame would, and tells the view.
    void ShowFrame(const ThermalFrame& frame) {
        {
            auto& shared = document_.SharedPicture();
            std::lock_guard lock(shared.mutex);
            shared.displayFrame = frame;
        }
        view_->ShowChanges(update_flag::kFrame);
    }
    // A value as the panel writes it, and with its cell.
    static std::string Formatted(double value, const std::string& unitText) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", value);
        return text + unitText;
    }
    static QString Reading(float value, FrameCell cell, const std::string& unitText) {
        const MarkerCell shown = MarkerCell::FromFrameCell(cell);
        return QString::fromStdString(
            Formatted(value, unitText) + "  " +
            FormatIntegers("column %d, row %d", {shown.column + 1, shown.row + 1}));
    }
};

ThermalFrame SceneWithExtremes(std::uint16_t hot, std::uint16_t cold) {
    ThermalFrame frame = ThermalFrame::Filled(2950);
    frame[2 * 16 + 3] = hot;
    frame[10 * 16 + 12] = cold;
    return frame;
}

TEST_F(DetailsPanelTest, ClosedItIsNotThereAndOpenItLeavesTheScreenAsItIs) {
    ShowFrame(SceneWithExtremes(2990, 2900));
    const QImage screen = Grab();
    ASSERT_EQ(screen.size(), QSize(240, 268));
    EXPECT_FALSE(Details().PanelOpen());

    PressKey(*view_, Qt::Key_F2);
    ASSERT_TRUE(Details().PanelOpen());
    const QImage opened = Grab();
    EXPECT_EQ(opened.height(), 268);
    EXPECT_GT(opened.width(), 240 + 300);
    EXPECT_EQ(opened.copy(0, 0, 240, 268), screen);

    // Zoomed, the panel is as tall as the enlarged screen, which stays pixel-exact.
    frame_.Zoom().SetFactor(2);
    const QImage zoomed = Grab();
    ASSERT_EQ(zoomed.height(), 536);
    EXPECT_EQ(Panel().height(), 536);
    int differing = 0;
    for (int y = 0; y < 536; ++y) {
        for (int x = 0; x < 480; ++x) {
            differing += zoomed.pixel(x, y) != screen.pixel(x / 2, y / 2) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    frame_.Zoom().SetFactor(1);

    // The markers change the picture only on the two cells.
    Details().SetExtremesMarked(true);
    EXPECT_TRUE(view_->ThermalImage().ExtremesMarked());
    const QImage marked = Grab().copy(0, 0, 240, 268);
    const QRect hottest(1 + 2 + 12 * 13, 1 + 2 + 12 * 3, 12, 12);
    const QRect coldest(1 + 2 + 12 * 5, 1 + 2 + 12 * 12, 12, 12);
    for (int y = 0; y < 268; ++y) {
        for (int x = 0; x < 240; ++x) {
            if (!hottest.contains(x, y) && !coldest.contains(x, y)) {
                ASSERT_EQ(marked.pixel(x, y), screen.pixel(x, y)) << x << "," << y;
            }
        }
    }
    EXPECT_NE(marked.copy(hottest), screen.copy(hottest));
    EXPECT_NE(marked.copy(coldest), screen.copy(coldest));
    Details().SetExtremesMarked(false);

    PressKey(*view_, Qt::Key_F2);
    EXPECT_FALSE(Details().PanelOpen());
    EXPECT_EQ(Grab(), screen);
    EXPECT_EQ(frame_.size(), QSize(240, 268));
}

TEST_F(DetailsPanelTest, OpenClosedMarksAndWindowAreRememberedWithTheZoom) {
    Details().RestoreRemembered();
    EXPECT_FALSE(Details().PanelOpen());
    EXPECT_FALSE(Details().ExtremesMarked());
    Details().PanelAction().trigger();
    Details().MarkAction().trigger();
    Panel().Chart().SetWindowMinutes(15);
    emit Panel().Chart().WindowChosen(15);

    const DetailsMemory::Remembered remembered = DetailsMemory::Load();
    EXPECT_EQ(remembered.panelOpen, true);
    EXPECT_EQ(remembered.extremesMarked, true);
    EXPECT_EQ(remembered.trendMinutes, 15);
    EXPECT_EQ(QSettings(ZoomMemory::File(), QSettings::IniFormat).value("details/open").toBool(),
              true);

    MainWindow next;
    auto* nextView = new View(document_, {strings_, icons_, messages_, notifier_});
    nextView->CreateScreen();
    next.SetView(nextView);
    next.Details().RestoreRemembered();
    EXPECT_TRUE(next.Details().PanelOpen());
    EXPECT_TRUE(nextView->ThermalImage().ExtremesMarked());
    EXPECT_EQ(next.Details().Panel()->Chart().WindowMinutes(), 15);
}

// Live, held or a stored snapshot: the readout follows the picture shown, in its unit;
// the trend stays with the frames taken, in the live unit.
TEST_F(DetailsPanelTest, ReadsThePictureShownWhileTheTrendStaysLive) {
    Details().SetPanelOpen(true);
    const ThermalFrame stored = SceneWithExtremes(3100, 2800);
    ShowFrame(stored);
    EXPECT_EQ(Panel().Picture().Heading(), "Live picture");
    const FrameStatistics celsius = FrameStatistics::Of(stored, {0, 200, 1.0f});
    EXPECT_EQ(Panel().Picture().Hottest(), Reading(celsius.Highest(), celsius.Hottest(), "C"));
    EXPECT_EQ(Panel().Picture().Coldest(), Reading(celsius.Lowest(), celsius.Coldest(), "C"));
    EXPECT_EQ(Panel().Picture().Mean().toStdString(), Formatted(celsius.Mean(), "C"));

    // A snapshot in kelvin, then live pictures in Celsius again and another scene.
    document_.SetTemperatureUnit(temperature_unit::kKelvin);
    StoreSnapshots(1);
    document_.SetTemperatureUnit(temperature_unit::kCelsius);
    DeliverPostedEvents();
    ShowFrame(SceneWithExtremes(3300, 2700));

    Click(View::kBrowse);
    DeliverPostedEvents();

    // 200 seconds of frames taken meanwhile, ten a second, fetched once a second.
    TakenFrameQueue taken;
    Panel().SetSources(nullptr, &taken);
    // On a whole ten seconds, where the stretches of every window start.
    const Clock::time_point now(
        std::chrono::floor<std::chrono::seconds>(Clock::now().time_since_epoch() / 10 * 10));
    constexpr qint64 kWallNow = 1'000'000'000'000;
    for (auto second = 200s; second > 0s; --second) {
        for (auto within = 0ms; within < 1s; within += 100ms) {
            taken.Push({now - second + within, SceneWithExtremes(3000, 2900), 11});
        }
        Panel().Refresh(now - second + 1s, kWallNow);
    }
    Panel().Refresh(now, kWallNow);

    EXPECT_EQ(Panel().Picture().Heading(), "Snapshot 1 of 1");
    const FrameStatistics kelvin = FrameStatistics::Of(stored, {1, 200, 1.0f});
    EXPECT_EQ(Panel().Picture().Hottest(), Reading(kelvin.Highest(), kelvin.Hottest(), "K"));

    // 200 seconds of frames, one point each; five minutes chosen at first, drawn in
    // two-second stretches.
    EXPECT_EQ(Panel().Trend().Size(), 200u);
    const QLineSeries& hottest = Panel().Chart().Series(TrendChart::kHottest);
    ASSERT_EQ(hottest.count(), 100);
    EXPECT_NEAR(hottest.at(0).y(), 27.0, 1e-4);  // 3000 in Celsius, not in kelvin
    EXPECT_EQ(hottest.at(99).x(), static_cast<qreal>(kWallNow - 2000));
    EXPECT_EQ(Panel().Chart().TemperatureAxis().titleText(), "C");
    Panel().Chart().SetWindowMinutes(1);
    Panel().Refresh(now, kWallNow);
    ASSERT_EQ(hottest.count(), 60);
    EXPECT_EQ(hottest.at(59).x(), static_cast<qreal>(kWallNow - 1000));
    EXPECT_EQ(Panel().Chart().Series(TrendChart::kColdest).at(0).y(),
              static_cast<qreal>(TemperatureFormatter::ComputeTemperature(2900, 0, 200, 1.0f)));

    Click(View::kLive);
    Click(View::kHold);
    Panel().Refresh(now, kWallNow);
    EXPECT_EQ(Panel().Picture().Heading(), "Held picture");
}

}  // namespace

namespace {

// The panel of the running program on the simulated head: the real port, link, threads.
class DetailsPanelOnHeadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(head_.Started());
        ASSERT_TRUE(WaitUntil([] { return fs::exists(device_root::ComPort(1)); }));
        session_ = std::make_unique<ImagerSession>(&messages_, &notifier_);
        ASSERT_TRUE(session_->OpenPort());
        session_->Start();
        receiver_.Attach(session_->Document());
        frame_ = std::make_unique<MainWindow>();
        view_ = new View(session_->Document(), {strings_, icons_, messages_, notifier_});
        ShowInWindow(*view_, *frame_, [] { return kHoldTime; });
        frame_->Details().SetSources(&session_->Link(), &session_->TakenFrames());
        frame_->Details().SetPanelOpen(true);
    }
    void TearDown() override {
        frame_.reset();
        session_.reset();
    }

    DetailsPanel& Panel() { return *frame_->Details().Panel(); }
    // Lets the program run and the panel refresh until `condition` holds.
    template <class Condition>
    bool RunUntil(Condition condition) {
        return WaitUntil([&] {
            DeliverPostedEvents();
            Panel().Refresh(Clock::now(), QDateTime::currentMSecsSinceEpoch());
            return condition();
        });
    }
    QString LinkValue(int id) { return Panel().Link().Value(id); }
    Clock::time_point Newest() {
        const auto points = Panel().Trend().Points(Clock::now(), 15min);
        return points.empty() ? Clock::time_point{} : points.back().time;
    }

    bool applicationReady_ = (imager_test::Application(), true);
    imager_test::TemporaryDeviceRoot root_;
    test_support::HeadSimulator head_{{"--device-root", "--serial", "4321"}};
    imager_test::MapStrings strings_;
    FakeIcons icons_;
    ScriptedMessageBoxes messages_;
    UpdateReceiver receiver_;
    QtUpdateNotifier notifier_{&receiver_};
    std::unique_ptr<ImagerSession> session_;
    std::unique_ptr<MainWindow> frame_;
    View* view_ = nullptr;
};

TEST_F(DetailsPanelOnHeadTest, ShowsTheLinesHealthAndTheTrendGoesOnWhileThePictureIsHeld) {
    ASSERT_TRUE(RunUntil([&] {
        return LinkValue(LinkReadout::kSerialText) == "4321" &&
               LinkValue(LinkReadout::kRangeText).startsWith("1: ") &&
               LinkValue(LinkReadout::kReceivedText) != panel_layout::kUnknown &&
               Panel().Trend().Size() >= 2;
    }));
    EXPECT_TRUE(LinkValue(LinkReadout::kPortText).endsWith("COM1"));
    EXPECT_TRUE(LinkValue(LinkReadout::kReceivedText).endsWith("/s"));
    EXPECT_GT(LinkValue(LinkReadout::kTakenText).chopped(2).toDouble(), 0.0);
    EXPECT_EQ(LinkValue(LinkReadout::kDamagedText), "0");
    EXPECT_EQ(LinkValue(LinkReadout::kReconnectionsText), "0");
    EXPECT_TRUE(LinkValue(LinkReadout::kLastFrameText).endsWith(" s"));

    view_->ButtonAt(View::kHold).click();
    ASSERT_FALSE(session_->Document().IsLive());
    const Clock::time_point held = Newest();
    EXPECT_TRUE(RunUntil([&] { return Newest() >= held + 2s; }));
    EXPECT_FALSE(session_->Document().IsLive());
}

}  // namespace
