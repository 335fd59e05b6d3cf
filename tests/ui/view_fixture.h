#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "document/imager_document.h"
#include "support/started_document.h"
#include "ui/imager_test_support.h"
#include "ui/imager_view.h"

namespace imager_test {

// A started document without a head and one view of it, not yet created, in a temporary
// device root, with scripted services and the given texts.
class ViewFixture : public ::testing::Test {
  protected:
    explicit ViewFixture(std::map<int, std::string> texts) : strings_(std::move(texts)) {}

    bool applicationReady_ = (Application(), true);
    TemporaryDeviceRoot root_;
    MapStrings strings_;
    FakeIcons icons_;
    ScriptedMessageBoxes messages_;
    RecordingNotifier notifier_;
    StartedDocument started_{&messages_, &notifier_};
    ImagerDocument& document_ = started_.Document();
    ImagerView view_{document_, {strings_, icons_, messages_, notifier_}};
};

}  // namespace imager_test
