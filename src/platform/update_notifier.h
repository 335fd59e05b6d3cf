#pragma once

#include <cstdint>

// Posts an update notification (one hint word) to the user-interface thread, where it
// is handed to the views of the document. Safe to call from any thread.
// The GUI implements it as a posted Qt event; tests record the hints.
class UpdateNotifier {
  public:
    virtual ~UpdateNotifier() = default;
    virtual void PostUpdate(std::uint32_t hint) = 0;
};
