#include "support/fake_services.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace test_support {

int ScriptedMessageBoxes::ShowText(const std::string& text, unsigned style) {
    shown.push_back({0, text, style});
    return Reply(0, style);
}

int ScriptedMessageBoxes::ShowString(int stringId, unsigned style) {
    shown.push_back({stringId, std::string(), style});
    return Reply(stringId, style);
}

int ScriptedMessageBoxes::Reply(int stringId, unsigned style) {
    if ((style & 0x0F) == message_box::kOk) {
        return message_box::kIdOk;
    }
    if (answers.empty()) {
        if (strict_) {
            ADD_FAILURE() << "unexpected question " << stringId;
        }
        return message_box::kIdNo;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

std::vector<std::string> ScriptedMessageBoxes::Texts() const {
    std::vector<std::string> texts;
    for (const Shown& box : shown) {
        if (box.stringId == 0) {
            texts.push_back(box.text);
        }
    }
    return texts;
}

std::vector<int> ScriptedMessageBoxes::StringIds() const {
    std::vector<int> ids;
    for (const Shown& box : shown) {
        if (box.stringId != 0) {
            ids.push_back(box.stringId);
        }
    }
    return ids;
}

std::vector<unsigned> ScriptedMessageBoxes::Styles() const {
    std::vector<unsigned> styles;
    for (const Shown& box : shown) {
        styles.push_back(box.style);
    }
    return styles;
}

std::vector<std::pair<int, unsigned>> ScriptedMessageBoxes::Strings() const {
    std::vector<std::pair<int, unsigned>> strings;
    for (const Shown& box : shown) {
        if (box.stringId != 0) {
            strings.emplace_back(box.stringId, box.style);
        }
    }
    return strings;
}

std::vector<int> ScriptedMessageBoxes::TakeIds() {
    std::vector<int> ids;
    for (const Shown& box : shown) {
        ids.push_back(box.stringId);
    }
    shown.clear();
    return ids;
}

std::optional<std::filesystem::path> ScriptedFileChooser::ChooseSnapshot(
    const std::filesystem::path& folder) {
    folders.push_back(folder);
    if (choices.empty()) {
        return std::nullopt;
    }
    auto choice = choices.front();
    choices.pop_front();
    return choice;
}

void RecordingNotifier::PostUpdate(std::uint32_t hint) {
    std::lock_guard lock(mutex_);
    hints_.push_back(hint);
}

std::vector<std::uint32_t> RecordingNotifier::Hints() const {
    std::lock_guard lock(mutex_);
    return hints_;
}

std::vector<std::uint32_t> RecordingNotifier::Take() {
    std::lock_guard lock(mutex_);
    return std::exchange(hints_, {});
}

bool RecordingNotifier::Contains(std::uint32_t hint) const {
    std::lock_guard lock(mutex_);
    return std::find(hints_.begin(), hints_.end(), hint) != hints_.end();
}

bool RecordingNotifier::TakeWasPosted(std::uint32_t hint) {
    std::lock_guard lock(mutex_);
    const bool found = std::find(hints_.begin(), hints_.end(), hint) != hints_.end();
    hints_.clear();
    return found;
}

std::string MapStrings::String(int id) const {
    const auto found = texts_.find(id);
    return found == texts_.end() ? std::string() : found->second;
}

MapStrings MapStrings::Standard() {
    return MapStrings({{149, "S1 "},
                       {150, "S2 "},
                       {151,
                        "\xC2\xB0"
                        "C"},
                       {152,
                        "\xC2\xB0"
                        "F"},
                       {153, "K"},
                       {154, "Snapshot %d of %d"},
                       {155, "AC"},
                       {156, "--%"},
                       {166, "No sensor head"}});
}

}  // namespace test_support
