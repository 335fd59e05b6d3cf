#pragma once

#include <QPoint>
#include <QString>
#include <optional>

// The window's zoom factor and place, kept between runs in the desktop's own
// configuration folder ($XDG_CONFIG_HOME/Therlix/Quorvel Imager.conf), apart from the
// settings file of the device root, whose format stays as it is.
class ZoomMemory {
  public:
    static constexpr int kSmallestFactor = 1;
    static constexpr int kLargestFactor = 4;
    // Height allowed for the window frame while the real one is not known yet.
    static constexpr int kAssumedFrameHeight = 40;

    struct Remembered {
        std::optional<int> factor;
        std::optional<QPoint> place;
    };

    // What an earlier run stored; a factor outside 1–4 counts as none.
    static Remembered Load();
    static void Save(int factor, QPoint place);

    // Without a stored factor: the largest one whose window, `screenHeight` pixels of
    // unscaled screen times the factor plus `frameHeight`, takes at most half of
    // `availableHeight`; never less than 1.
    static int FirstStartFactor(int availableHeight, int screenHeight,
                                int frameHeight = kAssumedFrameHeight);

    // The configuration file; read again from the environment on every use.
    static QString File();
};
