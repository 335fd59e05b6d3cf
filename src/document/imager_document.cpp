#include "document/imager_document.h"

#include <unistd.h>

#include <system_error>

#include "document/archive_exception.h"
#include "document/archive_reader.h"
#include "document/archive_writer.h"
#include "document/document_archive.h"
#include "document/document_record.h"
#include "document/document_view.h"
#include "document/update_flags.h"
#include "platform/device_root.h"
#include "platform/file_error.h"
#include "platform/local_time.h"
#include "platform/message_box_service.h"
#include "platform/update_notifier.h"
#include "platform/whole_file.h"

namespace {

constexpr int kSaveChangesQuestion = 129;

}  // namespace

ImagerDocument::ImagerDocument(MessageBoxService* messages, UpdateNotifier* notifier,
                               ImagerLink& link)
    : messages_(messages), notifier_(notifier), link_(link) {}

void ImagerDocument::StartUp() {
    picture_.SetCaptureTime(local_time::Now());
    try {
        LoadSettings();
    } catch (const FileError&) {
        // An unreadable settings file leaves the start values.
    }
    CreateFolders();
    picture_.ResetCorrections();
    picture_.SetLive(true);
    browser_.SetPosition(SnapshotBrowser::kLive);
}

void ImagerDocument::ShutDown() {
    try {
        if (browser_.Browsing()) {
            LoadSettings();
        }
        SaveSettings();
    } catch (const std::exception&) {
        // Nothing can be reported while the program ends.
    }
}

void ImagerDocument::CreateFolders() {
    std::error_code ignored;
    std::filesystem::create_directories(device_root::Map(kPersonalFolder), ignored);
    std::string folder = std::string(kPersonalFolder) + "\\Snapshots";
    std::filesystem::create_directory(device_root::Map(folder), ignored);
    browser_.SetFolder(folder + "\\");
    std::filesystem::create_directories(device_root::Map(kProgramFolder), ignored);
}

std::uint16_t ImagerDocument::RangeLow() const {
    return browser_.Browsing() ? picture_.RecordedRangeLow() : link_.CurrentLowerLimit();
}

std::uint16_t ImagerDocument::RangeHigh() const {
    return browser_.Browsing() ? picture_.RecordedRangeHigh() : link_.CurrentUpperLimit();
}

// --- setters ---------------------------------------------------------------------

// An entry that could not be read is never marked: saving it back would replace it with
// a picture it never held.
void ImagerDocument::MarkModifiedAndPost(std::uint32_t hint) {
    browser_.SetModified(!browser_.ShownUnreadable());
    Post(hint);
}

void ImagerDocument::MarkModifiedAndUpdate(std::uint32_t hint) {
    browser_.SetModified(!browser_.ShownUnreadable());
    UpdateViews(hint);
}

void ImagerDocument::Post(std::uint32_t hint) {
    if (notifier_ != nullptr) {
        notifier_->PostUpdate(hint);
    }
}

void ImagerDocument::SetPaletteNumber(std::int16_t value) {
    picture_.SetPaletteNumber(value);
    MarkModifiedAndPost(update_flag::kPalette);
}

void ImagerDocument::SetTemperatureUnit(std::int16_t value) {
    picture_.SetTemperatureUnit(value);
    MarkModifiedAndPost(update_flag::kUnit);
}

void ImagerDocument::SetEmissivity(float value) {
    picture_.SetEmissivity(value);
    MarkModifiedAndPost(update_flag::kCorrection);
}

void ImagerDocument::SetBackgroundTemperature(std::int16_t value) {
    picture_.SetBackgroundTemperature(value);
    MarkModifiedAndPost(update_flag::kCorrection);
}

void ImagerDocument::SetSnapshotNote(const std::string& text) {
    picture_.SetNote(text);
    MarkModifiedAndPost(update_flag::kSnapshot);
}

void ImagerDocument::SetSecondSpotShown(bool shown) {
    picture_.SetSecondSpotShown(shown);
    Post(update_flag::kSecondSpot);
}

// --- spot and span moves ---------------------------------------------------------

void ImagerDocument::MoveSpot(int k, SpotDirection direction) {
    picture_.MoveSpot(k, direction);
    MarkModifiedAndUpdate(update_flag::kSpots);
}

void ImagerDocument::ShiftSpanDown() {
    picture_.ShiftSpanDown(link_.CurrentLowerLimit());
    MarkModifiedAndUpdate(update_flag::kSpan);
}

void ImagerDocument::ShiftSpanUp() {
    picture_.ShiftSpanUp(link_.CurrentUpperLimit());
    MarkModifiedAndUpdate(update_flag::kSpan);
}

void ImagerDocument::WidenSpan() {
    picture_.WidenSpan(link_.CurrentLowerLimit(), link_.CurrentUpperLimit());
    MarkModifiedAndUpdate(update_flag::kSpan);
}

void ImagerDocument::NarrowSpan() {
    picture_.NarrowSpan();
    MarkModifiedAndUpdate(update_flag::kSpan);
}

void ImagerDocument::FitSpanToFrame() {
    picture_.FitSpanToFrame();
    UpdateViews(update_flag::kSpan);
}

// --- picture states --------------------------------------------------------------

void ImagerDocument::Freeze(bool save) {
    picture_.SetLive(false);
    if (save) {
        SaveSettings();
    }
}

void ImagerDocument::ReturnToLive(bool reload) {
    picture_.RequestSlowFirstPass();
    browser_.SetPosition(SnapshotBrowser::kLive);
    if (reload) {
        LoadSettings();
        Post(update_flag::kAll);
    }
    // Set last, so that no frame is taken in while the file is read.
    picture_.SetLive(true);
}

// --- the document archive ----------------------------------------------------------

DocumentRecord ImagerDocument::RecordToStore() const {
    DocumentRecord record;
    record.rangeLow = RangeLow();
    record.rangeHigh = RangeHigh();
    const std::uint8_t range = link_.CurrentRangeNumber();
    record.rangeDescription = range == 0 ? std::string() : link_.Description(range - 1);
    record.headSerialNumber = link_.HeadSerialNumber();
    if (DocumentView* view = FirstView()) {
        record.interpolatedMode = view->InterpolatedMode();
        record.edgeRepair = view->EdgeRepairFlag();
    }
    picture_.Store(record);
    return record;
}

void ImagerDocument::ApplyRecord(const DocumentRecord& record, bool complete) {
    picture_.Apply(record, complete);
    const std::vector<DocumentView*> views = Views();
    if (record.interpolatedMode && !views.empty()) {
        views.front()->SetInterpolatedMode(*record.interpolatedMode);
    }
    if (record.edgeRepair) {
        for (DocumentView* view : views) {
            view->SetEdgeRepairFlag(*record.edgeRepair);
        }
    }
}

void ImagerDocument::Store(ArchiveWriter& archive) const {
    document_archive::Store(RecordToStore(), archive);
}

void ImagerDocument::Load(ArchiveReader& archive) {
    DocumentRecord record = RecordToStore();
    record.rangeLow = picture_.RecordedRangeLow();
    record.rangeHigh = picture_.RecordedRangeHigh();
    record.interpolatedMode.reset();
    record.edgeRepair.reset();
    bool complete = true;
    try {
        document_archive::Load(archive, record);
    } catch (const ArchiveException&) {
        complete = false;
    }
    ApplyRecord(record, complete);
    UpdateViews(update_flag::kRange);
}

void ImagerDocument::ReadArchive(std::span<const std::uint8_t> bytes) {
    ArchiveReader archive(bytes);
    Load(archive);
}

void ImagerDocument::SetEdgeRepaired(bool repaired) {
    ForEachViewLocked([repaired](DocumentView& view) { view.SetEdgeRepaired(repaired); });
}

void ImagerDocument::RangeInformationChanged() {
    Post(update_flag::kRange);
}

void ImagerDocument::HeadPresenceChanged() {
    Post(update_flag::kHead);
}

void ImagerDocument::Notice(AcquisitionEvent event) {
    Post(update_flag::ForAcquisitionEvent(event));
}

// --- files ---------------------------------------------------------------------------

bool ImagerDocument::LoadFile(const std::filesystem::path& hostPath) {
    const auto bytes = whole_file::Read(hostPath);
    if (!bytes) {
        return false;
    }
    ReadArchive(*bytes);
    return true;
}

void ImagerDocument::WriteFile(const std::filesystem::path& hostPath) {
    whole_file::WriteAtomically(hostPath, document_archive::Encode(RecordToStore()));
}

void ImagerDocument::SaveSettings() {
    settings_store::Write(document_archive::Encode(RecordToStore()));
}

void ImagerDocument::LoadSettings() {
    if (const auto bytes = settings_store::Read()) {
        ReadArchive(*bytes);
    }
}

void ImagerDocument::OpenArchiveFile(const std::filesystem::path& hostPath) {
    if (!LoadFile(hostPath)) {
        throw FileError(hostPath, FileError::Reason::kCannotOpen, "");
    }
}

// --- snapshots -------------------------------------------------------------------------

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
    WriteFile(browser_.NewFile(picture_.CaptureTime()));
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
