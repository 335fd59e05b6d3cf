#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "acquisition/acquisition_thread.h"
#include "link/thermal_frame.h"

struct DocumentRecord;

// The four ways a spot marker moves, one pixel at a time.
enum class SpotDirection { kLeft, kUp, kRight, kDown };

// What the picture shows and how: the two frames and the display span (shared with the
// acquisition thread), palette, temperature unit, corrections, spot markers, the note,
// the capture and freeze times and the head limits a loaded file recorded. It tells
// nobody of its changes; the document does.
class PictureModel {
  public:
    static constexpr std::int16_t kStartBackgroundTemperature = 200;

    // The part the acquisition thread works on.
    AcquisitionThread::SharedState& Shared() { return shared_; }

    // Frames and span are copies taken under the picture lock.
    ThermalFrame DisplayFrame() const;
    ThermalFrame RawFrame() const;
    std::uint16_t SpanLow() const;
    std::uint16_t SpanHigh() const;

    std::int16_t PaletteNumber() const { return paletteNumber_; }
    std::int16_t TemperatureUnit() const { return temperatureUnit_; }
    float Emissivity() const { return emissivity_; }
    float EmissivityFactor() const { return emissivityFactor_; }
    std::int16_t BackgroundTemperature() const { return backgroundTemperature_; }
    const std::string& Note() const { return note_; }
    bool SecondSpotShown() const { return secondSpotShown_; }
    std::uint8_t SpotPosition(int k) const { return k == 0 ? spotPosition1_ : spotPosition2_; }
    std::int16_t IntegrationCount() const { return shared_.integrationCount; }
    bool AutoSpanAllowed() const { return shared_.autoSpanAllowed; }
    bool AutoSpanOn() const { return shared_.autoSpanOn; }
    bool Live() const { return shared_.live; }
    std::int64_t CaptureTime() const { return captureTime_; }
    std::int64_t FreezeTime() const { return freezeTime_; }
    std::uint16_t RecordedRangeLow() const { return recordedRangeLow_; }
    std::uint16_t RecordedRangeHigh() const { return recordedRangeHigh_; }

    void SetPaletteNumber(std::int16_t value) { paletteNumber_ = value; }
    void SetTemperatureUnit(std::int16_t value) { temperatureUnit_ = value; }
    // Values outside (0, 1] become 1.0; the factor is emissivity to the power -0.25.
    void SetEmissivity(float value);
    // Emissivity to the power -0.25, as stored beside it.
    static float FactorOf(float emissivity);
    void SetBackgroundTemperature(std::int16_t value) { backgroundTemperature_ = value; }
    void SetNote(const std::string& text) { note_ = text; }
    void SetSecondSpotShown(bool shown) { secondSpotShown_ = shown; }
    void SetIntegrationCount(std::int16_t count) { shared_.integrationCount = count; }
    void SetAutoSpanAllowed(bool allowed) { shared_.autoSpanAllowed = allowed; }
    void SetAutoSpanOn(bool on) { shared_.autoSpanOn = on; }
    void SetLive(bool live) { shared_.live = live; }
    // The next acquisition pass waits longer (after a return to live pictures).
    void RequestSlowFirstPass() { shared_.slowFirstPass = true; }
    void SetCaptureTime(std::int64_t time) { captureTime_ = time; }
    void SetFreezeTime(std::int64_t time) { freezeTime_ = time; }

    // Moves spot marker k + 1 by one pixel, never off the picture.
    void MoveSpot(int k, SpotDirection direction);
    // Span moves within the head's limits (see span_adjuster.h).
    void ShiftSpanDown(std::uint16_t lowest);
    void ShiftSpanUp(std::uint16_t highest);
    void WidenSpan(std::uint16_t lowest, std::uint16_t highest);
    void NarrowSpan();
    // The span becomes the display frame's lowest and highest value (taken as signed).
    void FitSpanToFrame();
    // The lowest and highest value of `frame`, taken as signed.
    static std::pair<std::uint16_t, std::uint16_t> Extremes(const ThermalFrame& frame);

    // Emissivity 1, no note, the start background, one frame, automatic span, empty
    // frames.
    void ResetCorrections();

    // Both frames become empty pictures.
    void EmptyFrames();

    // The picture's fields of a document archive record.
    void Store(DocumentRecord& record) const;
    // Takes the picture's fields of a loaded record; without `complete` (the data
    // ended early) the frames become empty pictures.
    void Apply(const DocumentRecord& record, bool complete);

  private:
    // The caller holds the picture lock.
    void EmptyFramesLocked();

    AcquisitionThread::SharedState shared_;
    std::int16_t paletteNumber_ = 1;
    std::uint16_t recordedRangeLow_ = 0;
    std::uint16_t recordedRangeHigh_ = 0;
    std::uint8_t spotPosition1_ = 135;
    std::uint8_t spotPosition2_ = 136;
    bool secondSpotShown_ = true;
    float emissivity_ = 1.0f;
    float emissivityFactor_ = 1.0f;
    std::int16_t temperatureUnit_ = 0;
    std::string note_;
    std::int16_t backgroundTemperature_ = kStartBackgroundTemperature;
    std::int64_t captureTime_ = 0;
    std::int64_t freezeTime_ = 0;
};
