#pragma once

#include <QByteArray>
#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

class MessageBoxService;
class StringResources;

// The settings dialog (template 131): edits the document's settings as values of its own.
// The caller fills the values, runs the dialog and reads every value back whatever the
// result: list and check-box choices are stored as they are made, the three texts only
// when OK is accepted. The dialog never touches the document.
class SettingsDialog : public QDialog {
    Q_OBJECT

  public:
    // What the dialog takes from the language bundle and the platform.
    struct Resources {
        QByteArray settingsTemplate;  // dialogs/131.ui
        QByteArray folderTemplate;    // dialogs/153.ui, for the folder button
        const StringResources* strings = nullptr;
        MessageBoxService* messages = nullptr;
    };

    // Control numbers (object name "10NN").
    static constexpr int kNote = 0;
    static constexpr int kFolder = 1;
    static constexpr int kBackground = 2;
    static constexpr int kInterpolated = 3;
    static constexpr int kSecondSpot = 4;
    static constexpr int kAutoSpanAllowed = 5;
    static constexpr int kPalette = 6;
    static constexpr int kEmissivity = 7;
    static constexpr int kIntegration = 9;
    static constexpr int kUnit = 10;
    static constexpr int kRange = 11;
    static constexpr int kFolderButton = 12;

    static constexpr int kNoteLimit = 30;
    static constexpr int kBackgroundLimit = 5;
    static constexpr float kLowestBackground = -20.0f;
    static constexpr float kHighestBackground = 200.0f;

    SettingsDialog(QWidget* parent, bool browsing, Resources resources);

    // Initialises the controls from the values, then runs the dialog modally.
    int exec() override;
    int DoModal() { return exec(); }

    // Puts the values into the controls; exec() calls it. Public so that the dialog can be
    // shown without a modal loop.
    void OnInitDialog();

    bool Browsing() const { return browsing_; }

    std::uint8_t autoSpanAllowed = 0;
    std::uint8_t secondSpotShown = 0;
    std::uint8_t interpolated = 0;
    std::int16_t temperatureUnit = 0;
    std::int16_t paletteNumber = 0;
    std::int16_t integrationCount = 1;
    float backgroundTemperature = 0.0f;  // degrees Celsius
    float emissivity = 1.0f;
    std::uint8_t rangeNumber = 255;  // 1-based, 255 = not known
    std::string snapshotFolder;
    std::string snapshotNote;
    // The link's range descriptions; entry k describes range k + 1.
    std::vector<std::string> rangeDescriptions;

    // The emissivity list item that stands for `value`, computed the way the handheld
    // did in single precision; -1 when no item does.
    static int EmissivityItem(float value);
    // Reads a background temperature the way a wide-character text-to-double
    // conversion does: the leading decimal number, 0 when there is none.
    static double ParseLeadingNumber(const std::string& text);

  private:
    void ConnectNotifications();
    void FillTexts();
    void LimitNote(const QString& text);
    void FillCheckBoxes();
    void FillLists();
    void FillRangeList();
    void DisableWhileBrowsing();
    void OnOK();
    void OnFolderButton();

    template <class T, class StandIn = T>
    T& Control(int number);

    bool browsing_;
    Resources resources_;
};
