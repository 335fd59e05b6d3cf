#include "document/document_archive.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "document/archive_exception.h"
#include "document/archive_reader.h"
#include "document/archive_writer.h"
#include "document/document_record.h"
#include "support/document_test_support.h"

namespace {

using document_test::Bytes;
using ByteVector = std::vector<std::uint8_t>;

ByteVector Store(const DocumentRecord& record) {
    return document_archive::Encode(record);
}

// Loads `bytes` over `record`; false when the data ended early.
bool Load(const ByteVector& bytes, DocumentRecord& record) {
    return document_archive::Decode(bytes, record);
}

// The 3.0 group of a default record up to (not including) the spot count.
Bytes Group30Start(float version) {
    Bytes bytes;
    bytes.Float(version).Word(20).Word(1).Word(1).Word(2930).Word(3130).Word(0);
    bytes.Float(1.0f).Float(1.0f).WideText(u"");
    return bytes;
}

TEST(DocumentArchiveTest, DefaultRecordStartsWithTheDocumentedBytes) {
    const ByteVector bytes = Store(DocumentRecord{});
    const ByteVector expectedStart{0x33, 0x33, 0x53, 0x40, 0x14, 0x00, 0x01, 0x00, 0x01,
                                   0x00, 0x72, 0x0B, 0x3A, 0x0C, 0x00, 0x00, 0x00, 0x00,
                                   0x80, 0x3F, 0x00, 0x00, 0x80, 0x3F, 0xFF, 0xFE, 0xFF,
                                   0x00, 0x02, 0x00, 0x00, 0x00, 0x87, 0x88};
    ASSERT_GE(bytes.size(), 34u + 512u);
    EXPECT_EQ(ByteVector(bytes.begin(), bytes.begin() + 34), expectedStart);
    for (std::size_t i = 34; i < 34 + 512; i += 2) {
        ASSERT_EQ(bytes[i], 0xAA) << i;
        ASSERT_EQ(bytes[i + 1], 0x0A) << i;
    }
}

TEST(DocumentArchiveTest, DefaultRecordIs585BytesAnd584WithOneSpot) {
    DocumentRecord record;
    record.captureTime = 1162544700;
    record.rangeLow = 2630;
    record.rangeHigh = 5730;
    const ByteVector expected = document_test::DefaultArchive(1162544700, 2630, 5730);
    ASSERT_EQ(expected.size(), 585u);
    EXPECT_EQ(Store(record), expected);

    record.secondSpotShown = false;
    EXPECT_EQ(Store(record).size(), 584u);
    record.snapshotNote = "abc";
    record.rangeDescription = std::string(57, 'r');
    EXPECT_EQ(Store(record).size(), 584u + 2 * 3 + 2 * 57);
}

TEST(DocumentArchiveTest, StoredRecordReadsBackWhole) {
    DocumentRecord record;
    record.backgroundTemperature = 250;
    record.paletteNumber = 2;
    record.integrationCount = 4;
    record.spanLow = 2800;
    record.spanHigh = 3500;
    record.temperatureUnit = 2;
    record.emissivity = 0.9f;
    record.emissivityFactor = 1.02669f;
    record.snapshotNote = "Pumpe \xC3\xBC";
    record.spotPosition1 = 0;
    record.spotPosition2 = 255;
    record.displayFrame[0] = 0;
    record.displayFrame[255] = 65535;
    record.captureTime = 1162544700;
    record.rangeLow = 2630;
    record.rangeHigh = 12730;
    record.rangeDescription =
        "-10 ... 1000 \xB0"
        "C";
    record.headSerialNumber = 4711;
    record.freezeTime = 1162544000;
    record.interpolatedMode = true;
    record.edgeRepair = true;

    DocumentRecord loaded;
    loaded.secondSpotShown = false;
    ASSERT_TRUE(Load(Store(record), loaded));
    EXPECT_EQ(loaded.backgroundTemperature, 250);
    EXPECT_EQ(loaded.paletteNumber, 2);
    EXPECT_EQ(loaded.integrationCount, 4);
    EXPECT_EQ(loaded.spanLow, 2800);
    EXPECT_EQ(loaded.spanHigh, 3500);
    EXPECT_EQ(loaded.temperatureUnit, 2);
    EXPECT_EQ(loaded.emissivity, 0.9f);
    EXPECT_EQ(loaded.emissivityFactor, 1.02669f);
    EXPECT_EQ(loaded.snapshotNote, record.snapshotNote);
    EXPECT_TRUE(loaded.secondSpotShown);
    EXPECT_EQ(loaded.spotPosition1, 0);
    EXPECT_EQ(loaded.spotPosition2, 255);
    EXPECT_EQ(loaded.displayFrame, record.displayFrame);
    EXPECT_EQ(loaded.captureTime, 1162544700);
    EXPECT_EQ(loaded.rangeLow, 2630);
    EXPECT_EQ(loaded.rangeHigh, 12730);
    EXPECT_EQ(loaded.rangeDescription, record.rangeDescription);
    EXPECT_EQ(loaded.headSerialNumber, 4711);
    EXPECT_EQ(loaded.freezeTime, 1162544000);
    EXPECT_EQ(loaded.interpolatedMode, true);
    EXPECT_EQ(loaded.edgeRepair, true);
}

TEST(DocumentArchiveTest, BackgroundTemperatureTravelsInWholeDegrees) {
    for (auto [stored, word, read] : {std::tuple{205, 20, 200}, std::tuple{-15, 0xFFFF, -10},
                                      std::tuple{-200, 0xFFEC, -200}, std::tuple{9, 0, 0}}) {
        DocumentRecord record;
        record.backgroundTemperature = static_cast<std::int16_t>(stored);
        const ByteVector bytes = Store(record);
        EXPECT_EQ(bytes[4] | (bytes[5] << 8), word) << stored;
        DocumentRecord loaded;
        ASSERT_TRUE(Load(bytes, loaded));
        EXPECT_EQ(loaded.backgroundTemperature, read) << stored;
    }
}

TEST(DocumentArchiveTest, BackgroundBeyondSixteenBitTenthsIsHeldAtTheNearestThatFits) {
    // 5184 degrees would wrap to -1369.6 as tenths; found by the archive fuzz target.
    for (auto [word, read] :
         {std::pair{5184, 32760}, std::pair{3277, 32760}, std::pair{3276, 32760},
          std::pair{0xEBC0, -32760}, std::pair{0xF333, -32760}, std::pair{0xF334, -32760}}) {
        ByteVector bytes = Store(DocumentRecord{});
        bytes[4] = static_cast<std::uint8_t>(word);
        bytes[5] = static_cast<std::uint8_t>(word >> 8);
        DocumentRecord loaded;
        ASSERT_TRUE(Load(bytes, loaded));
        EXPECT_EQ(loaded.backgroundTemperature, read) << word;
        DocumentRecord again;
        ASSERT_TRUE(Load(Store(loaded), again));
        EXPECT_EQ(again.backgroundTemperature, loaded.backgroundTemperature) << word;
    }
}

TEST(DocumentArchiveTest, Version30StreamLeavesTheLaterFieldsAlone) {
    const ByteVector bytes =
        Group30Start(3.0f).Long(2).Raw({17, 18}).Frame(3000).Long(1162544700).Take();
    DocumentRecord record;
    record.rangeLow = 1111;
    record.rangeHigh = 2222;
    record.freezeTime = 33;
    ASSERT_TRUE(Load(bytes, record));
    EXPECT_EQ(record.spotPosition1, 17);
    EXPECT_EQ(record.displayFrame, ThermalFrame::Filled(3000));
    EXPECT_EQ(record.captureTime, 1162544700);
    EXPECT_EQ(record.rangeLow, 1111);
    EXPECT_EQ(record.rangeHigh, 2222);
    EXPECT_EQ(record.freezeTime, 33);
    EXPECT_FALSE(record.interpolatedMode.has_value());
    EXPECT_FALSE(record.edgeRepair.has_value());
}

TEST(DocumentArchiveTest, OlderOrUnreadableVersionsReadNothingMore) {
    for (float version : {2.9f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        const ByteVector bytes = Bytes().Float(version).Word(99).Word(99).Take();
        DocumentRecord record;
        ASSERT_TRUE(Load(bytes, record));
        EXPECT_EQ(record.backgroundTemperature, 200);
        EXPECT_EQ(record.paletteNumber, 1);
    }
}

TEST(DocumentArchiveTest, NewerVersionReadsAllGroupsAndIgnoresTheRest) {
    DocumentRecord source;
    source.paletteNumber = 0;
    source.edgeRepair = true;
    ByteVector bytes = Store(source);
    const ByteVector version4 = Bytes().Float(4.0f).Take();
    std::copy(version4.begin(), version4.end(), bytes.begin());
    bytes.push_back(0x55);
    DocumentRecord record;
    ASSERT_TRUE(Load(bytes, record));
    EXPECT_EQ(record.paletteNumber, 0);
    EXPECT_EQ(record.edgeRepair, true);
}

TEST(DocumentArchiveTest, CutInsideTheFrameKeepsTheFieldsBefore) {
    DocumentRecord source;
    source.paletteNumber = 2;
    source.spanLow = 2700;
    source.spotPosition1 = 3;
    ByteVector bytes = Store(source);
    bytes.resize(34 + 100);
    DocumentRecord record;
    record.captureTime = 5;
    EXPECT_FALSE(Load(bytes, record));
    EXPECT_EQ(record.paletteNumber, 2);
    EXPECT_EQ(record.spanLow, 2700);
    EXPECT_EQ(record.spotPosition1, 3);
    EXPECT_EQ(record.captureTime, 5);
}

TEST(DocumentArchiveTest, SpotCountDecidesTheSecondSpotAndTheBytesRead) {
    const auto withSpots = [](std::int32_t count, std::initializer_list<std::uint8_t> spots) {
        return Group30Start(3.0f).Long(count).Raw(spots).Frame(2800).Long(7).Take();
    };
    DocumentRecord none;
    ASSERT_TRUE(Load(withSpots(0, {}), none));
    EXPECT_FALSE(none.secondSpotShown);
    EXPECT_EQ(none.spotPosition1, 135);
    EXPECT_EQ(none.displayFrame, ThermalFrame::Filled(2800));

    DocumentRecord negative;
    ASSERT_TRUE(Load(withSpots(-4, {}), negative));
    EXPECT_FALSE(negative.secondSpotShown);

    DocumentRecord one;
    ASSERT_TRUE(Load(withSpots(1, {40}), one));
    EXPECT_FALSE(one.secondSpotShown);
    EXPECT_EQ(one.spotPosition1, 40);
    EXPECT_EQ(one.spotPosition2, 136);
    EXPECT_EQ(one.captureTime, 7);

    DocumentRecord five;
    ASSERT_TRUE(Load(withSpots(5, {1, 2, 3, 4, 5}), five));
    EXPECT_TRUE(five.secondSpotShown);
    EXPECT_EQ(five.spotPosition1, 1);
    EXPECT_EQ(five.spotPosition2, 2);
    EXPECT_EQ(five.displayFrame, ThermalFrame::Filled(2800));
    EXPECT_EQ(five.captureTime, 7);
}

// The spot values present before the end are taken; the load then fails, with no
// allocation from the count.
TEST(DocumentArchiveTest, SpotCountBeyondTheDataTakesTheSpotsThereAndFails) {
    DocumentRecord record;
    EXPECT_FALSE(Load(Group30Start(3.3f).Long(0x7FFFFFFF).Raw({9, 8, 7}).Take(), record));
    EXPECT_TRUE(record.secondSpotShown);
    EXPECT_EQ(record.spotPosition1, 9);
    EXPECT_EQ(record.spotPosition2, 8);

    DocumentRecord oneLeft;
    EXPECT_FALSE(Load(Group30Start(3.3f).Long(2).Raw({9}).Take(), oneLeft));
    EXPECT_EQ(oneLeft.spotPosition1, 9);
    EXPECT_EQ(oneLeft.spotPosition2, 136);
}

TEST(DocumentArchiveTest, AnyPositiveInterpolatedValueTurnsTheModeOn) {
    DocumentRecord source;
    source.interpolatedMode = true;
    ByteVector bytes = Store(source);
    const std::size_t modeOffset = bytes.size() - 5;
    EXPECT_EQ(bytes[modeOffset], 3);
    for (auto [value, expected] :
         {std::pair{1, true}, std::pair{77, true}, std::pair{0, false}, std::pair{-3, false}}) {
        const ByteVector mode = Bytes().Long(value).Take();
        std::copy(mode.begin(), mode.end(),
                  bytes.begin() + static_cast<std::ptrdiff_t>(modeOffset));
        DocumentRecord record;
        ASSERT_TRUE(Load(bytes, record));
        EXPECT_EQ(record.interpolatedMode, expected) << value;
    }
}

TEST(DocumentArchiveTest, EmptyStreamFailsAtTheVersion) {
    DocumentRecord record;
    EXPECT_FALSE(Load({}, record));
    EXPECT_EQ(record.paletteNumber, 1);
}

}  // namespace
