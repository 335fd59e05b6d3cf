#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_chooser.h"
#include "platform/message_box_service.h"
#include "platform/string_resources.h"
#include "platform/update_notifier.h"

namespace test_support {

// Message boxes answered from a script, every box recorded. Boxes with only an OK
// button answer OK; a question takes the next scripted answer, or No when none is left
// (and then fails the test when the boxes are strict).
class ScriptedMessageBoxes : public MessageBoxService {
  public:
    struct Shown {
        int stringId;      // 0 for a built-in text
        std::string text;  // the built-in text
        unsigned style;
    };

    static constexpr bool kStrict = true;

    explicit ScriptedMessageBoxes(bool strict = false) : strict_(strict) {}

    void Answer(int answer) { answers.push_back(answer); }
    int ShowText(const std::string& text, unsigned style) override;
    int ShowString(int stringId, unsigned style) override;

    std::vector<std::string> Texts() const;
    std::vector<int> StringIds() const;
    std::vector<unsigned> Styles() const;
    // The language boxes with their styles.
    std::vector<std::pair<int, unsigned>> Strings() const;
    // The string ids shown since the last call, built-in texts as 0.
    std::vector<int> TakeIds();

    std::deque<int> answers;
    std::vector<Shown> shown;

  private:
    int Reply(int stringId, unsigned style);

    bool strict_;
};

// File choices answered from a script: each call takes the next choice (an empty one is
// the user cancelling; cancelled when none is left) and records the folder it began in.
class ScriptedFileChooser : public FileChooser {
  public:
    std::optional<std::filesystem::path> ChooseSnapshot(
        const std::filesystem::path& folder) override;

    std::deque<std::optional<std::filesystem::path>> choices;
    std::vector<std::filesystem::path> folders;
};

// Records the posted hints instead of delivering them; the acquisition thread may post
// too, so the list is guarded.
class RecordingNotifier : public UpdateNotifier {
  public:
    void PostUpdate(std::uint32_t hint) override;
    std::vector<std::uint32_t> Hints() const;
    // The hints posted so far, forgotten.
    std::vector<std::uint32_t> Take();
    bool Contains(std::uint32_t hint) const;
    // Whether `hint` was posted, and forgets everything posted so far.
    bool TakeWasPosted(std::uint32_t hint);

  private:
    mutable std::mutex mutex_;
    std::vector<std::uint32_t> hints_;
};

// Language texts from a map; a missing id gives an empty text.
class MapStrings : public StringResources {
  public:
    MapStrings() = default;
    explicit MapStrings(std::map<int, std::string> texts) : texts_(std::move(texts)) {}
    std::string String(int id) const override;
    void Set(int id, std::string text) { texts_[id] = std::move(text); }

    // The texts the display controls use.
    static MapStrings Standard();

  private:
    std::map<int, std::string> texts_;
};

}  // namespace test_support
