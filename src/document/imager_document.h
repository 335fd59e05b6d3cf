#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "acquisition/acquisition_thread.h"
#include "document/picture_model.h"
#include "document/settings_store.h"
#include "document/snapshot_browser.h"
#include "document/view_list.h"
#include "link/head_event_sink.h"
#include "link/imager_link.h"
#include "link/thermal_frame.h"

class ArchiveReader;
class ArchiveWriter;
class MessageBoxService;
class UpdateNotifier;
struct DocumentRecord;

// The one thing the view talks to. It keeps the picture model and the snapshot
// browser, reads and writes the settings file and the snapshot files, asks the head
// link about its ranges and tells its views what changed. Runs on the user-interface
// thread except where noted. Views attach with AddView and must detach with RemoveView
// before they are destroyed. It opens no device and starts no thread.
class ImagerDocument : public ViewList, public HeadEventSink, public AcquisitionListener {
  public:
    static constexpr const char* kSettingsFile = settings_store::kFile;
    static constexpr const char* kProgramFolder = "\\Program Files\\Therlix Imager";
    static constexpr const char* kPersonalFolder = "\\My Documents";

    // Either service may be null; `link` must outlive the document.
    ImagerDocument(MessageBoxService* messages, UpdateNotifier* notifier, ImagerLink& link);

    // Takes the start state: capture time now, the settings file read, the folders
    // created, the corrections reset, live pictures.
    void StartUp();
    // Writes the settings file at the end of the program; failures are not reported.
    // While a snapshot is shown, the live settings put aside when browsing began are read
    // back first, so that they, not the snapshot's, are kept; the snapshot file stays as
    // stored.
    void ShutDown();

    // The picture state the acquisition thread shares.
    AcquisitionThread::SharedState& SharedPicture() { return picture_.Shared(); }

    // Accessors. Frames and span are copies taken under the picture lock.
    std::int16_t PaletteNumber() const { return picture_.PaletteNumber(); }
    ThermalFrame DisplayFrame() const { return picture_.DisplayFrame(); }
    ThermalFrame RawFrame() const { return picture_.RawFrame(); }
    std::uint16_t SpanLow() const { return picture_.SpanLow(); }
    std::uint16_t SpanHigh() const { return picture_.SpanHigh(); }
    // The head's limits while live, the recorded ones while browsing.
    std::uint16_t RangeLow() const;
    std::uint16_t RangeHigh() const;
    bool IsSecondSpotShown() const { return picture_.SecondSpotShown(); }
    std::uint8_t SpotPosition(int k) const { return picture_.SpotPosition(k); }
    float Emissivity() const { return picture_.Emissivity(); }
    float EmissivityFactor() const { return picture_.EmissivityFactor(); }
    std::int16_t TemperatureUnit() const { return picture_.TemperatureUnit(); }
    std::string SnapshotNote() const { return picture_.Note(); }
    std::string SnapshotFolder() const { return browser_.Folder(); }
    std::string SnapshotTitle() const { return browser_.Title(); }
    std::int16_t BackgroundTemperature() const { return picture_.BackgroundTemperature(); }
    std::int16_t IntegrationCount() const { return picture_.IntegrationCount(); }
    bool IsAutoSpanAllowed() const { return picture_.AutoSpanAllowed(); }
    bool IsAutoSpanOn() const { return picture_.AutoSpanOn(); }
    std::int16_t SnapshotIndex() const { return browser_.Position(); }
    std::uint8_t CurrentRangeNumber() const { return link_.CurrentRangeNumber(); }
    std::vector<std::string> RangeDescriptions() const { return link_.Descriptions(); }
    std::int64_t CaptureTime() const { return picture_.CaptureTime(); }
    std::int64_t FreezeTime() const { return picture_.FreezeTime(); }
    bool IsLive() const { return picture_.Live(); }
    bool IsSnapshotModified() const { return browser_.Modified(); }
    // The snapshot entry shown could not be read; its title is then its file name.
    bool IsSnapshotUnreadable() const { return browser_.ShownUnreadable(); }
    // No head answers on the port (never before the port was first opened).
    bool IsHeadAbsent() const { return link_.HeadAbsent(); }

    // Setters; those that change what a snapshot shows mark it modified.
    void SetPaletteNumber(std::int16_t value);
    void SetTemperatureUnit(std::int16_t value);
    // Values outside (0, 1] become 1.0; the factor is emissivity to the power -0.25.
    void SetEmissivity(float value);
    void SetBackgroundTemperature(std::int16_t value);
    void SetSnapshotNote(const std::string& text);
    void SetSecondSpotShown(bool shown);
    void SetSnapshotFolder(const std::string& folder) { browser_.SetFolder(folder); }
    void SetIntegrationCount(std::int16_t count) { picture_.SetIntegrationCount(count); }
    void SetAutoSpanAllowed(bool allowed) { picture_.SetAutoSpanAllowed(allowed); }
    void SetAutoSpanOn(bool on) { picture_.SetAutoSpanOn(on); }
    void SetCaptureTime(std::int64_t time) { picture_.SetCaptureTime(time); }
    void SetFreezeTime(std::int64_t time) { picture_.SetFreezeTime(time); }
    void SelectRange(int range) { link_.SelectRange(range); }

    // Moves spot marker k + 1 by one pixel.
    void MoveSpot(int k, SpotDirection direction);
    void ShiftSpanDown();
    void ShiftSpanUp();
    void WidenSpan();
    void NarrowSpan();
    void FitSpanToFrame();

    // Stops taking in frames; with `save`, writes the settings file.
    void Freeze(bool save);
    // Resumes live pictures; with `reload`, reads the settings file back first.
    void ReturnToLive(bool reload);

    // The settings file. Failing to create or open it is silent; a later read or write
    // failure raises FileError.
    void SaveSettings();
    void LoadSettings();

    // Snapshot files. File errors raise FileError; questions go through the message
    // box service.
    int CountSnapshots() const { return browser_.Count(); }
    bool AnySnapshot() const { return browser_.Any(); }
    void BeginBrowsing();
    void LoadSnapshot(int position);
    void ShowEntry(const std::optional<std::filesystem::path>& file);
    void NextSnapshot();
    void PreviousSnapshot(bool quiet);
    void SaveSnapshotChanges(int position);
    void OfferToSaveChanges();
    // OfferToSaveChanges with Cancel as a third answer (before the program ends): false
    // when the user cancels; nothing is then written.
    bool OfferToSaveChangesOrCancel();
    // Writes the changes of the snapshot shown without asking (the save command); the
    // snapshot then counts as unchanged. Nothing happens without a change.
    void SaveShownSnapshot();
    // Shows the document archive file `hostPath` the way browsing shows a snapshot: the
    // live settings are put aside first (or, while a snapshot is shown, its changes are
    // offered for saving); the file takes its place in the browsing order, or is shown
    // after the folder's snapshots when the order does not reach it. Raises FileError when
    // the file cannot be read or the settings cannot be put aside; the document then
    // stays as it was.
    void OpenSnapshot(const std::filesystem::path& hostPath);
    void SaveNewSnapshot();
    void DeleteSnapshot();

    // Reads a document archive file (a snapshot opened from the command line).
    // Raises FileError when it cannot be read.
    void OpenArchiveFile(const std::filesystem::path& hostPath);

    // The document archive: writes the document, or reads one into it (the picture
    // turns empty when the data ends early) and tells the views of the new range.
    void Store(ArchiveWriter& archive) const;
    void Load(ArchiveReader& archive);

    // From the acquisition thread: forwarded to every view.
    void SetEdgeRepaired(bool repaired) override;
    // From the acquisition thread: posted to the views as update flags.
    void RangeInformationChanged() override;
    void HeadPresenceChanged() override;
    void Notice(AcquisitionEvent event) override;

  private:
    DocumentRecord RecordToStore() const;
    void ApplyRecord(const DocumentRecord& record, bool complete);
    // Reads an archive into the document and tells the views of the new range.
    void ReadArchive(std::span<const std::uint8_t> bytes);
    void CreateFolders();
    void MarkModifiedAndPost(std::uint32_t hint);
    void MarkModifiedAndUpdate(std::uint32_t hint);
    void Post(std::uint32_t hint);
    // Message 129 with the buttons of `style`; the answer.
    int AskToSaveChanges(unsigned style);
    void SaveShownSnapshotChanges();
    // Shows the snapshot at `position`, or the opened file again when it is the only one.
    void MoveToSnapshot(int position);
    // Gives `hostPath` its browsing position, or shows it as the opened file.
    void PlaceInBrowsingOrder(const std::filesystem::path& hostPath);
    // Shows the archive `bytes` of a snapshot file: title, all views told.
    void ShowSnapshot(std::span<const std::uint8_t> bytes);
    // Reads a document archive file; false when it cannot be opened.
    bool LoadFile(const std::filesystem::path& hostPath);
    // LoadFile for browsing: false also when reading fails.
    bool ReadSnapshotFile(const std::filesystem::path& hostPath);
    void ShowUnreadable(const std::optional<std::filesystem::path>& file);
    void WriteFile(const std::filesystem::path& hostPath);

    MessageBoxService* messages_;
    UpdateNotifier* notifier_;
    ImagerLink& link_;
    PictureModel picture_;
    SnapshotBrowser browser_;
};
