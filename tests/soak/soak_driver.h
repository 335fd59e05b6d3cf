#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <optional>
#include <random>

#include "soak/process_figures.h"

class ImagerApplication;
class ImagerDocument;
class ImagerView;
class QEvent;

// What the driver did and saw in one run.
struct SoakCounts {
    int holds = 0;
    int saves = 0;
    int discards = 0;
    int browses = 0;
    int pageTurns = 0;  // next and previous
    int deletes = 0;    // each answered Yes
    int backToLive = 0;
    int rangeRequests = 0;
    int rangesFollowed = 0;  // requests the head's frames then showed
    long framesSeen = 0;     // update events that carried a new display frame
};

// Works the started application the way a restless user would, through the view's
// commands: holds, saves or discards, browses back and forth, deletes, returns to live
// and picks another head range in the settings dialog, one action a step, chosen at
// random from a seed. Samples the process figures once the warm-up is over and again
// at the end, both times with live pictures, then ends the application.
class SoakDriver : public QObject {
  public:
    using Duration = std::chrono::steady_clock::duration;
    struct Timing {
        Duration warmUp;
        Duration total;
        std::chrono::milliseconds step;
    };

    SoakDriver(ImagerApplication& application, std::uint32_t seed, Timing timing);

    // Arms the first step; the steps then run in the application's event loop.
    void Start();

    const SoakCounts& Counts() const { return counts_; }
    const std::optional<ProcessFigures>& StartFigures() const { return startFigures_; }
    const std::optional<ProcessFigures>& EndFigures() const { return endFigures_; }

  protected:
    // Counts the update events with a new display frame on their way to the application.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class State { kLive, kHeld, kBrowsing };

    void Step();
    State CurrentState() const;
    // Brings the picture back to live; true when it already was.
    bool ReturnToLive(State state);
    void ActLive();
    void ActHeld();
    void ActBrowsing();
    void RequestOtherRange();
    void PickRangeInOpenDialog(int range, int triesLeft);
    void NoteRangeFollowed();
    double Draw() { return chance_(random_); }

    ImagerApplication& application_;
    ImagerView& view_;
    ImagerDocument& document_;
    std::mt19937 random_;
    std::uniform_real_distribution<double> chance_{0.0, 1.0};
    Timing timing_;
    std::chrono::steady_clock::time_point started_;
    QTimer timer_;
    SoakCounts counts_;
    int requestedRange_ = 0;  // 0 = none outstanding
    std::optional<ProcessFigures> startFigures_;
    std::optional<ProcessFigures> endFigures_;
};
