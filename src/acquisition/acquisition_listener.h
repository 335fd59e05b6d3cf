#pragma once

#include "link/thermal_frame.h"

// What one acquisition pass did, told in this order within the pass.
enum class AcquisitionEvent { kSpanFollowed, kFrameTaken, kBlink, kBatteryCheck };

// Hears the acquisition thread's events, on that thread.
class AcquisitionListener {
  public:
    virtual ~AcquisitionListener() = default;
    virtual void Notice(AcquisitionEvent event) = 0;
};

// Sees every frame the link delivers, on the acquisition thread, whether or not the
// picture is live (a log goes on while a picture is held or snapshots are browsed).
class FrameObserver {
  public:
    virtual ~FrameObserver() = default;
    // `frame` as received, before any averaging.
    virtual void FrameArrived(const ThermalFrame& frame) = 0;
};
