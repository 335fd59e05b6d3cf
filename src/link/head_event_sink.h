#pragma once

// Told by the protocol, on the thread that polls the link, what the head's packets
// changed: range information (count, a description or the current range) and, after
// every accepted frame, whether the frame's outer ring was repaired; and when the head
// starts or stops answering (the link's HeadAbsent tells which).
class HeadEventSink {
  public:
    virtual ~HeadEventSink() = default;
    virtual void RangeInformationChanged() = 0;
    virtual void SetEdgeRepaired(bool repaired) = 0;
    virtual void HeadPresenceChanged() = 0;
};
