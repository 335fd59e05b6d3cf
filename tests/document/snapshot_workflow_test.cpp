#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/imager_document.h"
#include "document/snapshot_fixture.h"

namespace {

using document_test::kThirdNovember2006At0905;

const std::vector<std::string> kNames{"Snapshot 0 3-11-2006 09-05.snp",
                                      "Snapshot 1 3-11-2006 10-05.snp",
                                      "Snapshot 2 3-11-2006 11-05.snp"};

// Hold, save, browse, change, delete and end, with the files on disk checked after
// each phase.
class SnapshotWorkflowTest : public document_test::SnapshotTest {
  protected:
    // Three held pictures an hour apart, each with a palette changed while held.
    void SaveThreeHeldPictures(ImagerDocument& doc) {
        for (int k = 0; k < 3; ++k) {
            doc.SetFreezeTime(kThirdNovember2006At0905 + 3600 * k - 60);
            doc.Freeze(true);
            doc.SetPaletteNumber(static_cast<std::int16_t>(k));  // changed while held
            doc.SetCaptureTime(kThirdNovember2006At0905 + 3600 * k);
            doc.SaveNewSnapshot();
            EXPECT_TRUE(doc.IsLive());
            EXPECT_EQ(doc.PaletteNumber(), 1);  // back to the live settings
        }
        ASSERT_EQ(Names(), kNames);
        for (int k = 0; k < 3; ++k) {
            const DocumentRecord stored = ReadSnapshot(kNames[static_cast<std::size_t>(k)]);
            EXPECT_EQ(stored.paletteNumber, k);
            EXPECT_EQ(stored.captureTime, kThirdNovember2006At0905 + 3600 * k);
            EXPECT_EQ(stored.freezeTime, kThirdNovember2006At0905 + 3600 * k - 60);
            EXPECT_EQ(stored.spanLow, 2920);
        }
    }

    // The middle snapshot gets a narrower span and a note; Yes writes them back.
    void ChangeTheMiddleSnapshot(ImagerDocument& doc) {
        doc.BeginBrowsing();
        EXPECT_EQ(doc.SnapshotTitle(), "11/03/06 - 09:05:00");
        doc.NextSnapshot();
        doc.NextSnapshot();
        EXPECT_EQ(doc.SnapshotTitle(), "11/03/06 - 11:05:00");
        doc.PreviousSnapshot(false);
        EXPECT_EQ(doc.SnapshotIndex(), 1);
        doc.NarrowSpan();
        doc.SetSnapshotNote("Welle");
        messages_.Answer(message_box::kIdYes);
        doc.NextSnapshot();
        const DocumentRecord changed = ReadSnapshot(kNames[1]);
        EXPECT_EQ(changed.snapshotNote, "Welle");
        EXPECT_EQ(changed.spanLow, 2930);
        EXPECT_EQ(changed.paletteNumber, 1);
        EXPECT_EQ(ReadSnapshot(kNames[0]).snapshotNote, "");
        EXPECT_EQ(ReadSnapshot(kNames[2]).snapshotNote, "");
        EXPECT_EQ(doc.SnapshotIndex(), 2);
    }

    // Deleting every snapshot returns to live pictures with the live settings.
    void DeleteEverySnapshot(ImagerDocument& doc) {
        doc.DeleteSnapshot();
        EXPECT_EQ(Names(), (std::vector<std::string>{kNames[0], kNames[1]}));
        EXPECT_EQ(doc.SnapshotIndex(), 1);
        EXPECT_EQ(doc.SnapshotNote(), "Welle");
        doc.DeleteSnapshot();
        EXPECT_EQ(Names(), std::vector<std::string>{kNames[0]});
        doc.DeleteSnapshot();
        EXPECT_TRUE(Names().empty());
        EXPECT_TRUE(doc.IsLive());
        EXPECT_EQ(doc.SnapshotIndex(), -1);
        EXPECT_EQ(doc.PaletteNumber(), 1);
        EXPECT_EQ(doc.SpanLow(), 2920);
        EXPECT_EQ(doc.SpanHigh(), 3140);
        EXPECT_EQ(doc.SnapshotNote(), "");
    }
};

TEST_F(SnapshotWorkflowTest, WholePictureWorkflow) {
    ImagerDocument& doc = Open();
    doc.SetPaletteNumber(1);
    doc.WidenSpan();  // live settings: palette 1, span 2920..3140
    SaveThreeHeldPictures(doc);
    ChangeTheMiddleSnapshot(doc);
    DeleteEverySnapshot(doc);
    EXPECT_EQ(messages_.Strings(), SaveQuestions(1));
    Close();
    const DocumentRecord settings = ReadSettings();
    EXPECT_EQ(settings.paletteNumber, 1);
    EXPECT_EQ(settings.spanLow, 2920);
}

}  // namespace
