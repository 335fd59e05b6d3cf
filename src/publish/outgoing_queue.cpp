#include "publish/outgoing_queue.h"

#include <algorithm>
#include <utility>

bool OutgoingQueue::Push(OutgoingMessage message) {
    bool dropped = false;
    if (messages_.size() >= limit_) {
        auto oldest = std::find_if(messages_.begin(), messages_.end(), [](const auto& waiting) {
            return waiting.kind == OutgoingMessage::Kind::kReading;
        });
        messages_.erase(oldest != messages_.end() ? oldest : messages_.begin());
        dropped = true;
    }
    messages_.push_back(std::move(message));
    return dropped;
}
