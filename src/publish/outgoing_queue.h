#pragma once

#include <cstddef>
#include <deque>
#include <string>

// A message waiting to go to the broker: its kind decides its topic.
struct OutgoingMessage {
    enum class Kind { kReading, kAlarm };

    Kind kind = Kind::kReading;
    std::string payload;
};

// The messages not yet handed to the broker connection, oldest first, never more than
// the limit. When it is full, the oldest reading makes room; an alarm only when no
// reading is left, since alarms are few and matter most.
class OutgoingQueue {
  public:
    // A limit below 1 is taken as 1.
    explicit OutgoingQueue(std::size_t limit) : limit_(limit < 1 ? 1 : limit) {}

    // Adds at the end; true when an older message was dropped to make room.
    bool Push(OutgoingMessage message);
    bool Empty() const { return messages_.empty(); }
    std::size_t Size() const { return messages_.size(); }
    std::size_t Limit() const { return limit_; }
    const OutgoingMessage& Front() const { return messages_.front(); }
    void Pop() { messages_.pop_front(); }

  private:
    std::size_t limit_;
    std::deque<OutgoingMessage> messages_;
};
