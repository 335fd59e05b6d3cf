#include "document/online_imager_doc.h"

#include <unistd.h>

#include <system_error>

#include "document/archive_exception.h"
#include "document/archive_reader.h"
#include "document/archive_writer.h"
#include "document/document_archive.h"
#include "document/document_record.h"
#include "document/update_flags.h"
#include "document/view_interface.h"
#include "platform/device_root.h"
#include "platform/file_error.h"
#include "platform/local_time.h"
#include "platform/message_box_service.h"
#include "platform/update_notifier.h"
#include "platform/whole_file.h"

namespace {

constexpr int kSaveChangesQuestion = 129;

}  // namespace

COnlineImagerDoc::COnlineImagerDoc(MessageBoxService* messages, UpdateNotifier* notifier,
                                   ImagerLink& link)
    : messages_(messages), notifier_(notifier), link_(link) {}

void COnlineImagerDoc::StartUp() {
    picture_.SetCaptureTime(LocalTime::Now());
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

void COnlineImagerDoc::ShutDown() {
    try {
        SaveSettings();
    } catch (const std::exception&) {
        // Nothing can be reported while the program ends.
    }
}

void COnlineImagerDoc::CreateFolders() {
    std::error_code ignored;
    std::filesystem::create_directories(DeviceRoot::Map(kPersonalFolder), ignored);
    std::string folder = std::string(kPersonalFolder) + "\\Snapshots";
    std::filesystem::create_directory(DeviceRoot::Map(folder), ignored);
    browser_.SetFolder(folder + "\\");
    std::filesystem::create_directories(DeviceRoot::Map(kProgramFolder), ignored);
}

std::uint16_t COnlineImagerDoc::GetRangeLow() const {
    return browser_.Browsing() ? picture_.RecordedRangeLow() : link_.CurrentLowerLimit();
}

std::uint16_t COnlineImagerDoc::GetRangeHigh() const {
    return browser_.Browsing() ? picture_.RecordedRangeHigh() : link_.CurrentUpperLimit();
}

// --- setters ---------------------------------------------------------------------

void COnlineImagerDoc::MarkModifiedAndPost(std::uint32_t hint) {
    browser_.SetModified(true);
    Post(hint);
}

void COnlineImagerDoc::MarkModifiedAndUpdate(std::uint32_t hint) {
    browser_.SetModified(true);
    UpdateAllViews(nullptr, hint);
}

void COnlineImagerDoc::Post(std::uint32_t hint) {
    if (notifier_ != nullptr) {
        notifier_->PostUpdate(hint);
    }
}

void COnlineImagerDoc::SetPaletteNumber(std::int16_t value) {
    picture_.SetPaletteNumber(value);
    MarkModifiedAndPost(update_flag::kPalette);
}

void COnlineImagerDoc::SetTemperatureUnit(std::int16_t value) {
    picture_.SetTemperatureUnit(value);
    MarkModifiedAndPost(update_flag::kUnit);
}

void COnlineImagerDoc::SetEmissivity(float value) {
    picture_.SetEmissivity(value);
    MarkModifiedAndPost(update_flag::kCorrection);
}

void COnlineImagerDoc::SetBackgroundTemperature(std::int16_t value) {
    picture_.SetBackgroundTemperature(value);
    MarkModifiedAndPost(update_flag::kCorrection);
}

void COnlineImagerDoc::SetSnapshotNote(const std::string& text) {
    picture_.SetNote(text);
    MarkModifiedAndPost(update_flag::kSnapshot);
}

void COnlineImagerDoc::SetSecondSpotShown(bool shown) {
    picture_.SetSecondSpotShown(shown);
    Post(update_flag::kSecondSpot);
}

// --- spot and span moves ---------------------------------------------------------

void COnlineImagerDoc::MoveSpot(int k, SpotDirection direction) {
    picture_.MoveSpot(k, direction);
    MarkModifiedAndUpdate(update_flag::kSpots);
}

void COnlineImagerDoc::ShiftSpanDown() {
    picture_.ShiftSpanDown(link_.CurrentLowerLimit());
    MarkModifiedAndUpdate(update_flag::kSpan);
}

void COnlineImagerDoc::ShiftSpanUp() {
    picture_.ShiftSpanUp(link_.CurrentUpperLimit());
    MarkModifiedAndUpdate(update_flag::kSpan);
}

void COnlineImagerDoc::WidenSpan() {
    picture_.WidenSpan(link_.CurrentLowerLimit(), link_.CurrentUpperLimit());
    MarkModifiedAndUpdate(update_flag::kSpan);
}

void COnlineImagerDoc::NarrowSpan() {
    picture_.NarrowSpan();
    MarkModifiedAndUpdate(update_flag::kSpan);
}

void COnlineImagerDoc::FitSpanToFrame() {
    picture_.FitSpanToFrame();
    UpdateAllViews(nullptr, update_flag::kSpan);
}

// --- picture states --------------------------------------------------------------

void COnlineImagerDoc::Freeze(bool save) {
    picture_.SetLive(false);
    if (save) {
        SaveSettings();
    }
}

void COnlineImagerDoc::ReturnToLive(bool reload) {
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

DocumentRecord COnlineImagerDoc::RecordToStore() const {
    DocumentRecord record;
    record.rangeLow = GetRangeLow();
    record.rangeHigh = GetRangeHigh();
    const std::uint8_t range = link_.CurrentRangeNumber();
    record.rangeDescription = range == 0 ? std::string() : link_.Description(range - 1);
    record.headSerialNumber = link_.HeadSerialNumber();
    if (ViewInterface* view = FirstView()) {
        record.interpolatedMode = view->GetInterpolatedMode();
        record.edgeRepair = view->GetEdgeRepairFlag();
    }
    picture_.Store(record);
    return record;
}

void COnlineImagerDoc::ApplyRecord(const DocumentRecord& record, bool complete) {
    picture_.Apply(record, complete);
    const std::vector<ViewInterface*> views = Views();
    if (record.interpolatedMode && !views.empty()) {
        views.front()->SetInterpolatedMode(*record.interpolatedMode);
    }
    if (record.edgeRepair) {
        for (ViewInterface* view : views) {
            view->SetEdgeRepairFlag(*record.edgeRepair);
        }
    }
}

void COnlineImagerDoc::Serialize(ArchiveWriter& archive) const {
    document_archive::Store(RecordToStore(), archive);
}

void COnlineImagerDoc::Serialize(ArchiveReader& archive) {
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
    UpdateAllViews(nullptr, update_flag::kRange);
}

void COnlineImagerDoc::ReadArchive(std::span<const std::uint8_t> bytes) {
    ArchiveReader archive(bytes);
    Serialize(archive);
}

void COnlineImagerDoc::SetEdgeRepaired(bool repaired) {
    ForEachViewLocked([repaired](ViewInterface& view) { view.SetEdgeRepaired(repaired); });
}

void COnlineImagerDoc::RangeInformationChanged() {
    Post(update_flag::kRange);
}

void COnlineImagerDoc::Notice(AcquisitionEvent event) {
    Post(update_flag::ForAcquisitionEvent(event));
}

// --- files ---------------------------------------------------------------------------

bool COnlineImagerDoc::LoadFile(const std::filesystem::path& hostPath) {
    const auto bytes = WholeFile::Read(hostPath);
    if (!bytes) {
        return false;
    }
    ReadArchive(*bytes);
    return true;
}

void COnlineImagerDoc::WriteFile(const std::filesystem::path& hostPath) {
    WholeFile::WriteAtomically(hostPath, document_archive::Encode(RecordToStore()));
}

void COnlineImagerDoc::SaveSettings() {
    settings_store::Write(document_archive::Encode(RecordToStore()));
}

void COnlineImagerDoc::LoadSettings() {
    if (const auto bytes = settings_store::Read()) {
        ReadArchive(*bytes);
    }
}

void COnlineImagerDoc::OpenArchiveFile(const std::filesystem::path& hostPath) {
    if (!LoadFile(hostPath)) {
        throw FileError(hostPath, FileError::Reason::kCannotOpen, "");
    }
}

// --- snapshots -------------------------------------------------------------------------

void COnlineImagerDoc::BeginBrowsing() {
    picture_.SetLive(false);
    browser_.SetPosition(0);
    SaveSettings();
    LoadSnapshot(0);
}

void COnlineImagerDoc::LoadSnapshot(int position) {
    browser_.SetModified(false);
    const auto file = browser_.FileAt(position);
    if (!file || !LoadFile(*file)) {
        return;
    }
    browser_.TitleAfter(picture_.CaptureTime());
    Post(update_flag::kAll);
}

bool COnlineImagerDoc::AskToSaveChanges() {
    return messages_ != nullptr &&
           messages_->ShowString(kSaveChangesQuestion, message_box::kYesNo) == message_box::kIdYes;
}

void COnlineImagerDoc::NextSnapshot() {
    if (browser_.Modified() && AskToSaveChanges()) {
        SaveSnapshotChanges(browser_.Position());
    }
    browser_.SetPosition(browser_.NextPosition());
    LoadSnapshot(browser_.Position());
}

void COnlineImagerDoc::PreviousSnapshot(bool quiet) {
    if (!quiet && browser_.Modified() && AskToSaveChanges()) {
        SaveSnapshotChanges(browser_.Position());
    }
    browser_.SetPosition(browser_.PreviousPosition());
    LoadSnapshot(browser_.Position());
}

void COnlineImagerDoc::SaveSnapshotChanges(int position) {
    if (const auto file = browser_.FileToSaveBack(position)) {
        WriteFile(*file);
    }
}

void COnlineImagerDoc::OfferToSaveChanges() {
    if (browser_.Any() && browser_.Modified() && AskToSaveChanges()) {
        SaveSnapshotChanges(browser_.Position());
    }
}

void COnlineImagerDoc::SaveNewSnapshot() {
    WriteFile(browser_.NewFile(picture_.CaptureTime()));
    ReturnToLive(true);
}

void COnlineImagerDoc::DeleteSnapshot() {
    if (const auto file = browser_.FileAt(browser_.Position())) {
        ::unlink(file->c_str());  // a failure shows in the count that follows
    }
    if (browser_.Count() != 0) {
        PreviousSnapshot(true);
    } else {
        ReturnToLive(true);
    }
}
