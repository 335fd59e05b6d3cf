#include "ui/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>

#include "platform/message_box_service.h"
#include "platform/string_resources.h"
#include "ui/dialog_template.h"
#include "ui/folder_dialog.h"
#include "ui/range_description_text.h"

namespace {

const int kPaletteNameIds[] = {144, 145, 146};
const int kIntegrationOffId = 165;
const char* const kIntegrationOffText = "Integration OFF";
const int kBackgroundOutOfRangeId = 147;
const int kMaxIntegrationCount = 10;

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// Selects `index`, or nothing when the list has no such item.
void Select(QComboBox& list, int index) {
    list.setCurrentIndex(index >= 0 && index < list.count() ? index : -1);
}

QString FormatBackground(float degrees) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, static_cast<double>(degrees),
                                      std::chars_format::fixed, 1);
    return QString::fromLatin1(text, static_cast<int>(result.ptr - text));
}

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Only digits and a decimal point start a number: no "inf", "nan" or hexadecimal.
bool StartsDecimalNumber(const char* begin, const char* end) {
    return begin != end && (std::isdigit(static_cast<unsigned char>(*begin)) != 0 || *begin == '.');
}

}  // namespace

SettingsDialog::SettingsDialog(QWidget* parent, bool browsing, Resources resources)
    : QDialog(parent), browsing_(browsing), resources_(std::move(resources)) {
    dialog_template::Load(*this, resources_.settingsTemplate);
    ConnectNotifications();
}

template <class T, class StandIn>
T& SettingsDialog::Control(int number) {
    return dialog_template::Control<T, StandIn>(*this, number);
}

int SettingsDialog::exec() {
    OnInitDialog();
    return QDialog::exec();
}

void SettingsDialog::ConnectNotifications() {
    auto flag = [this](int number, std::uint8_t& value) {
        QCheckBox& box = Control<QCheckBox>(number);
        connect(&box, &QCheckBox::clicked, this,
                [&value, &box] { value = box.isChecked() ? 1 : 0; });
    };
    flag(kInterpolated, interpolated);
    flag(kSecondSpot, secondSpotShown);
    flag(kAutoSpanAllowed, autoSpanAllowed);

    auto list = [this](int number, auto assign) {
        connect(&Control<QComboBox>(number), &QComboBox::currentIndexChanged, this,
                [assign](int index) {
                    if (index >= 0) {
                        assign(index);
                    }
                });
    };
    list(kPalette, [this](int index) { paletteNumber = static_cast<std::int16_t>(index); });
    list(kEmissivity, [this](int index) { emissivity = static_cast<float>(1.0 - 0.05 * index); });
    list(kIntegration,
         [this](int index) { integrationCount = static_cast<std::int16_t>(index + 1); });
    list(kUnit, [this](int index) { temperatureUnit = static_cast<std::int16_t>(index); });
    list(kRange, [this](int index) { rangeNumber = static_cast<std::uint8_t>(index + 1); });

    connect(&Control<QAbstractButton, QPushButton>(kFolderButton), &QAbstractButton::clicked, this,
            &SettingsDialog::OnFolderButton);
    connect(&Control<QLineEdit>(kNote), &QLineEdit::textEdited, this,
            [this](const QString& text) { LimitNote(text); });
    QDialogButtonBox& buttons = dialog_template::Buttons(*this);
    connect(&buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::OnOK);
    connect(&buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void SettingsDialog::OnInitDialog() {
    FillTexts();
    FillCheckBoxes();
    FillLists();
    FillRangeList();
    if (browsing_) {
        DisableWhileBrowsing();
    }
}

void SettingsDialog::FillTexts() {
    auto& note = Control<QLineEdit>(kNote);
    auto& background = Control<QLineEdit>(kBackground);
    const QString noteText = FromUtf8(snapshotNote);
    LimitNote(noteText);
    note.setText(noteText);
    background.setMaxLength(kBackgroundLimit);
    background.setText(FormatBackground(backgroundTemperature));
    Control<QLineEdit>(kFolder).setText(FromUtf8(snapshotFolder));
}

// The limit binds typing only: a longer stored note is shown whole and may be shortened,
// but never lengthened.
void SettingsDialog::LimitNote(const QString& text) {
    Control<QLineEdit>(kNote).setMaxLength(std::max(kNoteLimit, static_cast<int>(text.size())));
}

void SettingsDialog::FillCheckBoxes() {
    auto tick = [this](int number, std::uint8_t value) {
        auto& box = Control<QCheckBox>(number);
        const QSignalBlocker quiet(box);
        box.setChecked(value != 0);
    };
    tick(kInterpolated, interpolated);
    tick(kSecondSpot, secondSpotShown);
    tick(kAutoSpanAllowed, autoSpanAllowed);
}

void SettingsDialog::FillLists() {
    auto& palette = Control<QComboBox>(kPalette);
    auto& integration = Control<QComboBox>(kIntegration);
    auto& unit = Control<QComboBox>(kUnit);
    auto& emissivityList = Control<QComboBox>(kEmissivity);
    // Filling the lists is no user choice: their notifications are held back meanwhile.
    const QSignalBlocker quietPalette(palette);
    const QSignalBlocker quietIntegration(integration);
    const QSignalBlocker quietUnit(unit);
    const QSignalBlocker quietEmissivity(emissivityList);

    palette.clear();
    for (int id : kPaletteNameIds) {
        palette.addItem(resources_.strings != nullptr ? FromUtf8(resources_.strings->String(id))
                                                      : QString());
    }

    integration.clear();
    std::string off = resources_.strings != nullptr ? resources_.strings->String(kIntegrationOffId)
                                                    : std::string();
    integration.addItem(FromUtf8(off.empty() ? kIntegrationOffText : off));
    for (int count = 2; count <= kMaxIntegrationCount; ++count) {
        integration.addItem(QString::number(count));
    }

    Select(palette, paletteNumber);
    Select(unit, temperatureUnit);
    Select(integration, integrationCount - 1);
    Select(emissivityList, EmissivityItem(emissivity));
}

void SettingsDialog::FillRangeList() {
    auto& range = Control<QComboBox>(kRange);
    if (rangeDescriptions.empty()) {
        range.hide();
        for (QLabel* label : findChildren<QLabel*>()) {
            if (label->buddy() == &range) {
                label->hide();
            }
        }
        return;
    }
    const QSignalBlocker quiet(range);
    range.clear();
    for (const std::string& description : rangeDescriptions) {
        range.addItem(RangeDescriptionText(description));
    }
    Select(range, static_cast<int>(rangeNumber) - 1);
}

void SettingsDialog::DisableWhileBrowsing() {
    Control<QCheckBox>(kAutoSpanAllowed).setEnabled(false);
    Control<QComboBox>(kIntegration).setEnabled(false);
    Control<QComboBox>(kRange).setEnabled(false);
    Control<QLineEdit>(kFolder).setEnabled(false);
    Control<QAbstractButton, QPushButton>(kFolderButton).setEnabled(false);
}

void SettingsDialog::OnOK() {
    snapshotNote = Control<QLineEdit>(kNote).text().toStdString();
    snapshotFolder = Control<QLineEdit>(kFolder).text().toStdString();
    const double parsed = ParseLeadingNumber(Control<QLineEdit>(kBackground).text().toStdString());
    // A number beyond the single-precision range can only be out of range.
    if (std::fabs(parsed) <= FLT_MAX) {
        const auto value = static_cast<float>(parsed);
        if (value >= kLowestBackground && value <= kHighestBackground) {
            backgroundTemperature = value;
            accept();
            return;
        }
    }
    if (resources_.messages != nullptr) {
        resources_.messages->ShowString(kBackgroundOutOfRangeId, message_box::kOk);
    }
}

void SettingsDialog::OnFolderButton() {
    FolderDialog folders(resources_.folderTemplate, this);
    folders.currentPath = snapshotFolder;
    folders.exec();
    snapshotFolder = folders.currentPath;
    Control<QLineEdit>(kFolder).setText(FromUtf8(snapshotFolder));
}

int SettingsDialog::EmissivityItem(float value) {
    const float percent = value * 100.0f;
    const float item = (100.0f - percent) * 0.2f;
    if (!(item > -1.0f && item < 1.0e9f)) {
        return -1;
    }
    return static_cast<int>(item);
}

double SettingsDialog::ParseLeadingNumber(const std::string& text) {
    const char* begin = text.data();
    const char* const end = begin + text.size();
    while (begin != end && IsSpace(*begin)) {
        ++begin;
    }
    bool negative = false;
    if (begin != end && (*begin == '+' || *begin == '-')) {
        negative = *begin == '-';
        ++begin;
    }
    if (!StartsDecimalNumber(begin, end)) {
        return 0.0;
    }
    double value = 0.0;
    const std::from_chars_result result = std::from_chars(begin, end, value);
    if (result.ec == std::errc::invalid_argument) {
        return 0.0;
    }
    if (result.ec == std::errc::result_out_of_range) {
        // Too small a number reads as 0, too large a one as infinity.
        const bool tiny =
            std::memchr(begin, '-', static_cast<std::size_t>(result.ptr - begin)) != nullptr;
        value = tiny ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
}
