#include "snap/snap_run.h"

#include <ostream>

#include "palette/palette_set.h"
#include "platform/file_error.h"
#include "platform/whole_file.h"
#include "snap/csv_export.h"
#include "snap/input_files.h"
#include "snap/output_naming.h"
#include "snap/png_export.h"
#include "snap/snap_options.h"
#include "snap/snapshot_file.h"
#include "snap/snapshot_info.h"

namespace {

using Command = SnapOptions::Command;

// What every file of one run shares.
struct RunContext {
    const SnapOptions& options;
    const StringResources* strings;
    const PaletteSet& palettes;
    bool severalInputs;
    std::ostream& out;
};

void WriteWhole(const std::filesystem::path& input, const std::filesystem::path& output,
                std::span<const std::uint8_t> bytes) {
    try {
        whole_file::WriteAtomically(output, bytes);
    } catch (const FileError& e) {
        throw SnapError(input, "cannot write " + output.string() + ": " + e.what());
    }
}

std::filesystem::path OutputFor(const RunContext& run, const std::filesystem::path& input,
                                const char* extension) {
    return output_naming::OutputFor(input, extension, run.options.output, run.severalInputs);
}

void ExportFile(const RunContext& run, const SnapshotFile& file) {
    const SnapOptions& o = run.options;
    if (o.command == Command::kInfo) {
        run.out << (o.json ? snapshot_info::Json(file, run.palettes) + "\n"
                           : snapshot_info::Text(file, run.palettes) + "\n");
    } else if (o.command == Command::kCsv) {
        const std::string text = csv_export::Text(file, {o.raw, o.unit});
        WriteWhole(file.path, OutputFor(run, file.path, ".csv"),
                   {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    } else {
        const QByteArray png =
            png_export::Encode(file, {o.scale, o.legend}, run.palettes, run.strings);
        if (png.isEmpty()) {
            throw SnapError(file.path, "the picture could not be encoded as PNG");
        }
        WriteWhole(file.path, OutputFor(run, file.path, ".png"),
                   {reinterpret_cast<const std::uint8_t*>(png.constData()),
                    static_cast<std::size_t>(png.size())});
    }
}

}  // namespace

int snap_run::Run(const SnapOptions& options, const StringResources* strings, std::ostream& out,
                  std::ostream& err) {
    const PaletteSet palettes;
    const auto files = input_files::Expand(options.inputs);
    const RunContext run{options, strings, palettes, files.size() > 1, out};
    int result = kAllDone;
    for (const std::filesystem::path& path : files) {
        try {
            ExportFile(run, snapshot_file::Load(path));
        } catch (const SnapError& e) {
            err << "quorvel-snap: " << e.Path().string() << ": " << e.what() << "\n";
            result = kSomeFailed;
        }
    }
    return result;
}
