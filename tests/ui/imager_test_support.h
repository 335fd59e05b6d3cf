#pragma once

// Helpers of the view and application tests: the application object, a temporary
// device root and locale, scripted services.

#include <QApplication>

#include <QAbstractButton>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
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

#include "platform/message_box_service.h"
#include "platform/qt/icon_resources.h"
#include "platform/string_resources.h"
#include "platform/update_notifier.h"

namespace imager_test {

inline QApplication& Application() {
    return TestApplication();
}

// Sets environment variables for the lifetime of the object.
class ScopedEnvironment {
  public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment() {
        for (const auto& [name, old] : saved_) {
            if (old) {
                setenv(name.c_str(), old->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void Set(const std::string& name, const std::string& value) {
        if (saved_.find(name) == saved_.end()) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
        }
        setenv(name.c_str(), value.c_str(), 1);
    }
    void Unset(const std::string& name) {
        Set(name, "");
        unsetenv(name.c_str());
    }

  private:
    std::map<std::string, std::optional<std::string>> saved_;
};

// A fresh device root in a temporary folder, English locale, removed afterwards.
class TemporaryDeviceRoot {
  public:
    TemporaryDeviceRoot() {
        std::string pattern = (std::filesystem::temp_directory_path() / "imager-XXXXXX").string();
        home_ = ::mkdtemp(pattern.data());
        root_ = home_ / "therlix-handheld";
        std::filesystem::create_directories(root_);
        environment_.Set("XDG_DATA_HOME", home_.string());
        environment_.Unset("LC_ALL");
        environment_.Unset("LC_MESSAGES");
        environment_.Set("LANG", "en_US.UTF-8");
    }
    ~TemporaryDeviceRoot() {
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }
    TemporaryDeviceRoot(const TemporaryDeviceRoot&) = delete;
    TemporaryDeviceRoot& operator=(const TemporaryDeviceRoot&) = delete;

    const std::filesystem::path& Home() const { return home_; }
    const std::filesystem::path& Root() const { return root_; }
    ScopedEnvironment& Environment() { return environment_; }
    std::filesystem::path SettingsFile() const {
        return root_ / "Program Files" / "Therlix Imager" / "Persist.dat";
    }

  private:
    std::filesystem::path home_;
    std::filesystem::path root_;
    ScopedEnvironment environment_;
};

class MapStrings : public StringResources {
  public:
    explicit MapStrings(std::map<int, std::string> texts) : texts_(std::move(texts)) {}
    std::string String(int id) const override {
        const auto found = texts_.find(id);
        return found != texts_.end() ? found->second : std::string();
    }

  private:
    std::map<int, std::string> texts_;
};

// Every id but 0 is a solid 16 x 16 square.
class SolidIcons : public IconResources {
  public:
    QIcon Icon(int id) const override {
        if (id == 0) {
            return {};
        }
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::red);
        return QIcon(pixmap);
    }
};

// Records the message boxes and answers them with `answer`.
class RecordingMessages : public MessageBoxService {
  public:
    int ShowText(const std::string& text, unsigned) override {
        texts.push_back(text);
        return answer;
    }
    int ShowString(int stringId, unsigned) override {
        stringIds.push_back(stringId);
        return answer;
    }
    int answer = message_box::kIdOk;
    std::vector<std::string> texts;
    std::vector<int> stringIds;
};

// Records the posted hints instead of delivering them; the acquisition thread posts
// too, so the list is guarded.
class RecordingNotifier : public UpdateNotifier {
  public:
    void PostUpdate(std::uint32_t hint) override {
        std::lock_guard lock(mutex_);
        hints_.push_back(hint);
    }
    // Whether `hint` was posted, and forgets everything posted so far.
    bool TakeWasPosted(std::uint32_t hint) {
        std::lock_guard lock(mutex_);
        const bool found = std::find(hints_.begin(), hints_.end(), hint) != hints_.end();
        hints_.clear();
        return found;
    }

  private:
    std::mutex mutex_;
    std::vector<std::uint32_t> hints_;
};

// Answers every modal message box with its default button while it lives, and
// remembers what the boxes said.
class MessageBoxAnswerer {
  public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::NoButton)
        : answer_(answer) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerOpenBox(); });
        timer_.start(5);
    }

    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };
    std::vector<Seen> seen;

  private:
    void AnswerOpenBox() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        seen.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
        QAbstractButton* button = box->defaultButton();
        if (answer_ != QMessageBox::NoButton) {
            button = box->button(answer_);
        }
        (button != nullptr ? button : box->buttons().front())->click();
    }

    QMessageBox::StandardButton answer_;
    QTimer timer_;
};

}  // namespace imager_test
