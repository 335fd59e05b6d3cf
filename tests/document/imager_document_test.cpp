#include <gtest/gtest.h>
#include <sys/stat.h>

#include "document/imager_document.h"
#include "document/update_flags.h"
#include "support/document_fixture.h"

namespace {

namespace fs = std::filesystem;
using document_test::DocumentFixture;
using document_test::RecordingView;
using Hints = std::vector<std::uint32_t>;

class ImagerDocumentTest : public DocumentFixture {};

TEST_F(ImagerDocumentTest, StartsWithTheStartValuesAndCreatesItsFolders) {
    ImagerDocument& doc = Open();
    EXPECT_EQ(doc.PaletteNumber(), 1);
    EXPECT_EQ(doc.SpanLow(), 2930);
    EXPECT_EQ(doc.SpanHigh(), 3130);
    EXPECT_EQ(doc.SpotPosition(0), 135);
    EXPECT_EQ(doc.SpotPosition(1), 136);
    EXPECT_TRUE(doc.IsSecondSpotShown());
    EXPECT_EQ(doc.Emissivity(), 1.0f);
    EXPECT_EQ(doc.EmissivityFactor(), 1.0f);
    EXPECT_EQ(doc.TemperatureUnit(), 0);
    EXPECT_EQ(doc.BackgroundTemperature(), 200);
    EXPECT_EQ(doc.IntegrationCount(), 1);
    EXPECT_TRUE(doc.IsAutoSpanAllowed());
    EXPECT_TRUE(doc.IsAutoSpanOn());
    EXPECT_EQ(doc.SnapshotIndex(), -1);
    EXPECT_TRUE(doc.IsLive());
    EXPECT_FALSE(doc.IsSnapshotModified());
    EXPECT_EQ(doc.SnapshotNote(), "");
    EXPECT_EQ(doc.SnapshotTitle(), "");
    EXPECT_EQ(doc.SnapshotFolder(), "\\My Documents\\Snapshots\\");
    EXPECT_EQ(doc.DisplayFrame(), ThermalFrame::Filled(2730));
    EXPECT_EQ(doc.RawFrame(), ThermalFrame::Filled(2730));
    EXPECT_EQ(doc.FreezeTime(), 0);
    // No head: range unknown, the standard limits.
    EXPECT_EQ(doc.CurrentRangeNumber(), 255);
    EXPECT_EQ(doc.RangeLow(), 2630);
    EXPECT_EQ(doc.RangeHigh(), 5730);
    EXPECT_TRUE(doc.RangeDescriptions().empty());
    EXPECT_TRUE(fs::is_directory(root_.Host("\\My Documents\\Snapshots")));
    EXPECT_TRUE(fs::is_directory(root_.Host("\\Program Files\\Therlix Imager")));
    EXPECT_TRUE(messages_.Texts().empty());
}

TEST_F(ImagerDocumentTest, HeadAndAcquisitionEventsArePostedAsUpdateFlags) {
    ImagerDocument& doc = Open();
    notifier_.Take();
    doc.RangeInformationChanged();
    doc.Notice(AcquisitionEvent::kSpanFollowed);
    doc.Notice(AcquisitionEvent::kFrameTaken);
    doc.Notice(AcquisitionEvent::kBlink);
    doc.Notice(AcquisitionEvent::kBatteryCheck);
    EXPECT_EQ(notifier_.Take(), (Hints{1024, 4, 1, 256, 128}));
}

TEST_F(ImagerDocumentTest, FirstRunWritesThe585ByteDefaultFile) {
    EXPECT_FALSE(fs::exists(SettingsPath()));
    const std::int64_t captured = Open().CaptureTime();
    Close();
    EXPECT_EQ(document_test::ReadFile(SettingsPath()),
              document_test::DefaultArchive(captured, 2630, 5730));
}

TEST_F(ImagerDocumentTest, SettingsFileKeepsDisplaySettingsButNotCorrections) {
    DocumentRecord saved;
    saved.emissivity = 0.9f;
    saved.emissivityFactor = 1.0267f;
    saved.backgroundTemperature = 250;
    saved.integrationCount = 4;
    saved.snapshotNote = "old note";
    saved.paletteNumber = 2;
    saved.temperatureUnit = 1;
    saved.spanLow = 2800;
    saved.spanHigh = 3300;
    saved.spotPosition1 = 10;
    saved.spotPosition2 = 20;
    saved.secondSpotShown = false;
    saved.displayFrame = ThermalFrame::Filled(3333);
    saved.captureTime = 1000;
    saved.freezeTime = 2000;
    saved.rangeLow = 100;
    saved.rangeHigh = 200;
    WriteSettings(saved);

    ImagerDocument& doc = Open();
    EXPECT_EQ(doc.Emissivity(), 1.0f);
    EXPECT_EQ(doc.EmissivityFactor(), 1.0f);
    EXPECT_EQ(doc.BackgroundTemperature(), 200);
    EXPECT_EQ(doc.IntegrationCount(), 1);
    EXPECT_EQ(doc.SnapshotNote(), "");
    EXPECT_EQ(doc.DisplayFrame(), ThermalFrame::Filled(2730));
    EXPECT_EQ(doc.PaletteNumber(), 2);
    EXPECT_EQ(doc.TemperatureUnit(), 1);
    EXPECT_EQ(doc.SpanLow(), 2800);
    EXPECT_EQ(doc.SpanHigh(), 3300);
    EXPECT_EQ(doc.SpotPosition(0), 10);
    EXPECT_EQ(doc.SpotPosition(1), 136);  // one spot is stored when the second is hidden
    EXPECT_FALSE(doc.IsSecondSpotShown());
    EXPECT_EQ(doc.CaptureTime(), 1000);
    EXPECT_EQ(doc.FreezeTime(), 2000);
    EXPECT_EQ(doc.RangeLow(), 2630);  // live: the head's limits, not the recorded ones
}

TEST_F(ImagerDocumentTest, ZeroLengthSettingsFileIsRemovedAndIgnored) {
    document_test::WriteFile(SettingsPath(), {});
    ImagerDocument& doc = Open();
    EXPECT_FALSE(fs::exists(SettingsPath()));
    EXPECT_EQ(doc.PaletteNumber(), 1);
    EXPECT_EQ(doc.SpanLow(), 2930);
}

// A FIFO as the settings file is refused at once like an unreadable file: the start
// values, and a proper file takes its place at the end.
TEST_F(ImagerDocumentTest, FifoAsTheSettingsFileGivesTheStartValues) {
    fs::create_directories(SettingsPath().parent_path());
    ASSERT_EQ(::mkfifo(SettingsPath().c_str(), 0600), 0);
    ImagerDocument& doc = Open();
    EXPECT_EQ(doc.PaletteNumber(), 1);
    EXPECT_EQ(doc.SpanLow(), 2930);
    Close();
    EXPECT_EQ(fs::file_size(SettingsPath()), 585u);
}

TEST_F(ImagerDocumentTest, FreezeThenDiscardRestoresTheSpanOfTheFreeze) {
    ImagerDocument& doc = Open();
    doc.SetFreezeTime(1234);
    doc.Freeze(true);
    EXPECT_FALSE(doc.IsLive());
    EXPECT_EQ(ReadSettings().freezeTime, 1234);
    doc.NarrowSpan();
    doc.ShiftSpanUp();
    EXPECT_EQ(doc.SpanLow(), 2950);
    notifier_.Take();
    doc.ReturnToLive(true);
    EXPECT_EQ(doc.SpanLow(), 2930);
    EXPECT_EQ(doc.SpanHigh(), 3130);
    EXPECT_TRUE(doc.IsLive());
    EXPECT_TRUE(notifier_.Contains(update_flag::kAll));
}

// Checks, while the settings file is read back, that the picture is not live yet.
class StateCheckingView : public RecordingView {
  public:
    explicit StateCheckingView(const ImagerDocument& doc) : doc_(doc) {}
    void ShowChanges(std::uint32_t hint) override {
        RecordingView::ShowChanges(hint);
        if (hint == update_flag::kRange) {
            indexWhileReading = doc_.SnapshotIndex();
            liveWhileReading = doc_.IsLive();
        }
    }
    int indexWhileReading = 99;
    bool liveWhileReading = true;

  private:
    const ImagerDocument& doc_;
};

TEST_F(ImagerDocumentTest, ReturnToLiveReadsTheFileBeforeTheLiveFlagIsSet) {
    ImagerDocument& doc = Open();
    StateCheckingView view(doc);
    doc.AddView(&view);
    doc.Freeze(true);
    doc.ReturnToLive(true);
    EXPECT_EQ(view.indexWhileReading, -1);
    EXPECT_FALSE(view.liveWhileReading);
    EXPECT_TRUE(doc.IsLive());

    view.hints.clear();
    doc.Freeze(false);
    doc.ReturnToLive(false);  // only resumes
    EXPECT_TRUE(view.hints.empty());
    EXPECT_TRUE(doc.IsLive());
}

TEST_F(ImagerDocumentTest, EmissivityOutsideItsRangeBecomesOne) {
    ImagerDocument& doc = Open();
    notifier_.Take();
    doc.SetEmissivity(0.5f);
    EXPECT_EQ(doc.Emissivity(), 0.5f);
    EXPECT_NEAR(doc.EmissivityFactor(), 1.189207f, 1e-6f);
    for (float bad : {0.0f, 1.5f, -0.2f, std::numeric_limits<float>::quiet_NaN()}) {
        doc.SetEmissivity(bad);
        EXPECT_EQ(doc.Emissivity(), 1.0f) << bad;
        EXPECT_EQ(doc.EmissivityFactor(), 1.0f) << bad;
    }
    EXPECT_TRUE(doc.IsSnapshotModified());
    const Hints hints = notifier_.Take();
    EXPECT_EQ(std::count(hints.begin(), hints.end(), update_flag::kCorrection), 5);
}

TEST_F(ImagerDocumentTest, SettersAnnounceTheirChange) {
    ImagerDocument& doc = Open();
    const auto posted = [&](const std::function<void()>& change) {
        notifier_.Take();
        change();
        Hints hints = notifier_.Take();
        std::erase_if(hints, [](std::uint32_t h) { return h == 128 || h == 256; });
        return hints;
    };
    EXPECT_EQ(posted([&] { doc.SetSecondSpotShown(false); }), Hints{64});
    EXPECT_FALSE(doc.IsSnapshotModified());
    EXPECT_EQ(posted([&] { doc.SetIntegrationCount(5); }), Hints{});
    EXPECT_EQ(posted([&] { doc.SetAutoSpanAllowed(false); }), Hints{});
    EXPECT_EQ(posted([&] { doc.SetAutoSpanOn(false); }), Hints{});
    EXPECT_EQ(posted([&] { doc.SetSnapshotFolder("\\Elsewhere"); }), Hints{});
    EXPECT_FALSE(doc.IsSnapshotModified());
    EXPECT_EQ(posted([&] { doc.SetPaletteNumber(0); }), Hints{32});
    EXPECT_EQ(posted([&] { doc.SetTemperatureUnit(2); }), Hints{16});
    EXPECT_EQ(posted([&] { doc.SetBackgroundTemperature(-15); }), Hints{8});
    EXPECT_EQ(posted([&] { doc.SetSnapshotNote("Motor"); }), Hints{512});
    EXPECT_TRUE(doc.IsSnapshotModified());
    EXPECT_EQ(doc.IntegrationCount(), 5);
    EXPECT_FALSE(doc.IsAutoSpanAllowed());
    EXPECT_FALSE(doc.IsAutoSpanOn());
    EXPECT_EQ(doc.SnapshotFolder(), "\\Elsewhere");
    EXPECT_EQ(doc.PaletteNumber(), 0);
    EXPECT_EQ(doc.TemperatureUnit(), 2);
    EXPECT_EQ(doc.BackgroundTemperature(), -15);
    EXPECT_EQ(doc.SnapshotNote(), "Motor");
}

TEST_F(ImagerDocumentTest, SpotsStayInsideThePicture) {
    ImagerDocument& doc = Open();
    RecordingView view;
    doc.AddView(&view);
    DocumentRecord record;
    record.spotPosition1 = 0;
    record.spotPosition2 = 255;
    LoadIntoDocument(record);
    view.hints.clear();
    for (SpotDirection direction : {SpotDirection::kLeft, SpotDirection::kUp}) {
        doc.MoveSpot(0, direction);
    }
    for (SpotDirection direction : {SpotDirection::kRight, SpotDirection::kDown}) {
        doc.MoveSpot(1, direction);
    }
    EXPECT_EQ(doc.SpotPosition(0), 0);
    EXPECT_EQ(doc.SpotPosition(1), 255);
    EXPECT_EQ(view.hints, (Hints{2, 2, 2, 2}));
    EXPECT_TRUE(doc.IsSnapshotModified());

    doc.MoveSpot(0, SpotDirection::kDown);  // down: 16
    doc.MoveSpot(0, SpotDirection::kLeft);  // left at the left edge: stays
    EXPECT_EQ(doc.SpotPosition(0), 16);
    doc.MoveSpot(0, SpotDirection::kUp);
    for (int i = 0; i < 20; ++i) {
        doc.MoveSpot(0, SpotDirection::kRight);  // a move that stays is still announced
    }
    EXPECT_EQ(doc.SpotPosition(0), 15);
    EXPECT_EQ(doc.SpotPosition(1), 255);
    EXPECT_EQ(view.hints.size(), 4u + 23u);
}

TEST_F(ImagerDocumentTest, SpanMovesUseTheHeadLimitsAndAnnounceTheSpan) {
    ImagerDocument& doc = Open();
    RecordingView view;
    doc.AddView(&view);
    doc.WidenSpan();
    EXPECT_EQ(doc.SpanLow(), 2920);
    EXPECT_EQ(doc.SpanHigh(), 3140);
    doc.NarrowSpan();
    EXPECT_EQ(doc.SpanLow(), 2930);
    EXPECT_EQ(doc.SpanHigh(), 3130);

    DocumentRecord record;
    record.spanLow = 2630;
    record.spanHigh = 2830;
    LoadIntoDocument(record);
    view.hints.clear();
    doc.ShiftSpanDown();  // already at the range's lower limit
    EXPECT_EQ(doc.SpanLow(), 2630);
    EXPECT_EQ(doc.SpanHigh(), 2830);
    doc.ShiftSpanUp();
    EXPECT_EQ(doc.SpanLow(), 2640);
    EXPECT_EQ(view.hints, (Hints{4, 4}));
    EXPECT_TRUE(doc.IsSnapshotModified());
}

TEST_F(ImagerDocumentTest, FitSpanToFrameUsesTheSignedExtremes) {
    ImagerDocument& doc = Open();
    RecordingView view;
    doc.AddView(&view);
    doc.FitSpanToFrame();
    EXPECT_EQ(doc.SpanLow(), 2730);
    EXPECT_EQ(doc.SpanHigh(), 2730);
    EXPECT_FALSE(doc.IsSnapshotModified());

    DocumentRecord record;
    record.displayFrame = ThermalFrame::Filled(3000);
    record.displayFrame[5] = 2500;
    record.displayFrame[6] = 40000;  // negative as a signed value: the smallest
    record.displayFrame[7] = 3500;
    LoadIntoDocument(record);
    view.hints.clear();
    doc.FitSpanToFrame();
    EXPECT_EQ(doc.SpanLow(), 40000);
    EXPECT_EQ(doc.SpanHigh(), 3500);
    EXPECT_EQ(view.hints, Hints{4});
}

TEST_F(ImagerDocumentTest, ViewModesTravelWithTheArchive) {
    ImagerDocument& doc = Open();
    RecordingView first;
    RecordingView second;
    doc.AddView(&first);
    doc.AddView(&second);
    first.interpolated = true;
    first.edgeFlag = true;
    ArchiveWriter writer;
    doc.Store(writer);
    const DocumentRecord stored = Decode(writer.Bytes());
    EXPECT_EQ(stored.interpolatedMode, true);
    EXPECT_EQ(stored.edgeRepair, true);

    DocumentRecord record;
    record.interpolatedMode = false;
    record.edgeRepair = false;
    first.edgeFlag = true;
    second.edgeFlag = true;
    second.interpolated = true;
    LoadIntoDocument(record);
    EXPECT_FALSE(first.interpolated);
    EXPECT_TRUE(second.interpolated);  // only the first view's mode is set
    EXPECT_FALSE(first.edgeFlag);
    EXPECT_FALSE(second.edgeFlag);
    EXPECT_EQ(first.hints.back(), update_flag::kRange);
    EXPECT_EQ(second.hints.back(), update_flag::kRange);

    doc.SetEdgeRepaired(true);
    EXPECT_EQ(first.edgeRepaired, 1);
    EXPECT_EQ(second.edgeRepaired, 1);
}

TEST_F(ImagerDocumentTest, CutArchiveShowsTheEmptyPictureAndKeepsWhatWasRead) {
    ImagerDocument& doc = Open();
    RecordingView view;
    doc.AddView(&view);
    DocumentRecord record;
    record.paletteNumber = 0;
    record.displayFrame = ThermalFrame::Filled(3100);
    record.captureTime = 77;
    auto bytes = Archive(record);
    bytes.resize(300);
    ArchiveReader reader(bytes);
    doc.Load(reader);
    EXPECT_EQ(doc.PaletteNumber(), 0);
    EXPECT_EQ(doc.DisplayFrame(), ThermalFrame::Filled(2730));
    EXPECT_EQ(doc.RawFrame(), ThermalFrame::Filled(2730));
    EXPECT_NE(doc.CaptureTime(), 77);
    EXPECT_EQ(view.hints, Hints{update_flag::kRange});
}

TEST_F(ImagerDocumentTest, UnsafeStoredValuesAreMadeSafe) {
    DocumentRecord record;
    record.integrationCount = 99;
    record.paletteNumber = 7;
    ImagerDocument& doc = Open();
    WriteSettings(record);
    doc.ReturnToLive(true);
    EXPECT_EQ(doc.IntegrationCount(), 10);
    EXPECT_EQ(doc.PaletteNumber(), 7);  // kept; the palette look-up guards it
    record.integrationCount = -2;
    WriteSettings(record);
    doc.ReturnToLive(true);
    EXPECT_EQ(doc.IntegrationCount(), 1);
}

TEST_F(ImagerDocumentTest, SettingsFolderThatCannotTakeTheFileIsSilent) {
    ImagerDocument& doc = Open();
    fs::remove_all(root_.Host("\\Program Files"));
    document_test::WriteFile(root_.Host("\\Program Files"), std::vector<std::uint8_t>{1});
    EXPECT_NO_THROW(doc.SaveSettings());
    EXPECT_NO_THROW(doc.LoadSettings());
    EXPECT_NO_THROW(Close());
}

}  // namespace
