#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

// Where the user is among the snapshot files: the folder, the browsing position (-1
// while pictures are live), whether the snapshot shown was changed since it was read,
// and its title. The files themselves are read and written by the document.
class SnapshotBrowser {
  public:
    static constexpr std::int16_t kLive = -1;

    const std::string& Folder() const { return folder_; }
    void SetFolder(const std::string& folder) { folder_ = folder; }
    std::int16_t Position() const { return position_; }
    // A new position shows nothing yet.
    void SetPosition(int position) {
        position_ = static_cast<std::int16_t>(position);
        shown_.reset();
        unreadable_ = false;
    }
    bool Browsing() const { return position_ != kLive; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }
    // The title of a snapshot captured at `captureTime`: local short date and time.
    void TitleAfter(std::int64_t captureTime);

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
    // The entry shown, or the one at the position when none was shown there yet.
    std::optional<std::filesystem::path> ShownFile() const;
    bool ShownUnreadable() const { return unreadable_; }

    std::optional<std::filesystem::path> FileAt(int position) const;
    std::optional<std::filesystem::path> FileToSaveBack(int position) const;
    // A new file numbered after the highest one, named after `captureTime`.
    std::filesystem::path NewFile(std::int64_t captureTime) const;

  private:
    std::string folder_;
    std::int16_t position_ = kLive;
    bool modified_ = false;
    std::string title_;
    std::optional<std::filesystem::path> shown_;
    bool unreadable_ = false;
};
