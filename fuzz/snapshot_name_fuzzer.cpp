// Snapshot names and numbers: names from the input are parsed, turned back into names,
// and laid out as a snapshot folder (a temporary device root) whose numbering, counting
// and browsing order are checked.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "document/snapshot_folder.h"
#include "fuzz_check.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kFolder = "\\Snapshots\\";
constexpr std::int64_t kLargestNumber = 999'999'999'999;  // twelve digits
constexpr std::size_t kMostNames = 8;

fs::path HostFolder() {
    return fs::path(std::getenv("XDG_DATA_HOME")) / "therlix-handheld" / "Snapshots";
}

bool Matches(std::string_view name) {
    auto lower = [](std::string_view text) {
        std::string out(text);
        std::transform(out.begin(), out.end(), out.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return out;
    };
    return name.size() >= 13 && lower(name.substr(0, 9)) == "snapshot " &&
           lower(name.substr(name.size() - 4)) == ".snp";
}

// The capture time of a new snapshot, from the first five input bytes.
std::tm TimeFrom(std::string_view input) {
    auto byte = [input](std::size_t i) { return i < input.size() ? (unsigned char)input[i] : 0; };
    std::tm local{};
    local.tm_mday = 1 + byte(0) % 31;
    local.tm_mon = byte(1) % 12;
    local.tm_year = 70 + byte(2);
    local.tm_hour = byte(3) % 24;
    local.tm_min = byte(4) % 60;
    return local;
}

// The file names of the input's lines that a folder can hold.
std::set<std::string> NamesFrom(std::string_view input) {
    std::set<std::string> names;
    std::size_t start = std::min<std::size_t>(5, input.size());
    while (start < input.size() && names.size() < kMostNames) {
        std::size_t end = std::min(input.find('\n', start), input.size());
        std::string name(input.substr(start, std::min<std::size_t>(end - start, 200)));
        std::erase_if(name, [](char c) { return c == '/' || c == '\0'; });
        if (!name.empty() && name != "." && name != "..") {
            names.insert(name);
        }
        start = end + 1;
    }
    return names;
}

void CheckNumber(const std::string& name, const std::tm& local) {
    const std::int64_t number = SnapshotFolder::NumberOf(name);
    FUZZ_CHECK(number >= 0 && number <= kLargestNumber);
    const std::string made = SnapshotFolder::FileName("", number, local);
    FUZZ_CHECK(Matches(made));
    FUZZ_CHECK(SnapshotFolder::NumberOf(made) == number);
}

// Browsing positions in order of number; save-back positions one per number.
std::vector<std::int64_t> CheckPositions(const SnapshotFolder& folder) {
    std::vector<std::int64_t> numbers;
    for (int k = 0; const auto file = folder.FileAt(k); ++k) {
        FUZZ_CHECK(k < folder.Count());
        numbers.push_back(SnapshotFolder::NumberOf(file->filename().string()));
    }
    FUZZ_CHECK(std::is_sorted(numbers.begin(), numbers.end()));
    std::vector<std::int64_t> distinct = numbers;
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    for (std::size_t j = 0; j < distinct.size(); ++j) {
        const auto file = folder.FileToSaveBack(static_cast<int>(j));
        FUZZ_CHECK(file && SnapshotFolder::NumberOf(file->filename().string()) == distinct[j]);
    }
    FUZZ_CHECK(!folder.FileToSaveBack(static_cast<int>(distinct.size())));
    FUZZ_CHECK(!folder.FileAt(-1) && !folder.FileToSaveBack(-1));
    return numbers;
}

void CheckFolder(const std::set<std::string>& names, const std::tm& local) {
    const SnapshotFolder folder(kFolder);
    const auto matching = std::count_if(names.begin(), names.end(), Matches);
    FUZZ_CHECK(folder.Count() == matching && folder.Any() == (matching > 0));
    const auto before = CheckPositions(folder);

    std::int64_t highest = -1;
    for (const auto& name : names) {
        highest = Matches(name) ? std::max(highest, SnapshotFolder::NumberOf(name)) : highest;
    }
    const auto next = folder.NextNumber();
    // No number is handed out once the largest is taken; otherwise the one after the highest.
    FUZZ_CHECK(next.has_value() == (highest < kLargestNumber));
    if (!next) {
        return;
    }
    FUZZ_CHECK(*next == highest + 1 && *next <= kLargestNumber);
    // The new snapshot is counted, browsed last and reads back its number.
    const fs::path created = folder.NewFile(*next, local);
    std::ofstream(created).put('x');
    FUZZ_CHECK(SnapshotFolder::NumberOf(created.filename().string()) == *next);
    FUZZ_CHECK(folder.Count() == matching + 1);
    const auto after = CheckPositions(folder);
    FUZZ_CHECK(after.size() == before.size() + 1 && after.back() == *next);
    FUZZ_CHECK(folder.FileAt(static_cast<int>(before.size())) == created);
}

}  // namespace

// The device root lives in a temporary folder for the whole run and goes with it.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static char pattern[] = "/tmp/quorvel-snapshot-fuzz-XXXXXX";
    if (::mkdtemp(pattern) == nullptr || ::setenv("XDG_DATA_HOME", pattern, 1) != 0) {
        std::abort();
    }
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(pattern, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::tm local = TimeFrom(input);
    const std::set<std::string> names = NamesFrom(input);
    fs::remove_all(HostFolder());
    fs::create_directories(HostFolder());
    for (const auto& name : names) {
        CheckNumber(name, local);
        std::ofstream(HostFolder() / name).put('x');
    }
    CheckFolder(names, local);
    return 0;
}
