#pragma once

// The shared helpers the view and application tests use: the application object, a
// temporary device root in the English locale, scripted services.

#include <QApplication>

#include <QIcon>
#include <QPixmap>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>
#include "support/test_application.h"

#include "support/environment.h"
#include "support/fake_icons.h"
#include "support/fake_services.h"

namespace imager_test {

inline QApplication& Application() {
    return TestApplication();
}

using test_support::FakeIcons;
using test_support::MapStrings;
using test_support::RecordingNotifier;
using test_support::ScopedEnvironment;
using test_support::ScriptedMessageBoxes;

// A device root with the English (United States) locale.
class TemporaryDeviceRoot : public test_support::TemporaryDeviceRoot {
  public:
    TemporaryDeviceRoot() : test_support::TemporaryDeviceRoot(Locale::kEnglish) {}
};

}  // namespace imager_test
