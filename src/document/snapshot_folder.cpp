#include "document/snapshot_folder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <system_error>

#include "platform/device_root.h"
#include "platform/file_error.h"
#include "platform/local_time.h"
#include "platform/whole_file.h"

namespace {

constexpr std::string_view kPrefix = "Snapshot ";
constexpr std::string_view kExtension = ".snp";
// Numbers are read up to this value; larger ones are taken as this.
constexpr std::int64_t kLargestNumber = 999'999'999'999;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// "Snapshot *.snp", matched without regard to case as the handheld's file system does.
bool MatchesSnapshotPattern(std::string_view name) {
    return name.size() >= kPrefix.size() + kExtension.size() &&
           EqualsIgnoringCase(name.substr(0, kPrefix.size()), kPrefix) &&
           EqualsIgnoringCase(name.substr(name.size() - kExtension.size()), kExtension);
}

// The N of a name matching "Snapshot N *.snp", where N is written as "%d" writes it.
std::optional<std::int64_t> PatternNumber(std::string_view name) {
    if (!MatchesSnapshotPattern(name)) {
        return std::nullopt;
    }
    const std::string_view rest = name.substr(kPrefix.size());
    std::size_t digits = 0;
    while (digits < rest.size() && std::isdigit(static_cast<unsigned char>(rest[digits]))) {
        ++digits;
    }
    const bool canonical = digits > 0 && (digits == 1 || rest[0] != '0');
    // The space after the number must lie before the extension.
    if (!canonical || digits + 1 + kExtension.size() > rest.size() || rest[digits] != ' ') {
        return std::nullopt;
    }
    if (digits > 12) {
        return std::nullopt;  // beyond any number this program writes
    }
    return SnapshotFolder::NumberOf(name);
}

}  // namespace

SnapshotFolder::SnapshotFolder(std::string_view handheldFolder) : folder_(handheldFolder) {
    if (folder_.empty() || (folder_.back() != '\\' && folder_.back() != '/')) {
        folder_.push_back('\\');
    }
}

SnapshotFolder SnapshotFolder::OnHost(std::filesystem::path hostFolder) {
    SnapshotFolder folder((hostFolder / "").string());
    folder.hostFolder_ = std::move(hostFolder);
    return folder;
}

std::filesystem::path SnapshotFolder::HostFolder() const {
    return hostFolder_ ? *hostFolder_ : device_root::Map(folder_);
}

std::vector<std::filesystem::path> SnapshotFolder::Matching() const {
    std::vector<std::filesystem::path> found;
    std::error_code error;
    std::filesystem::directory_iterator entries(HostFolder(), error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::filesystem::path& path = entries->path();
        if (MatchesSnapshotPattern(path.filename().string())) {
            found.push_back(path);
        }
    }
    return found;
}

std::vector<SnapshotFolder::NumberedFile> SnapshotFolder::Numbered() const {
    std::vector<NumberedFile> numbered;
    for (const auto& path : Matching()) {
        if (const auto number = PatternNumber(path.filename().string())) {
            numbered.push_back({*number, path});
        }
    }
    std::stable_sort(
        numbered.begin(), numbered.end(),
        [](const NumberedFile& a, const NumberedFile& b) { return a.number < b.number; });
    return numbered;
}

int SnapshotFolder::Count() const {
    return static_cast<int>(Matching().size());
}

bool SnapshotFolder::Any() const {
    return !Matching().empty();
}

std::optional<std::filesystem::path> SnapshotFolder::FileAt(int position) const {
    if (position < 0) {
        return std::nullopt;
    }
    const auto numbered = Numbered();
    if (static_cast<std::size_t>(position) >= numbered.size()) {
        return std::nullopt;
    }
    return numbered[static_cast<std::size_t>(position)].path;
}

std::optional<std::filesystem::path> SnapshotFolder::FileToSaveBack(int position) const {
    if (position < 0) {
        return std::nullopt;
    }
    int seen = 0;
    std::optional<std::int64_t> previous;
    for (const auto& file : Numbered()) {
        if (previous == file.number) {
            continue;
        }
        previous = file.number;
        if (seen++ == position) {
            return file.path;
        }
    }
    return std::nullopt;
}

std::optional<int> SnapshotFolder::PositionOf(const std::filesystem::path& file) const {
    const auto numbered = Numbered();
    for (std::size_t k = 0; k < numbered.size(); ++k) {
        std::error_code error;
        if (std::filesystem::equivalent(numbered[k].path, file, error)) {
            return static_cast<int>(k);
        }
    }
    return std::nullopt;
}

std::optional<std::int64_t> SnapshotFolder::NextNumber() const {
    std::int64_t next = 0;
    for (const auto& path : Matching()) {
        const std::int64_t number = NumberOf(path.filename().string());
        if (number >= next) {
            next = number + 1;
        }
    }
    if (next > kLargestNumber) {
        return std::nullopt;
    }
    return next;
}

std::filesystem::path SnapshotFolder::NewFile(std::int64_t number, const std::tm& local) const {
    if (hostFolder_) {
        return *hostFolder_ / FileName("", number, local);
    }
    return device_root::Map(FileName(folder_, number, local));
}

std::filesystem::path SnapshotFolder::StoreNew(std::span<const std::uint8_t> bytes,
                                               std::int64_t captureTime) const {
    const std::tm local = local_time::Breakdown(captureTime);
    // Each name taken by someone else raises the next number by one; a writer that keeps
    // taking them is not waited for without end.
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const auto number = NextNumber();
        if (!number) {
            // Every number is taken: storing under a used one would replace that snapshot.
            throw FileError(HostFolder(), FileError::Reason::kCannotOpen,
                            "no snapshot number left");
        }
        const std::filesystem::path file = NewFile(*number, local);
        if (whole_file::WriteNew(file, bytes)) {
            return file;
        }
    }
    throw FileError(HostFolder(), FileError::Reason::kCannotOpen,
                    "no free snapshot name: another program keeps taking them");
}

std::string SnapshotFolder::FileName(std::string_view handheldFolder, std::int64_t number,
                                     const std::tm& local) {
    char tail[96];
    std::snprintf(tail, sizeof tail, "Snapshot %lld %d-%d-%d %02d-%02d.snp",
                  static_cast<long long>(number), local.tm_mday, local.tm_mon + 1,
                  local.tm_year + 1900, local.tm_hour, local.tm_min);
    return std::string(handheldFolder) + tail;
}

std::int64_t SnapshotFolder::NumberOf(std::string_view fileName) {
    const std::size_t first = fileName.find(' ');
    if (first == std::string_view::npos) {
        return 0;
    }
    std::string_view text = fileName.substr(first + 1);
    text = text.substr(0, text.find(' '));
    std::int64_t number = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            break;
        }
        number = std::min(number * 10 + (c - '0'), kLargestNumber);
    }
    return number;
}
