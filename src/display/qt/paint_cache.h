#pragma once

#include <optional>

// Remembers the inputs an off-screen image was last drawn from, so that a paint with
// the same inputs reuses the image instead of drawing it again.
template <class Inputs>
class PaintCache {
  public:
    // True when the image already shows `inputs`; otherwise they are remembered as what
    // the caller is about to draw, and false is returned.
    bool Reuse(const Inputs& inputs) {
        if (drawn_ && *drawn_ == inputs) {
            return true;
        }
        drawn_ = inputs;
        return false;
    }
    // The next paint draws again, whatever its inputs.
    void Invalidate() { drawn_.reset(); }

  private:
    std::optional<Inputs> drawn_;
};
