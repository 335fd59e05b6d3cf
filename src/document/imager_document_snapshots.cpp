// The snapshot half of the document: browsing the snapshot folder, opening a file,
// storing the held picture, saving changes back and deleting.
#include <filesystem>
#include <optional>
#include <system_error>

#include "document/document_archive.h"
#include "document/document_record.h"
#include "document/imager_document.h"
#include "document/update_flags.h"
#include "platform/file_error.h"
#include "platform/message_box_service.h"
#include "platform/whole_file.h"

namespace {

constexpr int kSaveChangesQuestion = 129;

}  // namespace

void ImagerDocument::BeginBrowsing() {
    picture_.SetLive(false);
    browser_.SetPosition(0);
    SaveSettings();
    LoadSnapshot(0);
}

void ImagerDocument::LoadSnapshot(int position) {
    ShowEntry(browser_.FileAt(position));
}

// Shows `file` as the snapshot at the browsing position: its picture, or that it cannot
// be read.
void ImagerDocument::ShowEntry(const std::optional<std::filesystem::path>& file) {
    browser_.SetModified(false);
    if (file && ReadSnapshotFile(*file)) {
        browser_.SetShown(file, true);
        browser_.TitleAfter(picture_.CaptureTime());
    } else {
        ShowUnreadable(file);
    }
    Post(update_flag::kAll);
}

bool ImagerDocument::ReadSnapshotFile(const std::filesystem::path& hostPath) {
    try {
        return LoadFile(hostPath);
    } catch (const FileError&) {
        return false;
    }
}

// The position moves on to an entry that cannot be read (a folder, a FIFO, a loop of
// links, an unreadable or oversized file): it is shown as such, by its name over an
// empty picture, so that the picture on screen is always the entry at the position.
void ImagerDocument::ShowUnreadable(const std::optional<std::filesystem::path>& file) {
    browser_.SetShown(file, false);
    browser_.SetTitle(file ? file->filename().string() : std::string());
    picture_.SetNote(std::string());
    picture_.EmptyFrames();
}

int ImagerDocument::AskToSaveChanges(unsigned style) {
    return messages_ != nullptr ? messages_->ShowString(kSaveChangesQuestion, style)
                                : message_box::kIdNo;
}

void ImagerDocument::SaveShownSnapshotChanges() {
    if (const auto file = browser_.ShownFileToSaveBack()) {
        WriteFile(*file);
    }
}

void ImagerDocument::MoveToSnapshot(int position) {
    if (browser_.OpenedFile() && position == browser_.Position()) {
        // The opened file is the only snapshot to go to: it is read again.
        ShowEntry(browser_.OpenedFile());
        return;
    }
    browser_.SetPosition(position);
    LoadSnapshot(position);
}

void ImagerDocument::NextSnapshot() {
    if (browser_.Modified() && AskToSaveChanges(message_box::kYesNo) == message_box::kIdYes) {
        SaveShownSnapshotChanges();
    }
    MoveToSnapshot(browser_.NextPosition());
}

void ImagerDocument::PreviousSnapshot(bool quiet) {
    if (!quiet && browser_.Modified() &&
        AskToSaveChanges(message_box::kYesNo) == message_box::kIdYes) {
        SaveShownSnapshotChanges();
    }
    MoveToSnapshot(browser_.PreviousPosition());
}

void ImagerDocument::SaveSnapshotChanges(int position) {
    if (const auto file = browser_.FileToSaveBack(position)) {
        WriteFile(*file);
    }
}

void ImagerDocument::OfferToSaveChanges() {
    if (browser_.Any() && browser_.Modified() &&
        AskToSaveChanges(message_box::kYesNo) == message_box::kIdYes) {
        SaveShownSnapshotChanges();
    }
}

bool ImagerDocument::OfferToSaveChangesOrCancel() {
    if (!browser_.Any() || !browser_.Modified()) {
        return true;
    }
    const int answer = AskToSaveChanges(message_box::kYesNoCancel);
    if (answer == message_box::kIdYes) {
        SaveShownSnapshotChanges();
    }
    return answer != message_box::kIdCancel;
}

void ImagerDocument::SaveShownSnapshot() {
    if (browser_.Browsing() && browser_.Modified()) {
        SaveShownSnapshotChanges();
        browser_.SetModified(false);
    }
}

void ImagerDocument::OpenSnapshot(const std::filesystem::path& hostPath) {
    const auto bytes = whole_file::Read(hostPath);
    if (!bytes) {
        throw FileError(hostPath, FileError::Reason::kCannotOpen, "");
    }
    if (browser_.Browsing()) {
        OfferToSaveChanges();
        PlaceInBrowsingOrder(hostPath);
    } else {
        // As browsing begins: live pictures stop, the live settings are put aside.
        picture_.SetLive(false);
        PlaceInBrowsingOrder(hostPath);
        try {
            SaveSettings();
        } catch (const FileError&) {
            browser_.SetPosition(SnapshotBrowser::kLive);
            picture_.SetLive(true);
            throw;
        }
    }
    browser_.SetModified(false);
    ShowSnapshot(*bytes);
}

void ImagerDocument::PlaceInBrowsingOrder(const std::filesystem::path& hostPath) {
    if (const auto position = browser_.PositionOf(hostPath)) {
        browser_.SetPosition(*position);
    } else {
        browser_.ShowOpenedFile(hostPath);
    }
}

void ImagerDocument::ShowSnapshot(std::span<const std::uint8_t> bytes) {
    ReadArchive(bytes);
    browser_.TitleAfter(picture_.CaptureTime());
    Post(update_flag::kAll);
}

void ImagerDocument::SaveNewSnapshot() {
    browser_.StoreNew(document_archive::Encode(RecordToStore()), picture_.CaptureTime());
    ReturnToLive(true);
}

void ImagerDocument::DeleteSnapshot() {
    // The entry shown, also when it is a folder or a link; a failure shows in the count
    // that follows.
    if (const auto file = browser_.ShownFile()) {
        std::error_code ignored;
        std::filesystem::remove(*file, ignored);
    }
    browser_.ForgetOpenedFile();
    if (browser_.Count() != 0) {
        PreviousSnapshot(true);
    } else {
        ReturnToLive(true);
    }
}
