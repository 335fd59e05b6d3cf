// All four display controls at their places on the 240 × 268 screen, as the view lays
// them out; the picture is saved for a person to look at.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPalette>
#include <QWidget>

#include <unistd.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "display/fake_string_resources.h"
#include "display/qt/battery_gauge_control.h"
#include "display/qt/colour_scale_control.h"
#include "display/qt/range_bar_control.h"
#include "display/qt/thermal_image_control.h"
#include "display/widget_test_support.h"
#include "palette/palette_set.h"

namespace fs = std::filesystem;

namespace {

const QRgb kViewBackground = qRgb(192, 192, 192);

// The English bundle's texts and the shared icons, read from the sources.
class EnglishSources : public StringResources, public IconResources {
  public:
    EnglishSources() : folder_(QStringLiteral(QUORVEL_ENGLISH_SOURCES)) {
        QFile file(folder_ + QStringLiteral("/strings.json"));
        if (file.open(QIODevice::ReadOnly)) {
            const QJsonObject texts = QJsonDocument::fromJson(file.readAll()).object();
            for (auto it = texts.begin(); it != texts.end(); ++it) {
                texts_[it.key().toInt()] = it.value().toString().toStdString();
            }
        }
    }
    std::string String(int id) const override {
        const auto found = texts_.find(id);
        return found == texts_.end() ? std::string() : found->second;
    }
    QIcon Icon(int id) const override {
        const QString path = QStringLiteral(QUORVEL_SHARED_ICONS "/%1.svg").arg(id);
        return QFile::exists(path) ? QIcon(path) : QIcon();
    }

  private:
    QString folder_;
    std::map<int, std::string> texts_;
};

ThermalFrame WarmScene() {
    ThermalFrame frame;
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 16; ++c) {
            const double dx = c - 5.0, dy = r - 9.0;
            frame[r * 16 + c] = static_cast<std::uint16_t>(
                2900 + 380 * std::exp(-(dx * dx + dy * dy) / 9.0) + 4 * r);
        }
    }
    return frame;
}

class DisplayControlsScreenTest : public ::testing::Test {
  protected:
    DisplayControlsScreenTest()
        : power_(fs::temp_directory_path() / ("screen_test_power_" + std::to_string(::getpid()))),
          thermal_(&screen_),
          scale_(&screen_),
          rangeBar_(&screen_),
          battery_(&screen_) {
        screen_.resize(240, 268);
        QPalette palette = screen_.palette();
        palette.setColor(QPalette::Window, QColor(kViewBackground));
        screen_.setPalette(palette);
        screen_.setAutoFillBackground(true);
        Place(thermal_, 1, 1, 197, 197);
        Place(scale_, 199, 1, 239, 197);
        Place(rangeBar_, 1, 199, 197, 234);
        Place(battery_, 199, 199, 239, 234);

        thermal_.SetStringResources(&bundle_);
        thermal_.Initialise(&palettes_, 1, WarmScene(), 2880, 3300, 0x57, 0x9A, 1.0f,
                            temperature_unit::kCelsius, 0, true, true, 0);
        thermal_.SetStatus(1, 4, "Pipe joint", "Snapshot 2 9-3-2024 14-05");
        scale_.Initialise(&palettes_, 1, 2880, 3300, 1.0f, temperature_unit::kCelsius, 0);
        rangeBar_.SetStringResources(&bundle_);
        rangeBar_.Initialise(2530, 3730, 2880, 3300, 1.0f, temperature_unit::kCelsius, 0, 0);

        fs::create_directories(power_ / "BAT0");
        std::ofstream(power_ / "BAT0" / "type") << "Battery\n";
        std::ofstream(power_ / "BAT0" / "capacity") << "57\n";
        std::ofstream(power_ / "BAT0" / "status") << "Discharging\n";
        std::ofstream(power_ / "BAT0" / "capacity_level") << "Normal\n";
        battery_.SetResources(&bundle_, &bundle_);
        battery_.SetPowerStatus(PowerStatus(power_));
        battery_.Refresh();
    }
    ~DisplayControlsScreenTest() override { fs::remove_all(power_); }

    static void Place(QWidget& control, int left, int top, int right, int bottom) {
        control.setGeometry(left, top, right - left, bottom - top);
    }

    fs::path power_;
    EnglishSources bundle_;
    PaletteSet palettes_;
    QWidget screen_;
    ThermalImageControl thermal_;
    ColourScaleControl scale_;
    RangeBarControl rangeBar_;
    BatteryGaugeControl battery_;
};

TEST_F(DisplayControlsScreenTest, FourControlsAtTheirPlaces) {
    QImage image(240, 268, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    screen_.render(&image);

    const QString folder = qEnvironmentVariableIsSet("QUORVEL_ARTEFACT_DIR")
                               ? qEnvironmentVariable("QUORVEL_ARTEFACT_DIR")
                               : QStringLiteral(QUORVEL_ARTEFACT_DIR);
    QDir().mkpath(folder);
    EXPECT_TRUE(image.save(folder + QStringLiteral("/display_controls.png")));

    // The gaps between the controls and the button row show the view's background.
    for (const auto& [x, y] : {std::pair{0, 0}, {198, 100}, {100, 198}, {239, 0}, {120, 250}}) {
        EXPECT_EQ(image.pixel(x, y), kViewBackground) << x << "," << y;
    }
    // Every control shows exactly what it paints on its own, at its own place.
    const std::pair<QWidget*, QRect> controls[] = {{&thermal_, QRect(1, 1, 196, 196)},
                                                   {&scale_, QRect(199, 1, 40, 196)},
                                                   {&rangeBar_, QRect(1, 199, 196, 35)},
                                                   {&battery_, QRect(199, 199, 40, 35)}};
    for (const auto& [control, place] : controls) {
        EXPECT_EQ(control->geometry(), place);
        EXPECT_EQ(image.copy(place), Rendered(*control)) << place.x() << "," << place.y();
        EXPECT_EQ(image.pixel(place.topLeft()), qRgb(128, 128, 128));
        EXPECT_EQ(image.pixel(place.bottomRight()), qRgb(255, 255, 255));
    }
    // The hottest colour of the scale at its top; the picture inside the border.
    EXPECT_EQ(image.pixel(201, 3), qRgb(255, 255, 251));
    EXPECT_NE(image.pixel(3, 3), kViewBackground);
}

}  // namespace
