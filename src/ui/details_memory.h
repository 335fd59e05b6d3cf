#pragma once

#include <optional>

// The details panel's state kept between runs beside the zoom, in the desktop's own
// configuration file (ZoomMemory::File): whether it is open, whether the hottest and
// coldest cell are marked, and the trend's window in minutes.
class DetailsMemory {
  public:
    struct Remembered {
        std::optional<bool> panelOpen;
        std::optional<bool> extremesMarked;
        std::optional<int> trendMinutes;
    };

    static Remembered Load();
    static void Save(bool panelOpen, bool extremesMarked, int trendMinutes);
};
