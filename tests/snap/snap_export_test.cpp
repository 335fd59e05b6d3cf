#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <sstream>

#include "display/picture_renderer.h"
#include "display/temperature_formatter.h"
#include "palette/palette_set.h"
#include "snap/snap_test_support.h"
#include "support/environment.h"
#include "support/test_application.h"

namespace {

using test_support::TemporaryDeviceRoot;

class SnapExportTest : public ::testing::Test {
  protected:
    SnapExportTest() : root_(TemporaryDeviceRoot::Locale::kCInUtc) { TestApplication(); }

    std::filesystem::path Write(const DocumentRecord& record, const std::string& name = "a.snp") {
        const auto file = root_.Home() / name;
        snap_test::WriteRecord(file, record);
        return file;
    }

    static std::vector<std::vector<std::string>> CsvRows(const std::filesystem::path& file) {
        std::istringstream text(TemporaryDeviceRoot::ReadText(file));
        std::string line;
        std::getline(text, line);
        EXPECT_EQ(line.substr(0, 2), "# ");
        std::vector<std::vector<std::string>> rows;
        while (std::getline(text, line)) {
            std::vector<std::string> cells(1);
            for (char c : line) {
                if (c == ',') {
                    cells.emplace_back();
                } else {
                    cells.back().push_back(c);
                }
            }
            rows.push_back(cells);
        }
        return rows;
    }

    // The stored value shown in screen column `column`, row `row` (row 0 at the top):
    // the renderer puts received value 16·(15 − column) + row there.
    static std::uint16_t ShownValue(const DocumentRecord& record, int column, int row) {
        return record.displayFrame[static_cast<std::size_t>(16 * (15 - column) + row)];
    }

    TemporaryDeviceRoot root_;
};

TEST_F(SnapExportTest, CsvCellsAreTheImagersTextsInScreenOrder) {
    const DocumentRecord record = snap_test::SampleRecord();
    const auto file = Write(record);
    for (const std::string unit : {"", "K"}) {
        std::vector<std::string> arguments{"csv", file.string()};
        if (!unit.empty()) {
            arguments.insert(arguments.end(), {"--unit", unit});
        }
        ASSERT_EQ(snap_test::RunSnap(arguments), snap_run::kAllDone);
        const auto rows = CsvRows(root_.Home() / "a.csv");
        ASSERT_EQ(rows.size(), 16u);
        const TemperatureUnit shownUnit = unit.empty() ? record.temperatureUnit : 1;
        int empty = 0;
        for (int row = 0; row < 16; ++row) {
            ASSERT_EQ(rows[row].size(), 16u);
            for (int column = 0; column < 16; ++column) {
                std::string text = TemperatureFormatter().FormatTemperature(
                    static_cast<std::int16_t>(ShownValue(record, column, row)), shownUnit,
                    record.backgroundTemperature, record.emissivity, false);
                text = text == "*" ? "" : text;
                empty += text.empty() ? 1 : 0;
                EXPECT_EQ(rows[row][column], text) << "row " << row << " column " << column;
            }
        }
        EXPECT_EQ(empty, 1);
    }
}

TEST_F(SnapExportTest, RawCsvHoldsTheStoredValues) {
    const DocumentRecord record = snap_test::SampleRecord();
    ASSERT_EQ(snap_test::RunSnap({"csv", "--raw", Write(record).string()}), snap_run::kAllDone);
    const auto rows = CsvRows(root_.Home() / "a.csv");
    ASSERT_EQ(rows.size(), 16u);
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column) {
            EXPECT_EQ(rows[row][column], std::to_string(ShownValue(record, column, row)));
        }
    }
}

// Pixel (x, y), top row first, of the renderer's bottom-up BGR bitmap.
QRgb RendererPixel(const PictureRenderer& renderer, int x, int y) {
    const auto pixels = renderer.Pixels();
    const std::size_t at =
        static_cast<std::size_t>(PictureRenderer::kSide - 1 - y) * PictureRenderer::kRowBytes +
        static_cast<std::size_t>(x) * PictureRenderer::kBytesPerPixel;
    return qRgb(pixels[at + 2], pixels[at + 1], pixels[at]);
}

TEST_F(SnapExportTest, PngPixelsAreTheRenderersBitmapInBothModesAndAllPalettes) {
    const PaletteSet palettes;
    DocumentRecord record = snap_test::SampleRecord();
    for (const bool interpolated : {true, false}) {
        for (std::int16_t palette = 0; palette < 3; ++palette) {
            record.interpolatedMode = interpolated;
            record.paletteNumber = palette;
            ASSERT_EQ(snap_test::RunSnap({"png", Write(record).string()}), snap_run::kAllDone);
            const QImage image(QString::fromStdString((root_.Home() / "a.png").string()));
            ASSERT_EQ(image.size(), QSize(192, 192));
            PictureRenderer renderer;
            renderer.Render(PictureRenderer::Reverse(record.displayFrame), interpolated,
                            static_cast<std::int16_t>(record.spanLow),
                            static_cast<std::int16_t>(record.spanHigh), palettes, palette);
            int differing = 0;
            for (int y = 0; y < 192; ++y) {
                for (int x = 0; x < 192; ++x) {
                    differing += image.pixel(x, y) != RendererPixel(renderer, x, y) ? 1 : 0;
                }
            }
            EXPECT_EQ(differing, 0) << "interpolated " << interpolated << " palette " << palette;
        }
    }
}

TEST_F(SnapExportTest, ScaledPngRepeatsEveryPixelAndTheEdgeMaskIsBlack) {
    DocumentRecord record = snap_test::SampleRecord();
    record.edgeRepair = true;
    record.interpolatedMode = false;
    const auto file = Write(record);
    ASSERT_EQ(snap_test::RunSnap({"png", file.string(), "-o", (root_.Home() / "one.png").string()}),
              snap_run::kAllDone);
    ASSERT_EQ(snap_test::RunSnap({"png", "--scale", "3", file.string()}), snap_run::kAllDone);
    const QImage one(QString::fromStdString((root_.Home() / "one.png").string()));
    const QImage three(QString::fromStdString((root_.Home() / "a.png").string()));
    ASSERT_EQ(three.size(), QSize(576, 576));
    // Plain mode masks the outer ring of 12-pixel blocks and nothing inside it.
    EXPECT_EQ(one.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(one.pixel(191, 100), qRgb(0, 0, 0));
    EXPECT_EQ(one.pixel(11, 11), qRgb(0, 0, 0));
    EXPECT_NE(one.pixel(12, 12), qRgb(0, 0, 0));
    int differing = 0;
    for (int y = 0; y < 576; ++y) {
        for (int x = 0; x < 576; ++x) {
            differing += three.pixel(x, y) != one.pixel(x / 3, y / 3) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
}

DocumentRecord RecordFromJson(const QJsonObject& o) {
    DocumentRecord r;
    const auto integer = [&](const char* key) { return o.value(key).toInteger(); };
    r.backgroundTemperature = static_cast<std::int16_t>(integer("backgroundTemperature"));
    r.paletteNumber = static_cast<std::int16_t>(integer("paletteNumber"));
    r.integrationCount = static_cast<std::int16_t>(integer("integrationCount"));
    r.spanLow = static_cast<std::uint16_t>(integer("spanLow"));
    r.spanHigh = static_cast<std::uint16_t>(integer("spanHigh"));
    r.temperatureUnit = static_cast<std::int16_t>(integer("temperatureUnit"));
    r.emissivity = static_cast<float>(o.value("emissivity").toDouble());
    r.emissivityFactor = static_cast<float>(o.value("emissivityFactor").toDouble());
    r.snapshotNote = o.value("note").toString().toStdString();
    r.secondSpotShown = o.value("secondSpotShown").toBool();
    const QJsonArray spots = o.value("spots").toArray();
    r.spotPosition1 = static_cast<std::uint8_t>(spots.at(0).toObject().value("position").toInt());
    r.spotPosition2 = static_cast<std::uint8_t>(spots.at(1).toObject().value("position").toInt());
    const QJsonArray frame = o.value("frame").toArray();
    for (qsizetype k = 0; k < frame.size(); ++k) {
        r.displayFrame[static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(frame[k].toInt());
    }
    r.captureTime = integer("captureTime");
    r.rangeLow = static_cast<std::uint16_t>(integer("rangeLow"));
    r.rangeHigh = static_cast<std::uint16_t>(integer("rangeHigh"));
    r.rangeDescription = o.value("rangeDescription").toString().toLatin1().toStdString();
    r.headSerialNumber = static_cast<std::uint16_t>(integer("headSerialNumber"));
    r.freezeTime = integer("freezeTime");
    r.interpolatedMode = o.value("interpolatedMode").toBool();
    r.edgeRepair = o.value("edgeRepair").toBool();
    return r;
}

TEST_F(SnapExportTest, InfoJsonRoundTripsEveryStoredField) {
    DocumentRecord record = snap_test::SampleRecord();
    record.edgeRepair = true;
    const auto file = Write(record);
    std::string printed;
    ASSERT_EQ(snap_test::RunSnap({"info", "--json", file.string()}, &printed), snap_run::kAllDone);
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(printed), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << printed;
    const QJsonObject object = json.object();
    EXPECT_EQ(document_archive::Encode(RecordFromJson(object)), document_archive::Encode(record));
    EXPECT_EQ(object.value("formatVersion").toDouble(), 3.3);
    EXPECT_EQ(object.value("captureLocalTime").toString(), "2023-11-14 22:13:20");
    const QJsonObject spot2 = object.value("spots").toArray().at(1).toObject();
    EXPECT_EQ(spot2.value("row").toInt(), 14);
    EXPECT_EQ(spot2.value("column").toInt(), 6);
    const std::string shown = TemperatureFormatter().FormatTemperature(
        static_cast<std::int16_t>(ShownValue(record, 6, 14)), record.temperatureUnit,
        record.backgroundTemperature, record.emissivity, false);
    EXPECT_EQ(spot2.value("temperature").toDouble(), std::stod(shown));
}

// The statistics come after every earlier key: lowest and highest as the imager prints
// them, the cells of the extremes as the screen shows them; null without a real value.
TEST_F(SnapExportTest, InfoAddsTheLowestHighestAndMeanWithTheirScreenCells) {
    DocumentRecord record = snap_test::SampleRecord();
    record.displayFrame[static_cast<std::size_t>(16 * (15 - 9) + 2)] = 3999;  // column 9, row 2
    std::string printed;
    ASSERT_EQ(snap_test::RunSnap({"info", "--json", Write(record).string()}, &printed),
              snap_run::kAllDone);
    EXPECT_NE(printed.find("],\"lowest\":"), std::string::npos) << "after the frame";
    const QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(printed)).object();
    const TemperatureFormatter formatter;
    const auto text = [&](std::uint16_t raw) {
        return std::stod(
            formatter.FormatTemperature(static_cast<std::int16_t>(raw), record.temperatureUnit,
                                        record.backgroundTemperature, record.emissivity, false));
    };
    EXPECT_EQ(object.value("highest").toDouble(), text(3999));
    EXPECT_EQ(object.value("hottest").toObject().value("column").toInt(), 9);
    EXPECT_EQ(object.value("hottest").toObject().value("row").toInt(), 2);
    const QJsonObject coldest = object.value("coldest").toObject();
    const std::uint16_t coldestRaw =
        ShownValue(record, coldest.value("column").toInt(), coldest.value("row").toInt());
    EXPECT_EQ(object.value("lowest").toDouble(), text(coldestRaw));
    EXPECT_TRUE(object.value("mean").isDouble());

    std::string plain;
    snap_test::RunSnap({"info", Write(record).string()}, &plain);
    EXPECT_NE(plain.find("Highest: column 9, row 2: "), std::string::npos) << plain;

    record.displayFrame = ThermalFrame::Filled(100);  // no real result under this background
    record.backgroundTemperature = 1000;
    record.emissivity = 0.2f;
    ASSERT_EQ(snap_test::RunSnap({"info", "--json", Write(record).string()}, &printed),
              snap_run::kAllDone);
    const QJsonObject none = QJsonDocument::fromJson(QByteArray::fromStdString(printed)).object();
    for (const char* key : {"lowest", "highest", "mean", "coldest", "hottest"}) {
        EXPECT_TRUE(none.value(key).isNull()) << key;
    }
}

}  // namespace
