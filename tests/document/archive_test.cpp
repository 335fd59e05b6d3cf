#include <gtest/gtest.h>

#include "document/archive_exception.h"
#include "document/archive_reader.h"
#include "document/archive_writer.h"
#include "document/text_codec.h"
#include "support/document_test_support.h"

namespace {

using document_test::Bytes;
using ByteVector = std::vector<std::uint8_t>;

ByteVector Prefix(const ByteVector& bytes, std::size_t count) {
    return ByteVector(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

std::string ReadText(const ByteVector& bytes) {
    ArchiveReader reader(bytes);
    std::string text = reader.ReadText();
    EXPECT_EQ(reader.Remaining(), 0u);
    return text;
}

TEST(ArchiveTest, PrimitivesAreLittleEndian) {
    ArchiveWriter writer;
    writer.WriteByte(0x12);
    writer.WriteWord(0xABCD);
    writer.WriteLong(-2);
    writer.WriteFloat(3.3f);
    writer.WriteTime(1162544700);
    const ByteVector expected{0x12, 0xCD, 0xAB, 0xFE, 0xFF, 0xFF, 0xFF, 0x33,
                              0x33, 0x53, 0x40, 0x3C, 0x06, 0x4B, 0x45};
    EXPECT_EQ(writer.Bytes(), expected);

    ArchiveReader reader(expected);
    EXPECT_EQ(reader.ReadByte(), 0x12);
    EXPECT_EQ(reader.ReadWord(), 0xABCD);
    EXPECT_EQ(reader.ReadLong(), -2);
    EXPECT_EQ(reader.ReadFloat(), 3.3f);
    EXPECT_EQ(reader.ReadTime(), 1162544700);
    EXPECT_THROW(reader.ReadByte(), ArchiveException);
}

TEST(ArchiveTest, TimeIsReadAsUnsigned32Bits) {
    const ByteVector bytes{0x00, 0x00, 0x00, 0x80};
    ArchiveReader reader(bytes);
    EXPECT_EQ(reader.ReadTime(), 0x80000000LL);
}

TEST(ArchiveTest, TextLengthPrefixGrowsWithTheText) {
    const auto written = [](std::size_t length) {
        ArchiveWriter writer;
        writer.WriteText(std::u16string(length, u'a'));
        return writer.Bytes();
    };
    EXPECT_EQ(written(0), (ByteVector{0xFF, 0xFE, 0xFF, 0x00}));
    EXPECT_EQ(Prefix(written(254), 4), (ByteVector{0xFF, 0xFE, 0xFF, 0xFE}));
    EXPECT_EQ(Prefix(written(255), 6), (ByteVector{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}));
    EXPECT_EQ(Prefix(written(0xFFFD), 6), (ByteVector{0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}));
    EXPECT_EQ(Prefix(written(0xFFFE), 10),
              (ByteVector{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
    for (std::size_t length : {0, 254, 255, 0xFFFD, 0xFFFE}) {
        const ByteVector bytes = written(length);
        EXPECT_EQ(ReadText(bytes), std::string(length, 'a')) << length;
    }
}

TEST(ArchiveTest, TextRoundTripsThroughUtf16) {
    const std::string text =
        "Kessel 3 \xC2\xB0"
        "C \xE2\x82\xAC \xF0\x9F\x94\xA5";  // ° € 🔥
    ArchiveWriter writer;
    writer.WriteText(text_codec::Utf8ToUtf16(text));
    // 16 code units: the flame is a surrogate pair.
    EXPECT_EQ(writer.Bytes().size(), 4u + 2 * 16);
    EXPECT_EQ(ReadText(writer.Bytes()), text);
}

TEST(ArchiveTest, EightBitTextsAreConvertedFromTheCodePage) {
    EXPECT_EQ(ReadText(Bytes().Byte(5).Raw({'H', 'e', 'l', 'l', 'o'}).Take()), "Hello");
    // 0xE9 is e acute, 0x80 the euro sign, 0x81 is unassigned and keeps its code.
    EXPECT_EQ(ReadText(Bytes().Byte(3).Raw({0xE9, 0x80, 0x81}).Take()),
              "\xC3\xA9\xE2\x82\xAC\xC2\x81");
    ByteVector longText = Bytes().Byte(0xFF).Word(300).Take();
    longText.insert(longText.end(), 300, 'x');
    EXPECT_EQ(ReadText(longText), std::string(300, 'x'));
    ByteVector longerText = Bytes().Byte(0xFF).Word(0xFFFF).Long(2).Raw({'o', 'k'}).Take();
    EXPECT_EQ(ReadText(longerText), "ok");
}

TEST(ArchiveTest, WideTextMayUseAWordLengthAfterTheMark) {
    ByteVector bytes = Bytes().Raw({0xFF, 0xFE, 0xFF, 0xFF}).Word(2).Word(u'O').Word(u'K').Take();
    EXPECT_EQ(ReadText(bytes), "OK");
}

TEST(ArchiveTest, UnpairedSurrogateBecomesAReplacementCharacter) {
    ByteVector bytes = Bytes().WideText(std::u16string{u'a', char16_t(0xD800), u'b'}).Take();
    EXPECT_EQ(ReadText(bytes),
              "a\xEF\xBF\xBD"
              "b");
}

TEST(ArchiveTest, MalformedUtf8IsReplacedWhenWritten) {
    EXPECT_EQ(text_codec::Utf8ToUtf16("a\xFF"
                                      "b\xC3"),
              (std::u16string{u'a', 0xFFFD, u'b', 0xFFFD}));
    EXPECT_EQ(text_codec::Utf8ToUtf16("\xC0\x80"), (std::u16string{0xFFFD, 0xFFFD}));  // overlong
}

TEST(ArchiveTest, TextLongerThanTheDataLeftFailsWithoutReadingIt) {
    // Claims 2^31 - 1 wide characters with four bytes left.
    ByteVector huge = Bytes()
                          .Raw({0xFF, 0xFE, 0xFF, 0xFF})
                          .Word(0xFFFF)
                          .Long(0x7FFFFFFF)
                          .Raw({1, 2, 3, 4})
                          .Take();
    ArchiveReader reader(huge);
    EXPECT_THROW(reader.ReadText(), ArchiveException);

    ByteVector oneShort = Bytes().WideText(u"abc").Take();
    oneShort.pop_back();
    ArchiveReader shortReader(oneShort);
    EXPECT_THROW(shortReader.ReadText(), ArchiveException);

    ByteVector cutPrefix{0xFF, 0xFE};
    ArchiveReader prefixReader(cutPrefix);
    EXPECT_THROW(prefixReader.ReadText(), ArchiveException);
}

TEST(ArchiveTest, HeadDescriptionBytesKeepTheirCodes) {
    const std::string description("Range\0\xE9", 7);
    EXPECT_EQ(text_codec::BytesToUtf16(description),
              (std::u16string{u'R', u'a', u'n', u'g', u'e', 0, 0xE9}));
}

}  // namespace
