#include "installer/package_writer.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <set>
#include <stdexcept>

#include "installer/crc32.h"
#include "installer/output_file.h"
#include "installer/package_format.h"

namespace {

template <typename Number>
void WriteNumber(OutputFile& file, Number value) {
    std::array<unsigned char, sizeof(Number)> bytes{};
    for (std::size_t i = 0; i < sizeof(Number); ++i) {
        bytes[i] = static_cast<unsigned char>((value >> (8 * i)) & 0xFFu);
    }
    file.Write(bytes.data(), bytes.size());
}

void WriteText(OutputFile& file, std::string_view text) {
    WriteNumber(file, static_cast<std::uint16_t>(text.size()));
    file.Write(text.data(), text.size());
}

struct SourceFile {
    std::uint32_t mode = 0;
    std::uint64_t size = 0;
};

SourceFile Inspect(const std::filesystem::path& source) {
    struct stat status {};
    if (stat(source.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        throw std::runtime_error(source.string() + " is not a readable file");
    }
    return {static_cast<std::uint32_t>(status.st_mode) & package_format::kModeMask,
            static_cast<std::uint64_t>(status.st_size)};
}

void WriteEntry(OutputFile& file, const PackageWriter::Input& input) {
    const SourceFile source = Inspect(input.source);
    std::ifstream in(input.source, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + input.source.string());
    }
    WriteText(file, input.name);
    WriteNumber(file, source.mode);
    WriteNumber(file, source.size);

    Crc32 crc;
    std::array<char, 64 * 1024> buffer{};
    std::uint64_t left = source.size;
    while (left > 0) {
        const auto wanted =
            static_cast<std::streamsize>(std::min<std::uint64_t>(left, buffer.size()));
        in.read(buffer.data(), wanted);
        if (in.gcount() != wanted) {
            throw std::runtime_error(input.source.string() + " changed while it was packed");
        }
        crc.Update(buffer.data(), static_cast<std::size_t>(wanted));
        file.Write(buffer.data(), static_cast<std::size_t>(wanted));
        left -= static_cast<std::uint64_t>(wanted);
    }
    WriteNumber(file, crc.Value());
}

void CheckInputs(const std::string& folder, const std::vector<PackageWriter::Input>& inputs) {
    if (!package_format::IsSafeFolder(folder)) {
        throw std::runtime_error("not a usable install folder: " + folder);
    }
    std::set<std::string> names;
    for (const PackageWriter::Input& input : inputs) {
        if (!package_format::IsSafeName(input.name)) {
            throw std::runtime_error("not a usable file name: " + input.name);
        }
        if (!names.insert(input.name).second) {
            throw std::runtime_error("file name given twice: " + input.name);
        }
    }
}

}  // namespace

std::string PackageWriter::HandheldFolder(std::string_view folder) {
    std::string handheld(folder);
    for (char& c : handheld) {
        if (c == '/') {
            c = '\\';
        }
    }
    return handheld;
}

void PackageWriter::Write(const std::filesystem::path& output, std::string_view installFolder,
                          const std::vector<Input>& inputs) {
    const std::string folder = HandheldFolder(installFolder);
    CheckInputs(folder, inputs);

    OutputFile file(output);
    file.Write(package_format::kMagic.data(), package_format::kMagic.size());
    WriteText(file, folder);
    WriteNumber(file, static_cast<std::uint32_t>(inputs.size()));
    for (const Input& input : inputs) {
        WriteEntry(file, input);
    }
    file.Commit(0644);
}
