#pragma once

// Helpers shared by the document tests: a temporary device root, scripted message
// boxes, recorded notifications and views, and a builder for expected archive bytes.

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
#include "platform/message_box_service.h"
#include "platform/update_notifier.h"

namespace document_test {

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    std::string name_;
    std::string old_;
    bool had_ = false;
};

// A fresh device root (XDG_DATA_HOME in a new temporary folder), UTC and the C locale,
// removed again at the end.
class TemporaryDeviceRoot {
  public:
    TemporaryDeviceRoot();
    ~TemporaryDeviceRoot();
    TemporaryDeviceRoot(const TemporaryDeviceRoot&) = delete;
    TemporaryDeviceRoot& operator=(const TemporaryDeviceRoot&) = delete;

    // The host path of a handheld path.
    std::filesystem::path Host(const std::string& handheldPath) const;

  private:
    std::filesystem::path base_;
    ScopedEnvironment dataHome_;
    ScopedEnvironment zone_;
    ScopedEnvironment locale_;
};

// Answers questions from a script (No when the script is empty) and records them.
class ScriptedMessageBoxes : public MessageBoxService {
  public:
    void Answer(int answer) { answers_.push_back(answer); }
    int ShowText(const std::string& text, unsigned style) override;
    int ShowString(int stringId, unsigned style) override;

    std::vector<std::string> texts;
    std::vector<std::pair<int, unsigned>> strings;

  private:
    std::deque<int> answers_;
};

class RecordingNotifier : public UpdateNotifier {
  public:
    void PostUpdate(std::uint32_t hint) override;
    std::vector<std::uint32_t> Take();
    bool Contains(std::uint32_t hint);

  private:
    std::mutex mutex_;
    std::vector<std::uint32_t> hints_;
};

class RecordingView : public DocumentView {
  public:
    void ShowChanges(std::uint32_t hint) override;
    bool GetInterpolatedMode() const override { return interpolated; }
    void SetInterpolatedMode(bool on) override { interpolated = on; }
    bool GetEdgeRepairFlag() const override { return edgeFlag; }
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
