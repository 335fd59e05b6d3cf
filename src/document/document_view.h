#pragma once

#include <cstdint>

// What a document needs from each of its views: the update hook and the few view
// modes that travel with the document archive.
class DocumentView {
  public:
    virtual ~DocumentView() = default;

    // Called on the user-interface thread by UpdateViews; `hint` is the word of
    // update flags (document/update_flags.h) telling what changed.
    virtual void ShowChanges(std::uint32_t hint) = 0;

    // Smooth (interpolated) picture versus 16 x 16 blocks.
    virtual bool InterpolatedMode() const = 0;
    virtual void SetInterpolatedMode(bool on) = 0;

    // The picture's edge mask flag, read and stored by the document archive.
    virtual bool EdgeRepairFlag() const = 0;
    virtual void SetEdgeRepairFlag(bool on) = 0;

    // Called from the acquisition thread after every accepted frame: whether the
    // frame's outer ring was repaired. Must only store a flag (no painting).
    virtual void SetEdgeRepaired(bool repaired) = 0;
};
