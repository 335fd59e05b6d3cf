#include "document/imager_document.h"

#include <system_error>

#include "document/archive_exception.h"
#include "document/archive_reader.h"
#include "document/archive_writer.h"
#include "document/document_archive.h"
#include "document/document_record.h"
#include "document/document_view.h"
#include "document/snapshot_folder.h"
#include "document/update_flags.h"
#include "platform/device_root.h"
#include "platform/file_error.h"
#include "platform/local_time.h"
#include "platform/update_notifier.h"
#include "platform/whole_file.h"

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
    std::filesystem::create_directory(device_root::Map(SnapshotFolder::kDefaultFolder), ignored);
    browser_.SetFolder(SnapshotFolder::kDefaultFolder);
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
