// The session: the real serial port, link, threads and files, on the simulated head or
// without a head.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "document/imager_document.h"
#include "document/update_flags.h"
#include "platform/device_root.h"
#include "support/document_fixture.h"
#include "support/head_simulator.h"
#include "support/wait_until.h"
#include "ui/imager_session.h"

namespace {

namespace fs = std::filesystem;
using document_test::DocumentFixture;
using test_support::HeadSimulator;
using test_support::WaitUntil;

// The session on a fresh device root, started as the application starts it.
class ImagerSessionTest : public DocumentFixture {
  protected:
    ImagerDocument& Start(bool expectPort) {
        session_ = std::make_unique<ImagerSession>(&messages_, &notifier_);
        EXPECT_EQ(session_->OpenPort(), expectPort);
        session_->Start();
        return session_->Document();
    }
    void Stop() { session_.reset(); }
    void TearDown() override { Stop(); }

    std::unique_ptr<ImagerSession> session_;
};

TEST_F(ImagerSessionTest, WithoutAHeadThePortStaysClosedAndTheThreadRuns) {
    ImagerDocument& doc = Start(false);
    EXPECT_TRUE(WaitUntil([&] { return notifier_.Contains(update_flag::kBattery); }));
    EXPECT_TRUE(notifier_.Contains(update_flag::kBlink));
    EXPECT_FALSE(notifier_.Contains(update_flag::kFrame));
    EXPECT_TRUE(messages_.Texts().empty());  // the application says so, not the session
    EXPECT_EQ(doc.CurrentRangeNumber(), 255);
    EXPECT_FALSE(fs::exists(SettingsPath()));
    Stop();
    EXPECT_EQ(document_test::ReadFile(SettingsPath()).size(), 585u);
}

// Stopping twice, or without a start, is harmless; nothing is written without a start.
TEST_F(ImagerSessionTest, StopIsSafeAtAnyTime) {
    {
        ImagerSession idle(&messages_, &notifier_);
        EXPECT_FALSE(idle.OpenPort());
    }
    EXPECT_FALSE(fs::exists(SettingsPath()));
    Start(false);
    session_->Stop();
    session_->Stop();
    EXPECT_TRUE(fs::exists(SettingsPath()));
}

TEST_F(ImagerSessionTest, DocumentShowsTheHeadFreezesResumesAndKeepsWhatItShowed) {
    HeadSimulator head({"--device-root"});
    ASSERT_TRUE(head.Started());
    ASSERT_TRUE(WaitUntil([] { return fs::exists(device_root::ComPort(1)); }));

    ImagerDocument& doc = Start(true);
    ASSERT_TRUE(WaitUntil([&] { return notifier_.Contains(update_flag::kFrame); }));
    EXPECT_TRUE(notifier_.Contains(update_flag::kSpan));
    ASSERT_TRUE(WaitUntil([&] { return doc.CurrentRangeNumber() != 255; }));
    ASSERT_TRUE(WaitUntil([&] { return !doc.RangeDescriptions().empty(); }));
    EXPECT_NE(doc.DisplayFrame(), ThermalFrame::Filled(2730));

    doc.SetFreezeTime(1162544700);
    doc.Freeze(true);
    const ThermalFrame held = doc.DisplayFrame();
    const DocumentRecord saved = ReadSettings();
    EXPECT_EQ(saved.displayFrame, held);
    EXPECT_EQ(saved.freezeTime, 1162544700);
    EXPECT_EQ(saved.spanLow, doc.SpanLow());
    EXPECT_EQ(saved.spanHigh, doc.SpanHigh());

    doc.ReturnToLive(true);
    notifier_.Take();
    ASSERT_TRUE(WaitUntil([&] { return notifier_.Contains(update_flag::kFrame); }));
    ASSERT_TRUE(WaitUntil([&] { return doc.DisplayFrame() != held; }));

    doc.Freeze(false);  // hold what is shown, then end as at program exit
    const ThermalFrame shown = doc.DisplayFrame();
    const std::uint16_t spanLow = doc.SpanLow();
    const std::uint16_t spanHigh = doc.SpanHigh();
    const std::uint16_t rangeLow = doc.RangeLow();
    const std::uint16_t rangeHigh = doc.RangeHigh();
    const std::uint8_t range = doc.CurrentRangeNumber();
    const std::string description = doc.RangeDescriptions().at(range - 1u);
    Stop();

    const DocumentRecord final = ReadSettings();
    EXPECT_EQ(final.displayFrame, shown);
    EXPECT_EQ(final.spanLow, spanLow);
    EXPECT_EQ(final.spanHigh, spanHigh);
    EXPECT_LE(final.spanLow + 20, final.spanHigh);
    EXPECT_EQ(final.rangeLow, rangeLow);
    EXPECT_EQ(final.rangeHigh, rangeHigh);
    // The current range's description is stored with the picture, two bytes a character.
    EXPECT_EQ(document_test::ReadFile(SettingsPath()).size(), 585u + 2 * description.size());
}

// The rows of the log file `file` from row `from` on, each split at its commas.
std::vector<std::vector<std::string>> LogRows(const fs::path& file, std::size_t from = 0) {
    std::ifstream in(file);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    for (std::size_t k = 0; std::getline(in, line); ++k) {
        std::vector<std::string> fields;
        std::stringstream split(line + ",");
        for (std::string field; std::getline(split, field, ',');) {
            fields.push_back(field);
        }
        if (k > from) {
            rows.push_back(fields);
        }
    }
    return rows;
}

// Columns of the imager's CSV log.
constexpr std::size_t kUnit = 4;
constexpr std::size_t kFrames = 5;
constexpr std::size_t kSpot1 = 14;
constexpr std::size_t kSpot2 = 15;

// The log goes on from the live frames while the picture is held and while a snapshot is
// browsed, with the live corrections and spots, not the snapshot's.
TEST_F(ImagerSessionTest, LogKeepsTheLiveFramesAndSettingsWhileHeldAndBrowsing) {
    HeadSimulator head({"--device-root", "--rate", "10"});
    ASSERT_TRUE(WaitUntil([] { return fs::exists(device_root::ComPort(1)); }));
    DocumentRecord fahrenheit;
    fahrenheit.temperatureUnit = temperature_unit::kFahrenheit;
    fahrenheit.secondSpotShown = false;
    document_test::WriteFile(root_.Host("\\My Documents\\Snapshots\\Snapshot 1 1-1-2006 10-00.snp"),
                             Archive(fahrenheit));
    const fs::path file = root_.Home() / "log.csv";
    session_ = std::make_unique<ImagerSession>(&messages_, &notifier_);
    session_->LogTo(file, std::chrono::milliseconds(200));
    ASSERT_TRUE(session_->OpenPort());
    session_->Start();
    ImagerDocument& doc = session_->Document();
    auto rowsWithFrames = [&](std::size_t from) {
        int count = 0;
        for (const auto& row : LogRows(file, from)) {
            count += row.at(kFrames) != "0" ? 1 : 0;
        }
        return count;
    };
    ASSERT_TRUE(WaitUntil([&] { return rowsWithFrames(0) >= 2; }));

    doc.Freeze(false);
    std::size_t from = LogRows(file).size();
    ASSERT_TRUE(WaitUntil([&] { return rowsWithFrames(from) >= 3; })) << "held";

    doc.BeginBrowsing();
    ASSERT_EQ(doc.TemperatureUnit(), temperature_unit::kFahrenheit);
    session_->UpdateLogSettings();  // as the application does at every update
    from = LogRows(file).size();
    ASSERT_TRUE(WaitUntil([&] { return rowsWithFrames(from) >= 3; })) << "browsing";
    EXPECT_FALSE(session_->LogFailure().has_value());
    Stop();
    for (const auto& row : LogRows(file, from)) {
        EXPECT_EQ(row.at(kUnit), "C") << "the live unit, not the snapshot's";
        if (row.at(kFrames) != "0") {
            EXPECT_FALSE(row.at(kSpot1).empty());
            EXPECT_FALSE(row.at(kSpot2).empty()) << "the live second spot is shown";
        }
    }
}

// The head goes away and comes back at the same place: the document hears of both, and
// frames flow again without a restart.
TEST_F(ImagerSessionTest, HeadThatGoesAwayAndComesBackIsTakenUpAgain) {
    auto head = std::make_unique<HeadSimulator>(std::vector<std::string>{"--device-root"});
    ASSERT_TRUE(WaitUntil([] { return fs::exists(device_root::ComPort(1)); }));
    ImagerDocument& doc = Start(true);
    ASSERT_TRUE(WaitUntil([&] { return notifier_.Contains(update_flag::kFrame); }));
    EXPECT_FALSE(doc.IsHeadAbsent());

    head.reset();  // the simulator closes its side and removes the link
    ASSERT_TRUE(WaitUntil([&] { return doc.IsHeadAbsent(); }));
    EXPECT_TRUE(notifier_.Contains(update_flag::kHead));
    EXPECT_TRUE(messages_.Texts().empty());

    head = std::make_unique<HeadSimulator>(std::vector<std::string>{"--device-root"});
    ASSERT_TRUE(WaitUntil([] { return fs::exists(device_root::ComPort(1)); }));
    notifier_.Take();
    ASSERT_TRUE(WaitUntil([&] { return notifier_.Contains(update_flag::kFrame); }));
    EXPECT_FALSE(doc.IsHeadAbsent());
    EXPECT_TRUE(notifier_.Contains(update_flag::kHead));
    EXPECT_TRUE(messages_.Texts().empty());
}

// A head that streams frames faster than the document polls still gets its range
// answers through: they never wait behind frames.
TEST_F(ImagerSessionTest, FastStreamingHeadStillDeliversEveryRangeDescription) {
    HeadSimulator head({"--device-root", "--rate", "30"});
    ASSERT_TRUE(head.Started());
    ASSERT_TRUE(WaitUntil([] { return fs::exists(device_root::ComPort(1)); }));

    ImagerDocument& doc = Start(true);
    ASSERT_TRUE(WaitUntil([&] { return doc.RangeDescriptions().size() == 3; }));
    ASSERT_TRUE(WaitUntil([&] { return notifier_.Contains(update_flag::kFrame); }));
}

// Another head with as many ranges but other texts and limits takes over: from then on
// the document and the next snapshot carry the new head's range.
TEST_F(ImagerSessionTest, ExchangedHeadBringsItsOwnRangesIntoTheNextSnapshot) {
    HeadSimulator head({"--device-root", "--ranges", "1", "--exchange-after", "2", "0x2222",
                        "--range", "0 ... 500 C", "--limits", "273:773"});
    ASSERT_TRUE(WaitUntil([] { return fs::exists(device_root::ComPort(1)); }));
    ImagerDocument& doc = Start(true);
    ASSERT_TRUE(WaitUntil([&] { return doc.RangeDescriptions().size() == 1; }));
    EXPECT_EQ(doc.RangeLow(), 2530);
    EXPECT_EQ(doc.RangeHigh(), 3730);

    ASSERT_TRUE(WaitUntil(
        [&] {
            const auto texts = doc.RangeDescriptions();
            return texts.size() == 1 && texts[0].rfind("0 ... 500 C", 0) == 0 &&
                   doc.RangeHigh() == 7730;
        },
        std::chrono::seconds(10)));
    EXPECT_EQ(doc.RangeLow(), 2730);

    doc.Freeze(false);
    doc.SaveNewSnapshot();
    const fs::path folder = root_.Host("\\My Documents\\Snapshots");
    std::vector<fs::path> files(fs::directory_iterator(folder), fs::directory_iterator{});
    ASSERT_EQ(files.size(), 1u);
    const DocumentRecord stored = Decode(document_test::ReadFile(files[0]));
    EXPECT_EQ(stored.rangeLow, 2730);
    EXPECT_EQ(stored.rangeHigh, 7730);
    EXPECT_EQ(stored.rangeDescription.rfind("0 ... 500 C", 0), 0u);
}

}  // namespace
