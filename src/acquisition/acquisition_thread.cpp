#include "acquisition/acquisition_thread.h"

#include <algorithm>

namespace {

constexpr int kBlinkEvery = 8;
constexpr int kBatteryPause = 40;

// The signed 16-bit counter after one more pass, wrapping from 32767 to -32768.
std::int16_t NextPassCount(std::int16_t count) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(count) + 1u);
}

}  // namespace

AcquisitionThread::AcquisitionThread(FrameSource& source, SharedState& state,
                                     AcquisitionListener* listener,
                                     std::chrono::milliseconds passInterval)
    : source_(source), state_(state), listener_(listener), passInterval_(passInterval) {}

AcquisitionThread::~AcquisitionThread() {
    Stop();
}

void AcquisitionThread::Start() {
    if (thread_.joinable()) {
        return;
    }
    {
        std::lock_guard lock(stopMutex_);
        stopRequested_ = false;
    }
    thread_ = std::thread([this] { Loop(); });
}

void AcquisitionThread::Stop() {
    {
        std::lock_guard lock(stopMutex_);
        stopRequested_ = true;
    }
    stopSignal_.notify_all();
    // A pass in progress is always waited for, however long it takes.
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::chrono::milliseconds AcquisitionThread::TakePause() {
    return state_.slowFirstPass.exchange(false) ? kSlowFirstPass : passInterval_;
}

void AcquisitionThread::RunPass() {
    const bool newFrame = source_.Poll() == 1;
    if (newFrame && !observers_.empty()) {
        source_.CopyFrame(observed_);
        for (FrameObserver* observer : observers_) {
            observer->FrameArrived(observed_);
        }
    }
    if (newFrame && state_.live.load()) {
        const Intake intake = TakeInFrame();
        if (intake == Intake::kFrameAndSpan) {
            Tell(AcquisitionEvent::kSpanFollowed);
        }
        if (intake != Intake::kNone) {
            Tell(AcquisitionEvent::kFrameTaken);
        }
    }
    if (passCounter_ % kBlinkEvery == 0) {
        Tell(AcquisitionEvent::kBlink);
    }
    passCounter_ = NextPassCount(passCounter_);
    if (passCounter_ % kBatteryPause != 0) {
        Tell(AcquisitionEvent::kBatteryCheck);
    }
}

void AcquisitionThread::Loop() {
    for (;;) {
        if (!WaitUnlessStopped(TakePause())) {
            return;
        }
        RunPass();
    }
}

bool AcquisitionThread::WaitUnlessStopped(std::chrono::milliseconds pause) {
    std::unique_lock lock(stopMutex_);
    return !stopSignal_.wait_for(lock, pause, [this] { return stopRequested_; });
}

AcquisitionThread::Intake AcquisitionThread::TakeInFrame() {
    std::lock_guard lock(state_.mutex);
    // Tested again under the lock: a file read into the document clears the live flag
    // before it takes the lock, so no frame overwrites it.
    if (!state_.live.load()) {
        return Intake::kNone;
    }
    source_.CopyFrame(state_.rawFrame);
    integrator_.Update(state_.rawFrame, state_.displayFrame, state_.integrationCount.load());
    if (!(state_.autoSpanAllowed.load() && state_.autoSpanOn.load())) {
        return Intake::kFrame;
    }
    autoRange_.Update(state_.displayFrame, state_.spanLow, state_.spanHigh);
    if (static_cast<int>(state_.spanHigh) - static_cast<int>(state_.spanLow) < kMinimumSpan) {
        state_.spanHigh =
            static_cast<std::uint16_t>(std::min(state_.spanLow + kMinimumSpan, 65535));
    }
    return Intake::kFrameAndSpan;
}

void AcquisitionThread::Tell(AcquisitionEvent event) {
    if (listener_ != nullptr) {
        listener_->Notice(event);
    }
}
