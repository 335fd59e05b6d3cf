#include "package_model.h"

#include <set>
#include <string_view>

#include "installer/crc32.h"

namespace package_model {

namespace {

constexpr std::string_view kMagic = "QVLPKG01";

// Reads little-endian numbers and byte runs; any read past the end sets `failed`.
struct Cursor {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
    bool failed = false;

    std::span<const std::uint8_t> Take(std::uint64_t count) {
        if (failed || count > bytes.size() - at) {
            failed = true;
            return {};
        }
        const auto run = bytes.subspan(at, static_cast<std::size_t>(count));
        at += static_cast<std::size_t>(count);
        return run;
    }
    std::uint64_t Number(int width) {
        const auto run = Take(static_cast<std::uint64_t>(width));
        std::uint64_t value = 0;
        for (int i = static_cast<int>(run.size()) - 1; i >= 0; --i) {
            value = value << 8 | run[static_cast<std::size_t>(i)];
        }
        return value;
    }
    std::string Text(std::size_t longest) {
        const std::uint64_t length = Number(2);
        failed = failed || length > longest;
        const auto run = Take(length);
        return std::string(run.begin(), run.end());
    }
};

bool PlainName(std::string_view name) {
    if (name.empty() || name.size() > 255 || name == "." || name == "..") {
        return false;
    }
    for (char c : name) {
        if (c == '/' || c == '\0' || c == '\\') {
            return false;
        }
    }
    return true;
}

// "\A\B": absolute, and no part is "." or "..".
bool PlainFolder(std::string_view folder) {
    if (folder.size() < 2 || folder[0] != '\\') {
        return false;
    }
    std::size_t start = 1;
    while (start <= folder.size()) {
        const std::size_t end = std::min(folder.find('\\', start), folder.size());
        const std::string_view part = folder.substr(start, end - start);
        if (!part.empty() && !PlainName(part)) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

std::uint32_t Checksum(const std::vector<std::uint8_t>& bytes) {
    Crc32 crc;
    crc.Update(bytes.data(), bytes.size());
    return crc.Value();
}

void Put(std::vector<std::uint8_t>& out, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

}  // namespace

std::optional<Package> Parse(std::span<const std::uint8_t> bytes) {
    Cursor in{bytes};
    const auto magic = in.Take(kMagic.size());
    Package package;
    package.folder = in.Text(1024);
    const std::uint64_t count = in.Number(4);
    bool valid =
        !in.failed &&
        std::string_view(reinterpret_cast<const char*>(magic.data()), magic.size()) == kMagic &&
        PlainFolder(package.folder);
    std::set<std::string> seen;
    for (std::uint64_t i = 0; valid && i < count; ++i) {
        File file;
        file.name = in.Text(255);
        file.mode = static_cast<std::uint32_t>(in.Number(4));
        const auto data = in.Take(in.Number(8));
        file.bytes.assign(data.begin(), data.end());
        const auto crc = static_cast<std::uint32_t>(in.Number(4));
        valid = !in.failed && PlainName(file.name) && file.mode <= 07777 &&
                crc == Checksum(file.bytes) && seen.insert(file.name).second;
        package.files.push_back(std::move(file));
    }
    if (!valid || in.at != bytes.size()) {
        return std::nullopt;
    }
    return package;
}

std::vector<std::uint8_t> Build(const Package& package) {
    std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
    Put(out, package.folder.size(), 2);
    out.insert(out.end(), package.folder.begin(), package.folder.end());
    Put(out, package.files.size(), 4);
    for (const File& file : package.files) {
        Put(out, file.name.size(), 2);
        out.insert(out.end(), file.name.begin(), file.name.end());
        Put(out, file.mode, 4);
        Put(out, file.bytes.size(), 8);
        out.insert(out.end(), file.bytes.begin(), file.bytes.end());
        Put(out, Checksum(file.bytes), 4);
    }
    return out;
}

}  // namespace package_model
