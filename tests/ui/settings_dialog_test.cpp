#include "ui/settings_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "dialog_test_support.h"
#include "ui/dialog_template.h"
#include "ui/folder_dialog.h"

namespace {

using dialog_test::MapStrings;

class SettingsDialogTest : public ::testing::Test {
  protected:
    // A shown dialog, filled like the settings command fills it; `adjust` changes values
    // before the initialisation.
    template <class Adjust>
    std::unique_ptr<SettingsDialog> Open(Adjust adjust, bool browsing = false) {
        auto dialog = std::make_unique<SettingsDialog>(
            nullptr, browsing,
            SettingsDialog::Resources{dialog_test::EnglishTemplate(131),
                                      dialog_test::EnglishTemplate(153), &strings_, &messages_});
        dialog->interpolated = 1;
        dialog->autoSpanAllowed = 1;
        dialog->paletteNumber = 1;
        dialog->temperatureUnit = 2;
        dialog->integrationCount = 4;
        dialog->emissivity = 0.95f;
        dialog->backgroundTemperature = 21.4f;
        dialog->snapshotNote = "roof";
        dialog->snapshotFolder = "\\My Documents\\";
        dialog->rangeNumber = 2;
        dialog->rangeDescriptions = {"-20..100 °C", "0..250 °C"};
        adjust(*dialog);
        dialog->OnInitDialog();
        dialog->show();
        return dialog;
    }
    std::unique_ptr<SettingsDialog> Open(bool browsing = false) {
        return Open([](SettingsDialog&) {}, browsing);
    }

    template <class T = QWidget>
    static T& Control(QDialog& dialog, int number) {
        T* control = dialog.findChild<T*>(dialog_template::ObjectName(number));
        EXPECT_NE(control, nullptr) << "control " << number;
        return *control;
    }
    static QComboBox& List(QDialog& d, int number) { return Control<QComboBox>(d, number); }
    static QLineEdit& Entry(QDialog& d, int number) { return Control<QLineEdit>(d, number); }
    static void Press(QDialog& d, QDialogButtonBox::StandardButton which) {
        dialog_template::Buttons(d).button(which)->click();
    }
    static QStringList Items(const QComboBox& list) {
        QStringList items;
        for (int i = 0; i < list.count(); ++i) {
            items << list.itemText(i);
        }
        return items;
    }

    QApplication& application_ = dialog_test::Application();
    MapStrings strings_{{{144, "Greyscale"}, {145, "Red Blue"}, {146, "Green Blue"}, {165, "Off"}}};
    dialog_test::ScriptedMessageBoxes messages_;
};

TEST_F(SettingsDialogTest, InitialisationPutsTheValuesIntoTheControls) {
    auto dialog = Open();
    EXPECT_EQ(dialog->windowTitle(), "Settings");
    EXPECT_EQ(Entry(*dialog, 0).text(), "roof");
    EXPECT_EQ(Entry(*dialog, 1).text(), "\\My Documents\\");
    EXPECT_EQ(Entry(*dialog, 2).text(), "21.4");
    EXPECT_TRUE(Control<QCheckBox>(*dialog, 3).isChecked());
    EXPECT_FALSE(Control<QCheckBox>(*dialog, 4).isChecked());
    EXPECT_TRUE(Control<QCheckBox>(*dialog, 5).isChecked());
    EXPECT_EQ(Items(List(*dialog, 6)), QStringList({"Greyscale", "Red Blue", "Green Blue"}));
    EXPECT_EQ(List(*dialog, 6).currentIndex(), 1);
    EXPECT_EQ(Items(List(*dialog, 10)), QStringList({"°C", "K", "°F"}));
    EXPECT_EQ(List(*dialog, 10).currentIndex(), 2);
    EXPECT_EQ(Items(List(*dialog, 9)),
              QStringList({"Off", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(List(*dialog, 9).currentIndex(), 3);
    const QStringList emissivities = Items(List(*dialog, 7));
    ASSERT_EQ(emissivities.size(), 20);
    EXPECT_EQ(emissivities.front() + emissivities[10] + emissivities.back(), "1.000.500.05");
    EXPECT_EQ(List(*dialog, 7).currentIndex(), 1);
    EXPECT_EQ(Items(List(*dialog, 11)), QStringList({"-20..100 °C", "0..250 °C"}));
    EXPECT_EQ(List(*dialog, 11).currentIndex(), 1);
    // Filling the controls is no user choice: the values stay as they were.
    EXPECT_EQ(dialog->emissivity, 0.95f);
}

TEST_F(SettingsDialogTest, EntriesTakeAtMostTheirLimitOfCharacters) {
    auto dialog = Open([](SettingsDialog& d) { d.backgroundTemperature = 200.0f; });
    QLineEdit& background = Entry(*dialog, 2);
    EXPECT_EQ(background.text(), "200.0");
    dialog_test::Type(background, "1");
    EXPECT_EQ(background.text(), "200.0");
    Entry(*dialog, 0).clear();
    dialog_test::Type(Entry(*dialog, 0), QString(35, QChar('n')));
    EXPECT_EQ(Entry(*dialog, 0).text(), QString(30, QChar('n')));
}

TEST_F(SettingsDialogTest, BackgroundTemperatureFromMinus20To200IsAccepted) {
    for (const char* text : {"-20.0", "200.0", "21.0", "warm"}) {
        auto dialog = Open();
        Entry(*dialog, 2).setText(text);
        Press(*dialog, QDialogButtonBox::Ok);
        EXPECT_EQ(dialog->result(), QDialog::Accepted) << text;
        EXPECT_FALSE(dialog->isVisible()) << text;
        EXPECT_EQ(dialog->backgroundTemperature, QString(text).toFloat()) << text;  // "warm": 0
    }
    // Return in an entry is OK as well.
    auto dialog = Open();
    Entry(*dialog, 2).setText("21.0");
    dialog_test::PressKey(Entry(*dialog, 2), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->backgroundTemperature, 21.0f);
    EXPECT_TRUE(messages_.StringIds().empty());
}

TEST_F(SettingsDialogTest, OutOfRangeBackgroundShowsMessage147AndKeepsTheDialogOpen) {
    for (const char* text : {"-20.1", "200.1", "1e9", "-1e9"}) {
        messages_.shown.clear();
        auto dialog = Open();
        Entry(*dialog, 0).setText("chimney");
        Entry(*dialog, 1).setText("\\Temp\\");
        Entry(*dialog, 2).setText(text);
        Press(*dialog, QDialogButtonBox::Ok);
        EXPECT_TRUE(dialog->isVisible()) << text;
        EXPECT_EQ(messages_.StringIds(), std::vector<int>{147}) << text;
        EXPECT_EQ(messages_.Styles().back(), message_box::kOk);
        EXPECT_EQ(Entry(*dialog, 2).text(), text);
        // Cancel now: the note and folder read by OK stay, the temperature does not.
        Press(*dialog, QDialogButtonBox::Cancel);
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(dialog->snapshotNote, "chimney");
        EXPECT_EQ(dialog->snapshotFolder, "\\Temp\\");
        EXPECT_EQ(dialog->backgroundTemperature, 21.4f) << text;
    }
}

// The 30-character limit binds typing: a longer stored note is shown whole, can be
// shortened but not lengthened, and comes back unchanged when it is not edited.
TEST_F(SettingsDialogTest, StoredNoteLongerThanTheLimitIsKeptWhole) {
    const std::string stored(35, 'n');
    auto untouched = Open([&](SettingsDialog& d) { d.snapshotNote = stored; });
    EXPECT_EQ(Entry(*untouched, 0).text().toStdString(), stored);
    Press(*untouched, QDialogButtonBox::Ok);
    EXPECT_EQ(untouched->snapshotNote, stored);

    auto dialog = Open([&](SettingsDialog& d) { d.snapshotNote = stored; });
    QLineEdit& note = Entry(*dialog, 0);
    note.end(false);
    dialog_test::Type(note, "a");
    EXPECT_EQ(note.text().toStdString(), stored);
    dialog_test::PressKey(note, Qt::Key_Backspace);
    dialog_test::Type(note, "a");
    EXPECT_EQ(note.text().toStdString(), std::string(34, 'n'));

    // A short note still stops at 30 typed characters.
    auto fresh = Open();
    QLineEdit& shortNote = Entry(*fresh, 0);
    shortNote.end(false);
    dialog_test::Type(shortNote, QString(40, QLatin1Char('x')));
    EXPECT_EQ(shortNote.text().size(), SettingsDialog::kNoteLimit);
}

TEST_F(SettingsDialogTest, BackgroundTextReadsItsLeadingNumberOrZero) {
    const std::pair<const char*, double> cases[] = {
        {"  7.5x", 7.5},
        {"+3", 3.0},
        {"-.5", -0.5},
        {"1e2", 100.0},
        {"1e-999", 0.0},
        {"abc", 0.0},
        {"", 0.0},
        {"+-3", 0.0},
        {"1e999", HUGE_VAL},
        {"\t 12", 12.0},
        // Only a decimal number counts: hexadecimal stops after its "0".
        {"0x10", 0.0},
        {"0X1A", 0.0},
        {"0x1p4", 0.0},
        {"inf", 0.0},
        {"-infinity", 0.0},
        {"nan", 0.0},
        {".", 0.0},
        {"1e", 1.0},
        {" .5e1z", 5.0}};
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(SettingsDialog::ParseLeadingNumber(text), expected) << text;
    }
}

TEST_F(SettingsDialogTest, ChoicesReachTheValuesAtOnceAndSurviveCancel) {
    auto dialog = Open();
    for (int box : {3, 4, 5}) {
        Control<QCheckBox>(*dialog, box).click();
    }
    List(*dialog, 6).setCurrentIndex(2);
    List(*dialog, 10).setCurrentIndex(1);
    List(*dialog, 9).setCurrentIndex(9);
    List(*dialog, 11).setCurrentIndex(0);
    List(*dialog, 7).setCurrentIndex(3);
    EXPECT_EQ(dialog->emissivity, 0.85f);
    List(*dialog, 7).setCurrentIndex(8);
    Entry(*dialog, 0).setText("changed");
    Press(*dialog, QDialogButtonBox::Cancel);
    EXPECT_EQ(dialog->interpolated, 0);
    EXPECT_EQ(dialog->secondSpotShown, 1);
    EXPECT_EQ(dialog->autoSpanAllowed, 0);
    EXPECT_EQ(dialog->paletteNumber, 2);
    EXPECT_EQ(dialog->temperatureUnit, 1);
    EXPECT_EQ(dialog->integrationCount, 10);
    EXPECT_EQ(dialog->rangeNumber, 1);
    EXPECT_EQ(dialog->emissivity, 0.6f);
    EXPECT_EQ(dialog->snapshotNote, "roof");
}

TEST_F(SettingsDialogTest, EmissivitySelectsItsItemTheWayTheHandheldComputedIt) {
    auto selected = [this](float emissivity) {
        auto dialog = Open([emissivity](SettingsDialog& d) { d.emissivity = emissivity; });
        return List(*dialog, 7).currentIndex();
    };
    EXPECT_EQ(selected(1.0f), 0);
    EXPECT_EQ(selected(0.95f), 1);
    EXPECT_EQ(selected(0.5f), 10);
    EXPECT_EQ(selected(0.6f), 7);  // 7.9999995 in single precision
    EXPECT_EQ(selected(1.5f), -1);
    for (int item = 0; item < 20; ++item) {
        const auto stored = static_cast<float>(1.0 - 0.05 * item);
        EXPECT_EQ(SettingsDialog::EmissivityItem(stored), item == 8 ? 7 : item) << item;
    }
    EXPECT_EQ(SettingsDialog::EmissivityItem(std::nanf("")), -1);
}

TEST_F(SettingsDialogTest, IntegrationListStartsWithItsOffItem) {
    strings_ = MapStrings();
    auto off = Open([](SettingsDialog& d) { d.integrationCount = 1; });
    EXPECT_EQ(List(*off, 9).currentText(), "Integration OFF");
    auto ten = Open([](SettingsDialog& d) { d.integrationCount = 10; });
    EXPECT_EQ(List(*ten, 9).currentText(), "10");
    List(*ten, 9).setCurrentIndex(4);
    EXPECT_EQ(ten->integrationCount, 5);
}

TEST_F(SettingsDialogTest, RangeListFollowsTheDescriptions) {
    auto none = Open([](SettingsDialog& d) {
        d.rangeDescriptions.clear();
        d.rangeNumber = 3;
    });
    EXPECT_FALSE(List(*none, 11).isVisible());
    EXPECT_FALSE(none->findChild<QLabel*>("rangeLabel")->isVisible());
    Press(*none, QDialogButtonBox::Ok);
    EXPECT_EQ(none->rangeNumber, 3);

    auto unknown = Open([](SettingsDialog& d) {
        d.rangeNumber = 255;
        d.rangeDescriptions = {std::string("low\0junk", 8), "high"};
    });
    EXPECT_TRUE(List(*unknown, 11).isVisible());
    EXPECT_EQ(Items(List(*unknown, 11)), QStringList({"low", "high"}));
    EXPECT_EQ(List(*unknown, 11).currentIndex(), -1);
    List(*unknown, 11).setCurrentIndex(1);
    EXPECT_EQ(unknown->rangeNumber, 2);
}

TEST_F(SettingsDialogTest, BrowsingDisablesTheLiveOnlyControls) {
    auto browsing = Open(true);
    auto live = Open(false);
    EXPECT_TRUE(browsing->Browsing());
    for (int number : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12}) {
        const bool liveOnly = number == 1 || number == 5 || number == 9 || number >= 11;
        EXPECT_EQ(Control(*browsing, number).isEnabled(), !liveOnly) << number;
        EXPECT_TRUE(Control(*live, number).isEnabled()) << number;
    }
}

TEST_F(SettingsDialogTest, FolderButtonStartsFromTheFolderValueAndWritesBackTheChoice) {
    dialog_test::TemporaryDeviceRoot root;
    std::filesystem::create_directories(root.Root() / "Stored" / "Heat");
    auto dialog = Open([](SettingsDialog& d) { d.snapshotFolder = "\\Stored\\"; });
    Entry(*dialog, 1).setText("typed but not used");

    QString shownPath;
    QTimer::singleShot(0, dialog.get(), [&] {
        auto* folders = dialog->findChild<FolderDialog*>();
        ASSERT_NE(folders, nullptr);
        shownPath = Control<QLabel>(*folders, 0).text();
        auto& list = Control<QListWidget>(*folders, 14);
        for (QListWidgetItem* heat : list.findItems("Heat", Qt::MatchExactly)) {
            dialog_test::Tap(*list.viewport(), list.visualItemRect(heat).center());
        }
        Press(*folders, QDialogButtonBox::Cancel);
    });
    Control<QAbstractButton>(*dialog, 12).click();

    EXPECT_EQ(shownPath, "\\Stored\\");
    EXPECT_EQ(dialog->snapshotFolder, "\\Stored\\Heat\\");
    EXPECT_EQ(Entry(*dialog, 1).text(), "\\Stored\\Heat\\");
}

TEST_F(SettingsDialogTest, TemplateWithoutControlsStillCarriesTheValues) {
    SettingsDialog dialog(nullptr, false, {QByteArray("not a form"), {}, &strings_, &messages_});
    dialog.paletteNumber = 2;
    dialog.OnInitDialog();
    List(dialog, 6).setCurrentIndex(0);
    Entry(dialog, 2).setText("30");
    Press(dialog, QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.paletteNumber, 0);
    EXPECT_EQ(dialog.backgroundTemperature, 30.0f);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// Renders the dialog as the handheld shows it (artefacts/settings_dialog.png) and checks
// that every visible control lies on the screen, overlaps no other and fits its text.
TEST_F(SettingsDialogTest, FitsTheHandheldScreenReadably) {
    const QFont previous = QApplication::font();
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    QApplication::setFont(font);
    auto dialog = Open();
    EXPECT_EQ(dialog->size(), QSize(240, 268));

    auto place = [&](QWidget* widget) {
        return QRect(widget->mapTo(dialog.get(), QPoint(0, 0)), widget->size());
    };
    QList<QWidget*> shown;
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        if (widget->isVisible() &&
            (widget->inherits("QLabel") || widget->inherits("QLineEdit") ||
             widget->inherits("QComboBox") || widget->inherits("QAbstractButton"))) {
            shown << widget;
        }
    }
    for (QWidget* widget : shown) {
        const std::string name = widget->objectName().toStdString();
        EXPECT_TRUE(dialog->rect().contains(place(widget))) << name;
        const bool fixedText = widget->inherits("QLabel") || widget->inherits("QAbstractButton");
        EXPECT_GE(widget->width(),
                  fixedText ? widget->sizeHint().width() : widget->minimumSizeHint().width())
            << name;
        for (QWidget* other : shown) {
            EXPECT_TRUE(other == widget || !place(widget).intersects(place(other)))
                << name << " / " << other->objectName().toStdString();
        }
    }
    QDir().mkpath(QUORVEL_BINARY_DIR "/artefacts");
    EXPECT_TRUE(dialog->grab().save(QUORVEL_BINARY_DIR "/artefacts/settings_dialog.png"));
    QApplication::setFont(previous);
}

}  // namespace
