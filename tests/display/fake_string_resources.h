#pragma once

#include <map>
#include <string>
#include <utility>

#include "platform/string_resources.h"

// String resources from a map; a missing id gives an empty text.
class FakeStringResources : public StringResources {
  public:
    FakeStringResources() = default;
    explicit FakeStringResources(std::map<int, std::string> texts) : texts_(std::move(texts)) {}

    std::string String(int id) const override {
        const auto found = texts_.find(id);
        return found == texts_.end() ? std::string() : found->second;
    }
    void Set(int id, std::string text) { texts_[id] = std::move(text); }

    // The texts the display controls use.
    static FakeStringResources Standard() {
        return FakeStringResources({{149, "S1 "},
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
                                    {156, "--%"}});
    }

  private:
    std::map<int, std::string> texts_;
};
