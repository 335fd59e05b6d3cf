#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <utility>

// Where the user is among the snapshot files: the folder, the browsing position (-1
// while pictures are live), whether the snapshot shown was changed since it was read,
// and its title. The files themselves are read and written by the document.
//
// A file opened by name that has no place in the folder's browsing order is shown as one
// more snapshot after the folder's own: its position is the count of the folder's files,
// and moving to any position forgets it.
class SnapshotBrowser {
  public:
    static constexpr std::int16_t kLive = -1;

    const std::string& Folder() const { return folder_; }
    void SetFolder(const std::string& folder) { folder_ = folder; }
    std::int16_t Position() const { return position_; }
    void SetPosition(int position);
    // Shows `file`, which the browsing order does not reach, after the folder's snapshots.
    void ShowOpenedFile(std::filesystem::path file);
    void ForgetOpenedFile() { opened_.reset(); }
    const std::optional<std::filesystem::path>& OpenedFile() const { return opened_; }
    bool Browsing() const { return position_ != kLive; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }
    // The title of a snapshot captured at `captureTime`: local short date and time.
    void TitleAfter(std::int64_t captureTime);

    // The folder's snapshot files, and the opened file while it is shown.
    int Count() const;
    bool Any() const;
    // The position after the current one, back to the first after the last.
    int NextPosition() const;
    // The position before the current one, the last one before the first.
    int PreviousPosition() const;

    // The entry now shown: read, or found unreadable (then its name is the title).
    void SetShown(const std::optional<std::filesystem::path>& file, bool readable) {
        shown_ = file;
        unreadable_ = !readable;
    }
    bool ShownUnreadable() const { return unreadable_; }

    std::optional<std::filesystem::path> FileAt(int position) const;
    std::optional<std::filesystem::path> FileToSaveBack(int position) const;
    // The file of the snapshot shown (the opened file, the entry last shown, or the one
    // at the position when none was shown there yet), and the file its changes are saved to.
    std::optional<std::filesystem::path> ShownFile() const;
    std::optional<std::filesystem::path> ShownFileToSaveBack() const;
    // The browsing position of `file`; empty when the browsing order does not reach it.
    std::optional<int> PositionOf(const std::filesystem::path& file) const;
    // Stores `bytes` as a new snapshot captured at `captureTime` (SnapshotFolder::StoreNew).
    std::filesystem::path StoreNew(std::span<const std::uint8_t> bytes,
                                   std::int64_t captureTime) const;

  private:
    std::string folder_;
    std::int16_t position_ = kLive;
    bool modified_ = false;
    std::string title_;
    std::optional<std::filesystem::path> shown_;
    bool unreadable_ = false;
    std::optional<std::filesystem::path> opened_;
};
