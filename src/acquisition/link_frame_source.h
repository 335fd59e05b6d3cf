#pragma once

#include "acquisition/acquisition_thread.h"
#include "acquisition/taken_frame_queue.h"
#include "link/imager_link.h"

// Lets the acquisition thread poll the head link. Every frame the link accepts also goes
// to the taken-frame queue, when there is one, whatever the picture does with it.
class LinkFrameSource : public AcquisitionThread::FrameSource {
  public:
    explicit LinkFrameSource(ImagerLink& link, TakenFrameQueue* taken = nullptr)
        : link_(link), taken_(taken) {}
    int Poll() override {
        const int result = link_.Poll();
        if (result == 1 && taken_ != nullptr) {
            TakenFrameQueue::Entry entry{
                TakenFrameQueue::Clock::now(), {}, link_.HeadSerialNumber()};
            link_.CopyFrame(entry.frame);
            taken_->Push(entry);
        }
        return result;
    }
    void CopyFrame(ThermalFrame& destination) const override { link_.CopyFrame(destination); }

  private:
    ImagerLink& link_;
    TakenFrameQueue* taken_;
};
