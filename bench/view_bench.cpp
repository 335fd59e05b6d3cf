// Cost of the user-interface side of one frame: the view takes a new frame and span
// and the whole screen is painted, and one button paints itself.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <filesystem>
#include <map>

#include "display/qt/default_font.h"
#include "document/imager_document.h"
#include "document/update_flags.h"
#include "platform/message_box_service.h"
#include "platform/qt/icon_resources.h"
#include "platform/string_resources.h"
#include "platform/update_notifier.h"
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

void BM_ViewFrameUpdateAndPaint(benchmark::State& state) {
    Application();
    // A device root of its own, so that the document's settings file goes nowhere else.
    char pattern[] = "/tmp/view-bench-XXXXXX";
    const std::filesystem::path home = ::mkdtemp(pattern);
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    {
        BenchStrings strings;
        BenchIcons icons;
        Quiet messages;
        NoPosts notifier;
        ImagerLink link(nullptr);  // never opened: no head
        ImagerDocument document(&messages, &notifier, link);
        document.StartUp();
        ImagerView view(document, {strings, icons, messages, notifier});
        view.CreateScreen();
        QImage screen(view.size(), QImage::Format_RGB32);
        for (auto _ : state) {
            view.ShowChanges(update_flag::kFrame | update_flag::kSpan);
            view.render(&screen);
            benchmark::DoNotOptimize(screen.constBits());
        }
    }
    std::filesystem::remove_all(home);
}
BENCHMARK(BM_ViewFrameUpdateAndPaint)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
