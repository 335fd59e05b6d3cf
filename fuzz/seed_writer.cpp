// Writes the seed corpus of every fuzz target: small valid inputs made with the
// project's own writers. Usage: quorvel-fuzz-seeds <folder>; one subfolder per target.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "document/archive_writer.h"
#include "document/document_archive.h"
#include "document/document_record.h"
#include "headsim/head_packets.h"
#include "package_model.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

void Write(const fs::path& folder, const std::string& name, const Bytes& bytes) {
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void Append(Bytes& stream, const Bytes& body) {
    const Bytes wire = head_packets::Wrap(body);
    stream.insert(stream.end(), wire.begin(), wire.end());
}

// A head of type 71 announcing two ranges, the first a high-temperature one with its own
// limits, then frames (pixels 0x0AAA need escapes) from two serial numbers.
void WriteLinkSeeds(const fs::path& folder) {
    ThermalFrame frame = ThermalFrame::Filled(kEmptyPictureValue);
    frame[17] = 0xAAAA;
    Bytes single;
    Append(single, head_packets::FrameBody(71, 1, 0x1234, frame));
    Write(folder, "frame", single);
    Bytes stream{0x01};
    Append(stream, head_packets::RangeCountBody(71, 2));
    Append(stream, head_packets::RangeDescriptionBody(71, 1, "Range 1: -10..1000  H", 263, 1273));
    Append(stream, head_packets::RangeDescriptionBody(61, 2, "Range 2", 0, 0));
    Append(stream, head_packets::FrameBody(71, 1, 0x1234, frame));
    Append(stream, head_packets::FrameBody(96, 2, 0x1235, frame));
    Write(folder, "session", stream);
}

Bytes Archive(const DocumentRecord& record) {
    ArchiveWriter writer;
    document_archive::Store(record, writer);
    return writer.Bytes();
}

void WriteArchiveSeeds(const fs::path& folder) {
    Write(folder, "default", Archive(DocumentRecord{}));  // the 585-byte default
    DocumentRecord noted;
    noted.snapshotNote = "Ofen 3 \u00b0C";
    noted.rangeDescription = "Range 1";
    noted.secondSpotShown = false;
    noted.interpolatedMode = true;
    Write(folder, "noted", Archive(noted));
}

void WriteSnapshotSeeds(const fs::path& folder) {
    auto text = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
    Write(folder, "numbers",
          text("\x02\x0a\x24\x09\x05"
               "Snapshot 0 1-1-2006 10-00.snp\nSnapshot 7 3-11-2006 09-05.snp\n"
               "Snapshot x.snp\nnotes.txt"));
    Write(folder, "large", text("\x01\x01\x01\x01\x01Snapshot 999999999998 1-1-2006 10-00.snp"));
    Write(folder, "odd", text("\x00\x00\x00\x00\x00snapshot 012 a.SNP\nSnapshot  5.snp"));
}

void WritePackageSeeds(const fs::path& folder) {
    package_model::Package package{"\\Program Files\\Therlix Imager", {}};
    package.files.push_back({"quorvel-imager", 0755, {0x7F, 'E', 'L', 'F'}});
    package.files.push_back({"notes.txt", 0644, {'h', 'i', '\n'}});
    Write(folder, "valid", package_model::Build(package));
    Write(folder, "built", {0x01, 0x02, 0x44, 0x00, 'a', 'b', 'c', 'd', 'e', 'f'});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: quorvel-fuzz-seeds <folder>\n";
        return 2;
    }
    const fs::path base = argv[1];
    WriteLinkSeeds(base / "framer_protocol");
    WriteArchiveSeeds(base / "archive");
    WriteSnapshotSeeds(base / "snapshot_name");
    WritePackageSeeds(base / "package_reader");
    return 0;
}
