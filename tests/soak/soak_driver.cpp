#include "soak/soak_driver.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>

#include "document/imager_document.h"
#include "document/update_flags.h"
#include "platform/qt/qt_update_notifier.h"
#include "ui/dialog_template.h"
#include "ui/imager_application.h"
#include "ui/imager_view.h"
#include "ui/main_window.h"
#include "ui/settings_dialog.h"
#include "ui/view_commands.h"

namespace {

// Above this many stored snapshots the driver deletes more often, so that the folder
// stays small however long the run.
constexpr int kManySnapshots = 20;
constexpr auto kDialogPoll = std::chrono::milliseconds(10);
constexpr int kDialogTries = 200;

}  // namespace

SoakDriver::SoakDriver(ImagerApplication& application, std::uint32_t seed, Timing timing)
    : application_(application),
      view_(*application.Window()->View()),
      document_(*application.Document()),
      random_(seed),
      timing_(timing) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { Step(); });
    application_.installEventFilter(this);
}

void SoakDriver::Start() {
    started_ = std::chrono::steady_clock::now();
    timer_.start(timing_.step);
}

bool SoakDriver::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &application_ && event->type() == QtUpdateNotifier::Event::kType &&
        (static_cast<QtUpdateNotifier::Event*>(event)->Hint() & update_flag::kFrame) != 0) {
        ++counts_.framesSeen;
    }
    return false;
}

// One action. The figures are taken with live pictures only, the end ones once the
// picture is back to live after the time is up; re-armed only after the action, so a
// modal dialog never sees a second step.
void SoakDriver::Step() {
    const auto elapsed = std::chrono::steady_clock::now() - started_;
    const State state = CurrentState();
    if (state == State::kLive) {
        NoteRangeFollowed();
    }
    if (elapsed >= timing_.total) {
        if (ReturnToLive(state)) {
            endFigures_ = ProcessFigures::OfThisProcess();
            application_.Exit();
            return;
        }
    } else if (elapsed >= timing_.warmUp && !startFigures_ && state == State::kLive) {
        startFigures_ = ProcessFigures::OfThisProcess();
    } else if (state == State::kLive) {
        ActLive();
    } else if (state == State::kHeld) {
        ActHeld();
    } else {
        ActBrowsing();
    }
    timer_.start(timing_.step);
}

SoakDriver::State SoakDriver::CurrentState() const {
    if (view_.IsBrowsing()) {
        return State::kBrowsing;
    }
    return document_.IsLive() ? State::kLive : State::kHeld;
}

bool SoakDriver::ReturnToLive(State state) {
    if (state == State::kHeld) {
        view_.Commands().Discard();
        ++counts_.discards;
    } else if (state == State::kBrowsing) {
        view_.Commands().Live();
        ++counts_.backToLive;
    }
    return state == State::kLive;
}

void SoakDriver::ActLive() {
    const double draw = Draw();
    if (draw < 0.2 && document_.AnySnapshot()) {
        view_.Commands().Browse();
        ++counts_.browses;
    } else if (draw < 0.35) {
        RequestOtherRange();
    } else if (draw < 0.75) {
        view_.Commands().Hold();
        ++counts_.holds;
    }
    // Otherwise the step only watches the live pictures.
}

void SoakDriver::ActHeld() {
    if (Draw() < 0.7) {
        view_.Commands().Save();
        ++counts_.saves;
    } else {
        view_.Commands().Discard();
        ++counts_.discards;
    }
}

void SoakDriver::ActBrowsing() {
    const double deleteChance = document_.CountSnapshots() > kManySnapshots ? 0.5 : 0.15;
    const double draw = Draw();
    if (draw < deleteChance) {
        view_.Commands().Delete();  // the question is answered Yes
        ++counts_.deletes;
    } else if (draw < deleteChance + 0.35) {
        view_.Commands().Next();
        ++counts_.pageTurns;
    } else if (draw < deleteChance + 0.7) {
        view_.Commands().Previous();
        ++counts_.pageTurns;
    } else {
        view_.Commands().Live();
        ++counts_.backToLive;
    }
}

// Opens the settings dialog and picks another of the head's ranges in it, as a user
// switches ranges; the head is then told to switch.
void SoakDriver::RequestOtherRange() {
    const int ranges = static_cast<int>(document_.RangeDescriptions().size());
    if (ranges < 2) {
        return;
    }
    const int current = document_.CurrentRangeNumber();
    int range = std::uniform_int_distribution<int>(1, ranges - 1)(random_);
    if (range >= current) {
        ++range;  // any range but the current one
    }
    requestedRange_ = range;
    ++counts_.rangeRequests;
    QTimer::singleShot(kDialogPoll, this,
                       [this, range] { PickRangeInOpenDialog(range, kDialogTries); });
    view_.Commands().Settings();
}

void SoakDriver::PickRangeInOpenDialog(int range, int triesLeft) {
    auto* dialog = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
        if (triesLeft > 0) {
            QTimer::singleShot(kDialogPoll, this, [this, range, triesLeft] {
                PickRangeInOpenDialog(range, triesLeft - 1);
            });
        }
        return;
    }
    dialog_template::Control<QComboBox>(*dialog, SettingsDialog::kRange).setCurrentIndex(range - 1);
    dialog_template::Buttons(*dialog).button(QDialogButtonBox::Ok)->click();
}

// A request counts as followed once frames of the requested range arrive. (A head
// replaced in the meantime is told to use range 1; its request stays open until the
// next one replaces it.)
void SoakDriver::NoteRangeFollowed() {
    if (requestedRange_ != 0 && document_.CurrentRangeNumber() == requestedRange_) {
        ++counts_.rangesFollowed;
        requestedRange_ = 0;
    }
}
