#include "acquisition/taken_frame_queue.h"

#include <iterator>

void TakenFrameQueue::Push(const Entry& entry) {
    std::lock_guard lock(mutex_);
    if (entries_.size() == kCapacity) {
        entries_.pop_front();
    }
    entries_.push_back(entry);
}

std::vector<TakenFrameQueue::Entry> TakenFrameQueue::TakeAll() {
    std::lock_guard lock(mutex_);
    std::vector<Entry> taken(std::make_move_iterator(entries_.begin()),
                             std::make_move_iterator(entries_.end()));
    entries_.clear();
    return taken;
}
