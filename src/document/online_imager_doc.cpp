#include "document/online_imager_doc.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <system_error>

#include "document/archive_exception.h"
#include "document/archive_reader.h"
#include "document/archive_writer.h"
#include "document/document_archive.h"
#include "document/document_record.h"
#include "document/snapshot_folder.h"
#include "document/span_adjuster.h"
#include "platform/device_root.h"
#include "platform/file_error.h"
#include "platform/local_time.h"
#include "platform/message_box_service.h"
#include "platform/update_flags.h"
#include "platform/update_notifier.h"
#include "platform/view_interface.h"
#include "platform/whole_file.h"

namespace {

constexpr int kSaveChangesQuestion = 129;
constexpr std::int16_t kFewestFrames = 1;
constexpr std::int16_t kMostFrames = 10;
constexpr std::int16_t kStartBackgroundTemperature = 200;

constexpr int kKeyLeft = 0x25;
constexpr int kKeyUp = 0x26;
constexpr int kKeyRight = 0x27;
constexpr int kKeyDown = 0x28;

}  // namespace

COnlineImagerDoc::COnlineImagerDoc(MessageBoxService* messages, UpdateNotifier* notifier)
    : messages_(messages), notifier_(notifier), link_(messages, notifier, this) {
    captureTime_ = LocalTime::Now();
    try {
        LoadSettings();
    } catch (const FileError&) {
        // An unreadable settings file leaves the start values.
    }
    CreateFolders();
    ResetCorrections();
    picture_.live = true;
    snapshotIndex_ = -1;
    acquisition_.Start();
}

COnlineImagerDoc::~COnlineImagerDoc() {
    acquisition_.Stop();
    try {
        SaveSettings();
    } catch (const std::exception&) {
        // Nothing can be reported while the program ends.
    }
}

void COnlineImagerDoc::CreateFolders() {
    std::error_code ignored;
    std::filesystem::create_directories(DeviceRoot::Map(kPersonalFolder), ignored);
    snapshotFolder_ = std::string(kPersonalFolder) + "\\Snapshots";
    std::filesystem::create_directory(DeviceRoot::Map(snapshotFolder_), ignored);
    snapshotFolder_ += "\\";
    std::filesystem::create_directories(DeviceRoot::Map(kProgramFolder), ignored);
}

void COnlineImagerDoc::ResetCorrections() {
    emissivity_ = 1.0f;
    emissivityFactor_ = 1.0f;
    snapshotNote_.clear();
    backgroundTemperature_ = kStartBackgroundTemperature;
    picture_.integrationCount = 1;
    picture_.autoSpanAllowed = true;
    picture_.autoSpanOn = true;
    std::lock_guard lock(picture_.mutex);
    picture_.rawFrame = ThermalFrame::Filled(kEmptyPictureValue);
    picture_.displayFrame = ThermalFrame::Filled(kEmptyPictureValue);
}

// --- accessors -------------------------------------------------------------------

ThermalFrame COnlineImagerDoc::GetDisplayFrame() const {
    std::lock_guard lock(picture_.mutex);
    return picture_.displayFrame;
}

ThermalFrame COnlineImagerDoc::GetRawFrame() const {
    std::lock_guard lock(picture_.mutex);
    return picture_.rawFrame;
}

std::uint16_t COnlineImagerDoc::GetSpanLow() const {
    std::lock_guard lock(picture_.mutex);
    return picture_.spanLow;
}

std::uint16_t COnlineImagerDoc::GetSpanHigh() const {
    std::lock_guard lock(picture_.mutex);
    return picture_.spanHigh;
}

std::uint16_t COnlineImagerDoc::GetRangeLow() const {
    return snapshotIndex_ == -1 ? link_.CurrentLowerLimit() : recordedRangeLow_;
}

std::uint16_t COnlineImagerDoc::GetRangeHigh() const {
    return snapshotIndex_ == -1 ? link_.CurrentUpperLimit() : recordedRangeHigh_;
}

// --- setters ---------------------------------------------------------------------

void COnlineImagerDoc::MarkModifiedAndPost(std::uint32_t hint) {
    snapshotModified_ = true;
    Post(hint);
}

void COnlineImagerDoc::Post(std::uint32_t hint) {
    if (notifier_ != nullptr) {
        notifier_->PostUpdate(hint);
    }
}

void COnlineImagerDoc::SetPaletteNumber(std::int16_t value) {
    paletteNumber_ = value;
    MarkModifiedAndPost(update_flag::kPalette);
}

void COnlineImagerDoc::SetTemperatureUnit(std::int16_t value) {
    temperatureUnit_ = value;
    MarkModifiedAndPost(update_flag::kUnit);
}

void COnlineImagerDoc::SetEmissivity(float value) {
    emissivity_ = (value > 0.0f && value <= 1.0f) ? value : 1.0f;
    emissivityFactor_ = static_cast<float>(std::pow(static_cast<double>(emissivity_), -0.25));
    MarkModifiedAndPost(update_flag::kCorrection);
}

void COnlineImagerDoc::SetBackgroundTemperature(std::int16_t value) {
    backgroundTemperature_ = value;
    MarkModifiedAndPost(update_flag::kCorrection);
}

void COnlineImagerDoc::SetSnapshotNote(const std::string& text) {
    snapshotNote_ = text;
    MarkModifiedAndPost(update_flag::kSnapshot);
}

void COnlineImagerDoc::SetSecondSpotShown(bool shown) {
    secondSpotShown_ = shown;
    Post(update_flag::kSecondSpot);
}

void COnlineImagerDoc::SetSnapshotFolder(const std::string& folder) {
    snapshotFolder_ = folder;
}

void COnlineImagerDoc::SetIntegrationCount(std::int16_t count) {
    picture_.integrationCount = count;
}

void COnlineImagerDoc::SetAutoSpanAllowed(bool allowed) {
    picture_.autoSpanAllowed = allowed;
}

void COnlineImagerDoc::SetAutoSpanOn(bool on) {
    picture_.autoSpanOn = on;
}

// --- spot and span moves ---------------------------------------------------------

void COnlineImagerDoc::MoveSpot(int k, int key) {
    std::uint8_t& p = k == 0 ? spotPosition1_ : spotPosition2_;
    if (key == kKeyLeft && p % 16 != 0) {
        --p;
    } else if (key == kKeyUp && p >= 16) {
        p = static_cast<std::uint8_t>(p - 16);
    } else if (key == kKeyRight && p % 16 < 15) {
        ++p;
    } else if (key == kKeyDown && p < 240) {
        p = static_cast<std::uint8_t>(p + 16);
    }
    snapshotModified_ = true;
    UpdateAllViews(nullptr, update_flag::kSpots);
}

void COnlineImagerDoc::ShiftSpanDown() {
    const std::uint16_t lowest = link_.CurrentLowerLimit();
    {
        std::lock_guard lock(picture_.mutex);
        SpanAdjuster::ShiftDown(picture_.spanLow, picture_.spanHigh, lowest);
    }
    snapshotModified_ = true;
    UpdateAllViews(nullptr, update_flag::kSpan);
}

void COnlineImagerDoc::ShiftSpanUp() {
    const std::uint16_t highest = link_.CurrentUpperLimit();
    {
        std::lock_guard lock(picture_.mutex);
        SpanAdjuster::ShiftUp(picture_.spanLow, picture_.spanHigh, highest);
    }
    snapshotModified_ = true;
    UpdateAllViews(nullptr, update_flag::kSpan);
}

void COnlineImagerDoc::WidenSpan() {
    const std::uint16_t lowest = link_.CurrentLowerLimit();
    const std::uint16_t highest = link_.CurrentUpperLimit();
    {
        std::lock_guard lock(picture_.mutex);
        SpanAdjuster::Widen(picture_.spanLow, picture_.spanHigh, lowest, highest);
    }
    snapshotModified_ = true;
    UpdateAllViews(nullptr, update_flag::kSpan);
}

void COnlineImagerDoc::NarrowSpan() {
    {
        std::lock_guard lock(picture_.mutex);
        SpanAdjuster::Narrow(picture_.spanLow, picture_.spanHigh);
    }
    snapshotModified_ = true;
    UpdateAllViews(nullptr, update_flag::kSpan);
}

void COnlineImagerDoc::FitSpanToFrame() {
    {
        std::lock_guard lock(picture_.mutex);
        const auto& pixels = picture_.displayFrame.pixels;
        const auto [lowest, highest] =
            std::minmax_element(pixels.begin(), pixels.end(), [](std::uint16_t a, std::uint16_t b) {
                return static_cast<std::int16_t>(a) < static_cast<std::int16_t>(b);
            });
        picture_.spanLow = *lowest;
        picture_.spanHigh = *highest;
    }
    UpdateAllViews(nullptr, update_flag::kSpan);
}

// --- picture states --------------------------------------------------------------

void COnlineImagerDoc::Freeze(bool save) {
    picture_.live = false;
    if (save) {
        SaveSettings();
    }
}

void COnlineImagerDoc::ReturnToLive(bool reload) {
    picture_.slowFirstPass = true;
    snapshotIndex_ = -1;
    if (reload) {
        LoadSettings();
        Post(update_flag::kAll);
    }
    // Set last, so that no frame is taken in while the file is read.
    picture_.live = true;
}

// --- the document archive ----------------------------------------------------------

DocumentRecord COnlineImagerDoc::RecordToStore() const {
    DocumentRecord record;
    record.backgroundTemperature = backgroundTemperature_;
    record.paletteNumber = paletteNumber_;
    record.integrationCount = picture_.integrationCount;
    record.temperatureUnit = temperatureUnit_;
    record.emissivity = emissivity_;
    record.emissivityFactor = emissivityFactor_;
    record.snapshotNote = snapshotNote_;
    record.secondSpotShown = secondSpotShown_;
    record.spotPosition1 = spotPosition1_;
    record.spotPosition2 = spotPosition2_;
    record.captureTime = captureTime_;
    record.rangeLow = GetRangeLow();
    record.rangeHigh = GetRangeHigh();
    const std::uint8_t range = link_.CurrentRangeNumber();
    record.rangeDescription = range == 0 ? std::string() : link_.Description(range - 1);
    record.headSerialNumber = link_.HeadSerialNumber();
    record.freezeTime = freezeTime_;
    if (ViewInterface* view = FirstView()) {
        record.interpolatedMode = view->GetInterpolatedMode();
        record.edgeRepair = view->GetEdgeRepairFlag();
    }
    std::lock_guard lock(picture_.mutex);
    record.spanLow = picture_.spanLow;
    record.spanHigh = picture_.spanHigh;
    record.displayFrame = picture_.displayFrame;
    return record;
}

void COnlineImagerDoc::ApplyRecord(const DocumentRecord& record, bool complete) {
    backgroundTemperature_ = record.backgroundTemperature;
    // The palette number is kept as stored; the palette look-up guards its range.
    paletteNumber_ = record.paletteNumber;
    picture_.integrationCount = std::clamp(record.integrationCount, kFewestFrames, kMostFrames);
    temperatureUnit_ = record.temperatureUnit;
    emissivity_ = record.emissivity;
    emissivityFactor_ = record.emissivityFactor;
    snapshotNote_ = record.snapshotNote;
    secondSpotShown_ = record.secondSpotShown;
    spotPosition1_ = record.spotPosition1;
    spotPosition2_ = record.spotPosition2;
    captureTime_ = record.captureTime;
    recordedRangeLow_ = record.rangeLow;
    recordedRangeHigh_ = record.rangeHigh;
    freezeTime_ = record.freezeTime;
    {
        std::lock_guard lock(picture_.mutex);
        picture_.spanLow = record.spanLow;
        picture_.spanHigh = record.spanHigh;
        if (complete) {
            picture_.displayFrame = record.displayFrame;
        } else {
            picture_.rawFrame = ThermalFrame::Filled(kEmptyPictureValue);
            picture_.displayFrame = ThermalFrame::Filled(kEmptyPictureValue);
        }
    }
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
    DocumentArchive::Store(RecordToStore(), archive);
}

void COnlineImagerDoc::Serialize(ArchiveReader& archive) {
    DocumentRecord record = RecordToStore();
    record.rangeLow = recordedRangeLow_;
    record.rangeHigh = recordedRangeHigh_;
    record.interpolatedMode.reset();
    record.edgeRepair.reset();
    bool complete = true;
    try {
        DocumentArchive::Load(archive, record);
    } catch (const ArchiveException&) {
        complete = false;
    }
    ApplyRecord(record, complete);
    UpdateAllViews(nullptr, update_flag::kRange);
}

void COnlineImagerDoc::SetEdgeRepaired(bool repaired) {
    ForEachViewLocked([repaired](ViewInterface& view) { view.SetEdgeRepaired(repaired); });
}

// --- files ---------------------------------------------------------------------------

bool COnlineImagerDoc::LoadFile(const std::filesystem::path& hostPath) {
    const auto bytes = WholeFile::Read(hostPath);
    if (!bytes) {
        return false;
    }
    ArchiveReader archive(*bytes);
    Serialize(archive);
    return true;
}

void COnlineImagerDoc::WriteFile(const std::filesystem::path& hostPath) {
    ArchiveWriter archive;
    Serialize(archive);
    WholeFile::WriteAtomically(hostPath, archive.Bytes());
}

void COnlineImagerDoc::SaveSettings() {
    try {
        WriteFile(DeviceRoot::Map(kSettingsFile));
    } catch (const FileError& error) {
        if (error.GetReason() != FileError::Reason::kCannotOpen) {
            throw;
        }
    }
}

void COnlineImagerDoc::LoadSettings() {
    const std::filesystem::path path = DeviceRoot::Map(kSettingsFile);
    const auto bytes = WholeFile::Read(path);
    if (!bytes) {
        return;
    }
    if (bytes->empty()) {
        // What an interrupted write of earlier versions left: start afresh.
        ::unlink(path.c_str());
        return;
    }
    ArchiveReader archive(*bytes);
    Serialize(archive);
}

void COnlineImagerDoc::OpenArchiveFile(const std::filesystem::path& hostPath) {
    if (!LoadFile(hostPath)) {
        throw FileError(hostPath, FileError::Reason::kCannotOpen, "");
    }
}

// --- snapshots -------------------------------------------------------------------------

int COnlineImagerDoc::CountSnapshots() const {
    return SnapshotFolder(snapshotFolder_).Count();
}

bool COnlineImagerDoc::AnySnapshot() const {
    return SnapshotFolder(snapshotFolder_).Any();
}

void COnlineImagerDoc::BeginBrowsing() {
    picture_.live = false;
    snapshotIndex_ = 0;
    SaveSettings();
    LoadSnapshot(0);
}

std::string COnlineImagerDoc::TitleFromCaptureTime() const {
    const std::tm local = LocalTime::Breakdown(captureTime_);
    return LocalTime::ShortDate(local) + " - " + LocalTime::ShortTime(local);
}

void COnlineImagerDoc::LoadSnapshot(int position) {
    snapshotModified_ = false;
    const auto file = SnapshotFolder(snapshotFolder_).FileAt(position);
    if (!file) {
        return;
    }
    if (!LoadFile(*file)) {
        return;
    }
    snapshotTitle_ = TitleFromCaptureTime();
    Post(update_flag::kAll);
}

bool COnlineImagerDoc::AskToSaveChanges() {
    return messages_ != nullptr &&
           messages_->ShowString(kSaveChangesQuestion, message_box::kYesNo) == message_box::kIdYes;
}

void COnlineImagerDoc::NextSnapshot() {
    if (snapshotModified_ && AskToSaveChanges()) {
        SaveSnapshotChanges(snapshotIndex_);
    }
    const int count = CountSnapshots();
    int next = snapshotIndex_ + 1;
    if (next >= count) {
        next = 0;
    }
    snapshotIndex_ = static_cast<std::int16_t>(next);
    LoadSnapshot(snapshotIndex_);
}

void COnlineImagerDoc::PreviousSnapshot(bool quiet) {
    if (!quiet && snapshotModified_ && AskToSaveChanges()) {
        SaveSnapshotChanges(snapshotIndex_);
    }
    const int count = CountSnapshots();
    int previous = snapshotIndex_ - 1;
    if (snapshotIndex_ <= 0 || previous >= count) {
        previous = count - 1;
    }
    snapshotIndex_ = static_cast<std::int16_t>(previous);
    LoadSnapshot(snapshotIndex_);
}

void COnlineImagerDoc::SaveSnapshotChanges(int position) {
    if (const auto file = SnapshotFolder(snapshotFolder_).FileToSaveBack(position)) {
        WriteFile(*file);
    }
}

void COnlineImagerDoc::OfferToSaveChanges() {
    if (AnySnapshot() && snapshotModified_ && AskToSaveChanges()) {
        SaveSnapshotChanges(snapshotIndex_);
    }
}

void COnlineImagerDoc::SaveNewSnapshot() {
    const SnapshotFolder folder(snapshotFolder_);
    const auto number = folder.NextNumber();
    if (!number) {
        // Every number is taken: storing under a used one would replace that snapshot.
        throw FileError(DeviceRoot::Map(folder.HandheldFolder()), FileError::Reason::kCannotOpen,
                        "no snapshot number left");
    }
    WriteFile(folder.NewFile(*number, LocalTime::Breakdown(captureTime_)));
    ReturnToLive(true);
}

void COnlineImagerDoc::DeleteSnapshot() {
    if (const auto file = SnapshotFolder(snapshotFolder_).FileAt(snapshotIndex_)) {
        ::unlink(file->c_str());  // a failure shows in the count that follows
    }
    if (CountSnapshots() != 0) {
        PreviousSnapshot(true);
    } else {
        ReturnToLive(true);
    }
}
