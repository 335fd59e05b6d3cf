// Cost of the user-interface side of one frame: the view takes a new frame and span
// and the whole screen is painted, or only what the frame changed; and one button
// paints itself. The view figures count the CPU time of the whole process, as Qt may
// hand large drawing jobs to its worker threads.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>

#include "acquisition/taken_frame_queue.h"
#include "display/qt/default_font.h"
#include "document/imager_document.h"
#include "document/update_flags.h"
#include "platform/message_box_service.h"
#include "platform/qt/icon_resources.h"
#include "platform/string_resources.h"
#include "platform/update_notifier.h"
#include "ui/details_panel.h"
#include "ui/image_button.h"
#include "ui/imager_view.h"

namespace {

class BenchStrings : public StringResources {
  public:
    std::string String(int id) const override {
        static const std::map<int, std::string> texts{{130, "Hold"},
                                                      {131, "Span"},
                                                      {132, "Setup"},
                                                      {133, "Browse"},
                                                      {134, "Exit"},
                                                      {149, "S1 "},
                                                      {150, "S2 "},
                                                      {151,
                                                       "\xC2\xB0"
                                                       "C"},
                                                      {153, "K"}};
        const auto found = texts.find(id);
        return found != texts.end() ? found->second : std::string();
    }
};

class BenchIcons : public IconResources {
  public:
    QIcon Icon(int) const override {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::darkBlue);
        return QIcon(pixmap);
    }
};

class Quiet : public MessageBoxService {
  public:
    int ShowText(const std::string&, unsigned) override { return message_box::kIdOk; }
    int ShowString(int, unsigned) override { return message_box::kIdOk; }
};

class NoPosts : public UpdateNotifier {
  public:
    void PostUpdate(std::uint32_t) override {}
};

QApplication& Application() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "view_bench";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    return application;
}

void BM_ImageButtonPaint(benchmark::State& state) {
    Application();
    BenchIcons icons;
    ImageButton button;
    button.resize(46, 32);
    button.SetFlat(false);
    button.setText(QStringLiteral("Browse"));
    button.SetIcon(icons, 141, 16, 16);
    button.SetAlignment(ImageButton::kIconAbove);
    QImage target(46, 32, QImage::Format_RGB32);
    for (auto _ : state) {
        button.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_ImageButtonPaint);

// A started document without a head and its view on the screen, in a device root of
// its own so that the document's settings file goes nowhere else.
class ViewFixture {
  public:
    ViewFixture() : home_(MakeHome()), document_(&messages_, &notifier_, link_) {
        document_.StartUp();
        view_.emplace(document_, ImagerView::Services{strings_, icons_, messages_, notifier_});
        view_->CreateScreen();
    }
    ~ViewFixture() {
        view_.reset();
        std::filesystem::remove_all(home_);
    }
    ViewFixture(const ViewFixture&) = delete;
    ViewFixture& operator=(const ViewFixture&) = delete;

    ImagerView& View() { return *view_; }
    // Writes a frame that differs from the previous one into the document.
    void NewFrame(int serial) {
        auto& shared = document_.SharedPicture();
        std::lock_guard lock(shared.mutex);
        shared.displayFrame = ThermalFrame::Filled(static_cast<std::uint16_t>(2950 + serial % 64));
        shared.displayFrame[static_cast<std::size_t>(serial % kFramePixels)] = 3100;
    }

  private:
    static std::filesystem::path MakeHome() {
        char pattern[] = "/tmp/view-bench-XXXXXX";
        const std::filesystem::path home = ::mkdtemp(pattern);
        ::setenv("XDG_DATA_HOME", home.c_str(), 1);
        return home;
    }

    std::filesystem::path home_;
    BenchStrings strings_;
    BenchIcons icons_;
    Quiet messages_;
    NoPosts notifier_;
    ImagerLink link_{nullptr};  // never opened: no head
    ImagerDocument document_;
    std::optional<ImagerView> view_;
};

// Everything painted again into an image, whatever changed.
void BM_ViewFrameUpdateAndPaint(benchmark::State& state) {
    Application();
    ViewFixture fixture;
    ImagerView& view = fixture.View();
    QImage screen(view.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        view.ShowChanges(update_flag::kFrame | update_flag::kSpan);
        view.render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_ViewFrameUpdateAndPaint)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

// What a live frame costs the user-interface thread: the view shown on the screen takes
// a new frame with an unchanged span, and the event loop repaints what that changed.
// The CPU column is the figure to watch.
void BM_ViewUpdateAfterNewFrame(benchmark::State& state) {
    Application();
    ViewFixture fixture;
    ImagerView& view = fixture.View();
    view.show();
    QCoreApplication::processEvents();
    int serial = 0;
    for (auto _ : state) {
        fixture.NewFrame(++serial);
        view.ShowChanges(update_flag::kFrame | update_flag::kSpan);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_ViewUpdateAfterNewFrame)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

// The details panel beside the view, open, its trend holding 15 minutes of frames taken
// at the acquisition's pace (13 a second) and showing all of them.
class PanelFixture {
  public:
    static constexpr int kFramesPerSecond = 13;

    explicit PanelFixture(ViewFixture& screen) : screen_(screen), panel_(screen.View()) {
        panel_.SetSources(nullptr, &taken_);
        panel_.Chart().SetWindowMinutes(15);
        // Filled while hidden: nothing drawn yet.
        for (int second = 0; second < 15 * 60; ++second) {
            for (int k = 0; k < kFramesPerSecond; ++k) {
                TakeFrame();
            }
            panel_.Refresh(now_, wallNow_);
        }
        screen.View().show();
        panel_.show();
        QCoreApplication::processEvents();
    }

    DetailsPanel& Panel() { return panel_; }
    // One more frame taken; the clock moves on by the acquisition's pass.
    void TakeFrame() {
        ++serial_;
        ThermalFrame frame = ThermalFrame::Filled(static_cast<std::uint16_t>(2950 + serial_ % 64));
        frame[static_cast<std::size_t>(serial_ % kFramePixels)] = 3100;
        taken_.Push({now_, frame, 1});
        now_ += std::chrono::milliseconds(1000 / kFramesPerSecond);
        wallNow_ += 1000 / kFramesPerSecond;
    }
    void Refresh() { panel_.Refresh(now_, wallNow_); }
    int Serial() const { return serial_; }

  private:
    ViewFixture& screen_;
    TakenFrameQueue taken_;
    DetailsPanel panel_;
    DetailsPanel::Clock::time_point now_ = DetailsPanel::Clock::now();
    qint64 wallNow_ = 1'700'000'000'000;
    int serial_ = 0;
};

// What one live frame costs with the panel open: the view and the panel's picture readout
// take the new frame and the event loop repaints both; once a second (every 13th frame)
// the panel also takes the frames into its full trend and redraws trend and link counts.
// Compare with BM_ViewUpdateAfterNewFrame (the panel closed).
void BM_ViewAndPanelUpdateAfterNewFrame(benchmark::State& state) {
    Application();
    ViewFixture fixture;
    PanelFixture panel(fixture);
    ImagerView& view = fixture.View();
    for (auto _ : state) {
        panel.TakeFrame();
        fixture.NewFrame(panel.Serial());
        view.ShowChanges(update_flag::kFrame | update_flag::kSpan);
        if (panel.Serial() % PanelFixture::kFramesPerSecond == 0) {
            panel.Refresh();
        }
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_ViewAndPanelUpdateAfterNewFrame)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

// The once-a-second part alone: a second of frames into the full trend, the 15-minute
// trend and the link counts drawn anew.
void BM_PanelSecondWithFullTrend(benchmark::State& state) {
    Application();
    ViewFixture fixture;
    PanelFixture panel(fixture);
    for (auto _ : state) {
        for (int k = 0; k < PanelFixture::kFramesPerSecond; ++k) {
            panel.TakeFrame();
        }
        panel.Refresh();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_PanelSecondWithFullTrend)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
