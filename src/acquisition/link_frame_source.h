#pragma once

#include "acquisition/acquisition_thread.h"
#include "link/imager_link.h"

// Lets the acquisition thread poll the head link.
class LinkFrameSource : public AcquisitionThread::FrameSource {
  public:
    explicit LinkFrameSource(ImagerLink& link) : link_(link) {}
    int Poll() override { return link_.Poll(); }
    void CopyFrame(ThermalFrame& destination) const override { link_.CopyFrame(destination); }

  private:
    ImagerLink& link_;
};
