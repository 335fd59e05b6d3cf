#include "document/picture_model.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "document/document_record.h"
#include "document/span_adjuster.h"

namespace {

constexpr std::int16_t kFewestFrames = 1;
constexpr std::int16_t kMostFrames = 10;

}  // namespace

ThermalFrame PictureModel::DisplayFrame() const {
    std::lock_guard lock(shared_.mutex);
    return shared_.displayFrame;
}

ThermalFrame PictureModel::RawFrame() const {
    std::lock_guard lock(shared_.mutex);
    return shared_.rawFrame;
}

std::uint16_t PictureModel::SpanLow() const {
    std::lock_guard lock(shared_.mutex);
    return shared_.spanLow;
}

std::uint16_t PictureModel::SpanHigh() const {
    std::lock_guard lock(shared_.mutex);
    return shared_.spanHigh;
}

void PictureModel::SetEmissivity(float value) {
    emissivity_ = (value > 0.0f && value <= 1.0f) ? value : 1.0f;
    emissivityFactor_ = FactorOf(emissivity_);
}

float PictureModel::FactorOf(float emissivity) {
    return static_cast<float>(std::pow(static_cast<double>(emissivity), -0.25));
}

void PictureModel::MoveSpot(int k, SpotDirection direction) {
    std::uint8_t& p = k == 0 ? spotPosition1_ : spotPosition2_;
    if (direction == SpotDirection::kLeft && p % 16 != 0) {
        --p;
    } else if (direction == SpotDirection::kUp && p >= 16) {
        p = static_cast<std::uint8_t>(p - 16);
    } else if (direction == SpotDirection::kRight && p % 16 < 15) {
        ++p;
    } else if (direction == SpotDirection::kDown && p < 240) {
        p = static_cast<std::uint8_t>(p + 16);
    }
}

void PictureModel::ShiftSpanDown(std::uint16_t lowest) {
    std::lock_guard lock(shared_.mutex);
    span_adjuster::ShiftDown(shared_.spanLow, shared_.spanHigh, lowest);
}

void PictureModel::ShiftSpanUp(std::uint16_t highest) {
    std::lock_guard lock(shared_.mutex);
    span_adjuster::ShiftUp(shared_.spanLow, shared_.spanHigh, highest);
}

void PictureModel::WidenSpan(std::uint16_t lowest, std::uint16_t highest) {
    std::lock_guard lock(shared_.mutex);
    span_adjuster::Widen(shared_.spanLow, shared_.spanHigh, lowest, highest);
}

void PictureModel::NarrowSpan() {
    std::lock_guard lock(shared_.mutex);
    span_adjuster::Narrow(shared_.spanLow, shared_.spanHigh);
}

void PictureModel::FitSpanToFrame() {
    std::lock_guard lock(shared_.mutex);
    std::tie(shared_.spanLow, shared_.spanHigh) = Extremes(shared_.displayFrame);
}

std::pair<std::uint16_t, std::uint16_t> PictureModel::Extremes(const ThermalFrame& frame) {
    const auto [lowest, highest] = std::minmax_element(
        frame.pixels.begin(), frame.pixels.end(), [](std::uint16_t a, std::uint16_t b) {
            return static_cast<std::int16_t>(a) < static_cast<std::int16_t>(b);
        });
    return {*lowest, *highest};
}

void PictureModel::ResetCorrections() {
    emissivity_ = 1.0f;
    emissivityFactor_ = 1.0f;
    note_.clear();
    backgroundTemperature_ = kStartBackgroundTemperature;
    shared_.integrationCount = 1;
    shared_.autoSpanAllowed = true;
    shared_.autoSpanOn = true;
    EmptyFrames();
}

void PictureModel::EmptyFrames() {
    std::lock_guard lock(shared_.mutex);
    EmptyFramesLocked();
}

void PictureModel::EmptyFramesLocked() {
    shared_.rawFrame = ThermalFrame::Filled(kEmptyPictureValue);
    shared_.displayFrame = ThermalFrame::Filled(kEmptyPictureValue);
}

void PictureModel::Store(DocumentRecord& record) const {
    record.backgroundTemperature = backgroundTemperature_;
    record.paletteNumber = paletteNumber_;
    record.integrationCount = shared_.integrationCount;
    record.temperatureUnit = temperatureUnit_;
    record.emissivity = emissivity_;
    record.emissivityFactor = emissivityFactor_;
    record.snapshotNote = note_;
    record.secondSpotShown = secondSpotShown_;
    record.spotPosition1 = spotPosition1_;
    record.spotPosition2 = spotPosition2_;
    record.captureTime = captureTime_;
    record.freezeTime = freezeTime_;
    std::lock_guard lock(shared_.mutex);
    record.spanLow = shared_.spanLow;
    record.spanHigh = shared_.spanHigh;
    record.displayFrame = shared_.displayFrame;
}

void PictureModel::Apply(const DocumentRecord& record, bool complete) {
    backgroundTemperature_ = record.backgroundTemperature;
    // The palette number is kept as stored; the palette look-up guards its range.
    paletteNumber_ = record.paletteNumber;
    shared_.integrationCount = std::clamp(record.integrationCount, kFewestFrames, kMostFrames);
    temperatureUnit_ = record.temperatureUnit;
    emissivity_ = record.emissivity;
    emissivityFactor_ = record.emissivityFactor;
    note_ = record.snapshotNote;
    secondSpotShown_ = record.secondSpotShown;
    spotPosition1_ = record.spotPosition1;
    spotPosition2_ = record.spotPosition2;
    captureTime_ = record.captureTime;
    recordedRangeLow_ = record.rangeLow;
    recordedRangeHigh_ = record.rangeHigh;
    freezeTime_ = record.freezeTime;
    std::lock_guard lock(shared_.mutex);
    shared_.spanLow = record.spanLow;
    shared_.spanHigh = record.spanHigh;
    if (complete) {
        shared_.displayFrame = record.displayFrame;
    } else {
        EmptyFramesLocked();
    }
}
