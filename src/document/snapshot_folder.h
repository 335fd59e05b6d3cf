#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The snapshot files of one folder: counting, numbering, naming, storing new ones and the
// positions of the browsing order (by snapshot number, lowest first). The folder is a
// handheld path (a separator is added when it lacks one), or a folder of the host.
class SnapshotFolder {
  public:
    // The folder the imager stores its snapshots in.
    static constexpr const char* kDefaultFolder = "\\My Documents\\Snapshots\\";

    explicit SnapshotFolder(std::string_view handheldFolder);
    // The folder at `hostFolder`, outside the device root.
    static SnapshotFolder OnHost(std::filesystem::path hostFolder);

    // Files named "Snapshot *.snp".
    int Count() const;
    bool Any() const;

    // The file at browsing position `position`: the files whose names carry a number
    // ("Snapshot N *.snp"), ordered by N; files of the same number in the order the
    // folder lists them. Empty for a negative or unreachable position.
    std::optional<std::filesystem::path> FileAt(int position) const;
    // The file a snapshot at `position` is saved back to: the first file of the
    // (position + 1)-th number that has a file.
    std::optional<std::filesystem::path> FileToSaveBack(int position) const;
    // The browsing position of `file` (any path naming the same file); empty when no
    // position leads to it.
    std::optional<int> PositionOf(const std::filesystem::path& file) const;

    // One more than the highest number of "Snapshot *.snp", or 0 without one. Empty when
    // the highest is already the largest number a name may carry: a larger one could not
    // be browsed and would read back as that largest number.
    std::optional<std::int64_t> NextNumber() const;
    // The host path of a new snapshot with `number`, named after the local time.
    std::filesystem::path NewFile(std::int64_t number, const std::tm& local) const;
    // Writes `bytes` as a new snapshot captured at `captureTime`, numbered after the
    // highest one; a name another program takes meanwhile is never replaced (the next
    // number is tried). Its host path. Raises FileError when no number is left or the file
    // cannot be written.
    std::filesystem::path StoreNew(std::span<const std::uint8_t> bytes,
                                   std::int64_t captureTime) const;

    // The handheld folder, ending with a separator.
    const std::string& HandheldFolder() const { return folder_; }
    // Where the folder is on this computer.
    std::filesystem::path HostFolder() const;
    // "%sSnapshot %d %d-%d-%d %02d-%02d.snp" with the folder, number and local time.
    static std::string FileName(std::string_view handheldFolder, std::int64_t number,
                                const std::tm& local);
    // The decimal number between the first and the second space of a file name
    // (digits up to the first non-digit; 0 when there are none).
    static std::int64_t NumberOf(std::string_view fileName);

  private:
    struct NumberedFile {
        std::int64_t number;
        std::filesystem::path path;
    };
    // Every folder entry whose name matches "Snapshot *.snp", in listing order.
    std::vector<std::filesystem::path> Matching() const;
    // The entries matching "Snapshot N *.snp" for some N >= 0, in browsing order.
    std::vector<NumberedFile> Numbered() const;

    std::string folder_;
    std::optional<std::filesystem::path> hostFolder_;
};
