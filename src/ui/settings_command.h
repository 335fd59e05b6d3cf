#pragma once

#include <cstdint>

class ImagerView;
class SettingsDialog;

// The settings command: stops the live pictures, fills the settings dialog from the
// document and the view, runs it modally and writes back every value that changed;
// live pictures then resume unless snapshots are being browsed. The dialog keeps its
// list and check-box choices even when it is cancelled, so they are written back
// whatever the result.
class SettingsCommand {
  public:
    explicit SettingsCommand(ImagerView& view);

    void Run();

    // The background temperature in tenths of a degree for a dialog value in degrees,
    // truncated toward zero. The value is first taken back to the decimal the user
    // typed (the entry holds at most five characters, so four decimals at most), so
    // that 21.4, whose single-precision value lies just below it, gives 214 and not 213.
    static std::int16_t TenthsFromDegrees(float degrees);

  private:
    void Fill(SettingsDialog& dialog) const;
    void WriteBackPicture(const SettingsDialog& dialog);
    void WriteBackAcquisition(const SettingsDialog& dialog);

    ImagerView& view_;
};
