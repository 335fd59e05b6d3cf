#pragma once

// What one acquisition pass did, told in this order within the pass.
enum class AcquisitionEvent { kSpanFollowed, kFrameTaken, kBlink, kBatteryCheck };

// Hears the acquisition thread's events, on that thread.
class AcquisitionListener {
  public:
    virtual ~AcquisitionListener() = default;
    virtual void Notice(AcquisitionEvent event) = 0;
};
