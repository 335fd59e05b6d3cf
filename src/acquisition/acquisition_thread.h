#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "acquisition/acquisition_listener.h"
#include "acquisition/auto_range.h"
#include "acquisition/frame_integrator.h"
#include "link/thermal_frame.h"

// The background loop that polls the head about every 75 ms, takes in and averages
// frames while the picture is live, lets the display span follow the scene and tells
// its listener what each pass did.
class AcquisitionThread {
  public:
    // What the loop polls: the head link, or a stand-in in tests.
    class FrameSource {
      public:
        virtual ~FrameSource() = default;
        // One protocol step; 1 when a new frame was accepted.
        virtual int Poll() = 0;
        virtual void CopyFrame(ThermalFrame& destination) const = 0;
    };

    // The picture state shared with the user-interface thread. The frames and the span
    // are guarded by `mutex`; the flags are read once per pass.
    struct SharedState {
        mutable std::mutex mutex;
        ThermalFrame rawFrame = ThermalFrame::Filled(kEmptyPictureValue);
        ThermalFrame displayFrame = ThermalFrame::Filled(kEmptyPictureValue);
        std::uint16_t spanLow = 2930;
        std::uint16_t spanHigh = 3130;
        std::atomic<std::int16_t> integrationCount{1};
        std::atomic<bool> autoSpanAllowed{true};
        std::atomic<bool> autoSpanOn{true};
        std::atomic<bool> live{true};
        std::atomic<bool> slowFirstPass{false};
    };

    static constexpr std::chrono::milliseconds kPassInterval{75};
    static constexpr std::chrono::milliseconds kSlowFirstPass{500};
    // The span the follower leaves is at least this wide (tenths of a kelvin).
    static constexpr int kMinimumSpan = 20;

    // `listener` may be null. A program without a picture on screen may poll more often
    // than every `kPassInterval`, to take every frame of a fast head.
    AcquisitionThread(FrameSource& source, SharedState& state, AcquisitionListener* listener,
                      std::chrono::milliseconds passInterval = kPassInterval);
    // Stops and joins the thread.
    ~AcquisitionThread();
    AcquisitionThread(const AcquisitionThread&) = delete;
    AcquisitionThread& operator=(const AcquisitionThread&) = delete;

    // Before Start: `observer` sees every frame from then on, after those added before it.
    void AddFrameObserver(FrameObserver& observer) { observers_.push_back(&observer); }
    // Starts the loop on its own thread (once).
    void Start();
    // Asks the loop to end, wakes it from its pause and waits until it has ended. The
    // shared state is never touched after Stop returns.
    void Stop();

    // The steps of the loop, public so that the schedule can be driven pass by pass.
    // The pause before the next pass: 500 ms once after a return to live view (the
    // flag is consumed), the pass interval otherwise.
    std::chrono::milliseconds TakePause();
    // One pass after its pause: poll, show the frame to the observer, take it in, tell
    // the listener.
    void RunPass();

  private:
    void Loop();
    // Waits for `pause`; false when a stop was requested meanwhile.
    bool WaitUnlessStopped(std::chrono::milliseconds pause);
    enum class Intake { kNone, kFrame, kFrameAndSpan };
    // Copies, integrates and follows the span while the picture is live.
    Intake TakeInFrame();
    void Tell(AcquisitionEvent event);

    FrameSource& source_;
    SharedState& state_;
    AcquisitionListener* listener_;
    std::chrono::milliseconds passInterval_;
    std::vector<FrameObserver*> observers_;
    ThermalFrame observed_{};
    FrameIntegrator integrator_;
    AutoRange autoRange_;
    std::int16_t passCounter_ = 0;

    std::mutex stopMutex_;
    std::condition_variable stopSignal_;
    bool stopRequested_ = false;
    std::thread thread_;
};
