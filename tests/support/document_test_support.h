#pragma once

// Helpers of the document tests: recorded views, a builder for expected archive bytes,
// whole-file reading and writing.

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "document/document_view.h"
#include "support/environment.h"
#include "support/fake_services.h"

namespace document_test {

using test_support::RecordingNotifier;
using test_support::ScopedEnvironment;
using test_support::ScriptedMessageBoxes;

// A device root in the C locale and UTC, where the document tests run.
class TemporaryDeviceRoot : public test_support::TemporaryDeviceRoot {
  public:
    TemporaryDeviceRoot() : test_support::TemporaryDeviceRoot(Locale::kCInUtc) {}
};

class RecordingView : public DocumentView {
  public:
    void ShowChanges(std::uint32_t hint) override;
    bool InterpolatedMode() const override { return interpolated; }
    void SetInterpolatedMode(bool on) override { interpolated = on; }
    bool EdgeRepairFlag() const override { return edgeFlag; }
    void SetEdgeRepairFlag(bool on) override { edgeFlag = on; }
    void SetEdgeRepaired(bool repaired) override { edgeRepaired = repaired ? 1 : 0; }

    std::vector<std::uint32_t> hints;
    bool interpolated = false;
    bool edgeFlag = false;
    int edgeRepaired = -1;
};

// Builds expected archive bytes field by field, little-endian.
class Bytes {
  public:
    Bytes& Byte(std::uint8_t value);
    Bytes& Word(std::uint16_t value);
    Bytes& Long(std::int32_t value);
    Bytes& Float(float value);
    Bytes& Raw(std::initializer_list<std::uint8_t> values);
    // A text of 16-bit characters as the archive writes it (lengths up to 254).
    Bytes& WideText(const std::u16string& text);
    Bytes& Frame(std::uint16_t value);
    std::vector<std::uint8_t> Take() { return bytes_; }
    std::size_t Size() const { return bytes_.size(); }

  private:
    std::vector<std::uint8_t> bytes_;
};

// The archive of a document in its start state: the given times, range and views.
std::vector<std::uint8_t> DefaultArchive(std::int64_t captureTime, std::uint16_t rangeLow,
                                         std::uint16_t rangeHigh);

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace document_test
