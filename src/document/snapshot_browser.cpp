#include "document/snapshot_browser.h"

#include <utility>

#include "document/snapshot_folder.h"
#include "platform/local_time.h"

void SnapshotBrowser::TitleAfter(std::int64_t captureTime) {
    const std::tm local = local_time::Breakdown(captureTime);
    title_ = local_time::ShortDate(local) + " - " + local_time::ShortTime(local);
}

void SnapshotBrowser::SetPosition(int position) {
    // A new position shows nothing yet.
    position_ = static_cast<std::int16_t>(position);
    opened_.reset();
    shown_.reset();
    unreadable_ = false;
}

void SnapshotBrowser::ShowOpenedFile(std::filesystem::path file) {
    position_ = static_cast<std::int16_t>(SnapshotFolder(folder_).Count());
    opened_ = std::move(file);
    shown_.reset();
    unreadable_ = false;
}

int SnapshotBrowser::Count() const {
    return SnapshotFolder(folder_).Count() + (opened_ ? 1 : 0);
}

bool SnapshotBrowser::Any() const {
    return opened_ || SnapshotFolder(folder_).Any();
}

int SnapshotBrowser::NextPosition() const {
    const int next = position_ + 1;
    return next >= Count() ? 0 : next;
}

int SnapshotBrowser::PreviousPosition() const {
    const int count = Count();
    const int previous = position_ - 1;
    return (position_ <= 0 || previous >= count) ? count - 1 : previous;
}

std::optional<std::filesystem::path> SnapshotBrowser::FileAt(int position) const {
    return SnapshotFolder(folder_).FileAt(position);
}

std::optional<std::filesystem::path> SnapshotBrowser::FileToSaveBack(int position) const {
    return SnapshotFolder(folder_).FileToSaveBack(position);
}

std::optional<std::filesystem::path> SnapshotBrowser::ShownFile() const {
    if (opened_) {
        return opened_;
    }
    return shown_ ? shown_ : FileAt(position_);
}

std::optional<std::filesystem::path> SnapshotBrowser::ShownFileToSaveBack() const {
    return opened_ ? opened_ : FileToSaveBack(position_);
}

std::optional<int> SnapshotBrowser::PositionOf(const std::filesystem::path& file) const {
    return SnapshotFolder(folder_).PositionOf(file);
}

std::filesystem::path SnapshotBrowser::StoreNew(std::span<const std::uint8_t> bytes,
                                                std::int64_t captureTime) const {
    return SnapshotFolder(folder_).StoreNew(bytes, captureTime);
}
