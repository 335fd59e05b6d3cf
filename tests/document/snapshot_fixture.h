#pragma once

// The fixture of the snapshot tests: a document over a device root whose snapshot
// folder the tests fill and read directly.

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "document/imager_document.h"
#include "support/document_fixture.h"

namespace document_test {

inline constexpr std::int64_t kThirdNovember2006At0905 = 1162544700;  // UTC, the tests' time zone

class SnapshotTest : public DocumentFixture {
  protected:
    std::filesystem::path Folder() const { return root_.Host("\\My Documents\\Snapshots"); }
    std::filesystem::path SnapshotFile(const std::string& name) const { return Folder() / name; }
    void WriteSnapshot(const std::string& name, const DocumentRecord& record) {
        document_test::WriteFile(SnapshotFile(name), Archive(record));
    }
    DocumentRecord ReadSnapshot(const std::string& name) const {
        return Decode(document_test::ReadFile(SnapshotFile(name)));
    }
    // The snapshot file names in the folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static DocumentRecord WithPalette(std::int16_t palette, std::int64_t captureTime) {
        DocumentRecord record;
        record.paletteNumber = palette;
        record.captureTime = captureTime;
        record.displayFrame = ThermalFrame::Filled(static_cast<std::uint16_t>(3000 + palette));
        return record;
    }
    // Three snapshots numbered 0, 3 and 7 showing palettes 0, 1 and 2.
    void WriteThreeSnapshots() {
        WriteSnapshot("Snapshot 0 1-1-2006 10-00.snp", WithPalette(0, 1000));
        WriteSnapshot("Snapshot 3 1-1-2006 10-01.snp", WithPalette(1, 2000));
        WriteSnapshot("Snapshot 7 1-1-2006 10-02.snp", WithPalette(2, 3000));
    }
    std::vector<std::pair<int, unsigned>> SaveQuestions(int count) const {
        return std::vector<std::pair<int, unsigned>>(static_cast<std::size_t>(count),
                                                     {129, message_box::kYesNo});
    }
};

}  // namespace document_test
