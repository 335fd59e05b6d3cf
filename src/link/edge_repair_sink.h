#pragma once

// Told, from the acquisition thread, after every accepted frame whether the frame's
// outer ring was repaired. The document forwards it to every view.
class EdgeRepairSink {
  public:
    virtual ~EdgeRepairSink() = default;
    virtual void SetEdgeRepaired(bool repaired) = 0;
};
