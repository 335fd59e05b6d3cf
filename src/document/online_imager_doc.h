#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "acquisition/acquisition_thread.h"
#include "document/document_base.h"
#include "link/head_event_sink.h"
#include "link/imager_link.h"
#include "link/thermal_frame.h"

class ArchiveReader;
class ArchiveWriter;
class MessageBoxService;
class UpdateNotifier;
struct DocumentRecord;

// The one document of the imager: holds the two frames and every user setting, reads
// and writes the settings file and the snapshot files, asks the head link about its
// ranges and tells its views what changed. Runs on the user-interface thread except
// where noted. Views attach with AddView and must detach with RemoveView before they
// are destroyed. It opens no device and starts no thread.
class COnlineImagerDoc : public DocumentBase, public HeadEventSink, public AcquisitionListener {
  public:
    static constexpr const char* kSettingsFile = "\\Program Files\\Therlix Imager\\Persist.dat";
    static constexpr const char* kProgramFolder = "\\Program Files\\Therlix Imager";
    static constexpr const char* kPersonalFolder = "\\My Documents";

    // Either service may be null; `link` must outlive the document.
    COnlineImagerDoc(MessageBoxService* messages, UpdateNotifier* notifier, ImagerLink& link);

    // Takes the start state: capture time now, the settings file read, the folders
    // created, the corrections reset, live pictures.
    void StartUp();
    // Writes the settings file at the end of the program; failures are not reported.
    void ShutDown();

    // The picture state the acquisition thread shares.
    AcquisitionThread::SharedState& SharedPicture() { return picture_; }

    // Accessors. Frames and span are copies taken under the picture lock.
    std::int16_t GetPaletteNumber() const { return paletteNumber_; }
    ThermalFrame GetDisplayFrame() const;
    ThermalFrame GetRawFrame() const;
    std::uint16_t GetSpanLow() const;
    std::uint16_t GetSpanHigh() const;
    std::uint16_t GetRangeLow() const;
    std::uint16_t GetRangeHigh() const;
    bool IsSecondSpotShown() const { return secondSpotShown_; }
    std::uint8_t GetSpotPosition(int k) const { return k == 0 ? spotPosition1_ : spotPosition2_; }
    float GetEmissivity() const { return emissivity_; }
    float GetEmissivityFactor() const { return emissivityFactor_; }
    std::int16_t GetTemperatureUnit() const { return temperatureUnit_; }
    std::string GetSnapshotNote() const { return snapshotNote_; }
    std::string GetSnapshotFolder() const { return snapshotFolder_; }
    std::string GetSnapshotTitle() const { return snapshotTitle_; }
    std::int16_t GetBackgroundTemperature() const { return backgroundTemperature_; }
    std::int16_t GetIntegrationCount() const { return picture_.integrationCount; }
    bool IsAutoSpanAllowed() const { return picture_.autoSpanAllowed; }
    bool IsAutoSpanOn() const { return picture_.autoSpanOn; }
    std::int16_t GetSnapshotIndex() const { return snapshotIndex_; }
    std::uint8_t GetCurrentRangeNumber() const { return link_.CurrentRangeNumber(); }
    std::vector<std::string> GetRangeDescriptions() const { return link_.Descriptions(); }
    std::int64_t GetCaptureTime() const { return captureTime_; }
    std::int64_t GetFreezeTime() const { return freezeTime_; }
    bool IsLive() const { return picture_.live; }
    bool IsSnapshotModified() const { return snapshotModified_; }

    // Setters; those that change what a snapshot shows mark it modified.
    void SetPaletteNumber(std::int16_t value);
    void SetTemperatureUnit(std::int16_t value);
    // Values outside (0, 1] become 1.0; the factor is emissivity to the power -0.25.
    void SetEmissivity(float value);
    void SetBackgroundTemperature(std::int16_t value);
    void SetSnapshotNote(const std::string& text);
    void SetSecondSpotShown(bool shown);
    void SetSnapshotFolder(const std::string& folder);
    void SetIntegrationCount(std::int16_t count);
    void SetAutoSpanAllowed(bool allowed);
    void SetAutoSpanOn(bool on);
    void SetCaptureTime(std::int64_t time) { captureTime_ = time; }
    void SetFreezeTime(std::int64_t time) { freezeTime_ = time; }
    void SelectRange(int range) { link_.SelectRange(range); }

    // Moves spot marker k + 1 by one pixel for an arrow key (0x25..0x28).
    void MoveSpot(int k, int key);
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
    int CountSnapshots() const;
    bool AnySnapshot() const;
    void BeginBrowsing();
    void LoadSnapshot(int position);
    void NextSnapshot();
    void PreviousSnapshot(bool quiet);
    void SaveSnapshotChanges(int position);
    void OfferToSaveChanges();
    void SaveNewSnapshot();
    void DeleteSnapshot();

    // Reads a document archive file (a snapshot opened from the command line).
    // Raises FileError when it cannot be read.
    void OpenArchiveFile(const std::filesystem::path& hostPath);

    // The document archive.
    void Serialize(ArchiveWriter& archive) const;
    void Serialize(ArchiveReader& archive);

    // From the acquisition thread: forwarded to every view.
    void SetEdgeRepaired(bool repaired) override;
    // From the acquisition thread: posted to the views as update flags.
    void RangeInformationChanged() override;
    void Notice(AcquisitionEvent event) override;

  private:
    DocumentRecord RecordToStore() const;
    void ApplyRecord(const DocumentRecord& record, bool complete);
    void CreateFolders();
    void ResetCorrections();
    void MarkModifiedAndPost(std::uint32_t hint);
    void Post(std::uint32_t hint);
    bool AskToSaveChanges();
    // Reads a document archive file; false when it cannot be opened.
    bool LoadFile(const std::filesystem::path& hostPath);
    void WriteFile(const std::filesystem::path& hostPath);
    std::string TitleFromCaptureTime() const;

    MessageBoxService* messages_;
    UpdateNotifier* notifier_;
    ImagerLink& link_;
    std::int16_t paletteNumber_ = 1;
    // Frames, span, integration count, auto-span, live and slow-first-pass flags:
    // shared with the acquisition thread.
    AcquisitionThread::SharedState picture_;
    std::uint16_t recordedRangeLow_ = 0;
    std::uint16_t recordedRangeHigh_ = 0;
    std::uint8_t spotPosition1_ = 135;
    std::uint8_t spotPosition2_ = 136;
    bool secondSpotShown_ = true;
    float emissivity_ = 1.0f;
    float emissivityFactor_ = 1.0f;
    std::int16_t temperatureUnit_ = 0;
    std::string snapshotNote_;
    std::int16_t backgroundTemperature_ = 200;
    std::string snapshotFolder_;
    std::string snapshotTitle_;
    std::int16_t snapshotIndex_ = -1;
    bool snapshotModified_ = false;
    std::int64_t captureTime_ = 0;
    std::int64_t freezeTime_ = 0;
};
