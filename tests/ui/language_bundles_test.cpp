// The language bundles of this build: each complete against English, chosen by the
// user's locale when the program starts, and every text fitting its place on the
// 240-pixel screen in the program's own font.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QResource>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTextLayout>
#include <QXmlStreamReader>
#include <algorithm>
#include <map>
#include <set>

#include "display/qt/default_font.h"
#include "display/qt/thermal_image_control.h"
#include "platform/qt/language_bundle.h"
#include "ui/image_button.h"
#include "ui/imager_application.h"
#include "ui/imager_test_support.h"
#include "ui/imager_view.h"
#include "ui/main_window.h"
#include "ui/settings_dialog.h"

namespace {

using namespace imager_test;
namespace fs = std::filesystem;

const fs::path kBin = fs::path(QUORVEL_BINARY_DIR) / "bin";
const char* const kLanguages[] = {"English", "German",   "French",  "Spanish",
                                  "Italian", "ChineseS", "ChineseT"};

// What one bundle file holds, read from its resources directly.
struct BundleContents {
    std::map<int, QString> strings;
    std::set<QString> icons;                        // icon ids
    std::map<QString, std::set<QString>> controls;  // dialog file -> numeric control names
};

std::set<QString> NumericWidgetNames(QIODevice& form) {
    std::set<QString> names;
    QXmlStreamReader xml(&form);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"widget") {
            const QString name = xml.attributes().value(QStringLiteral("name")).toString();
            bool numeric = false;
            name.toInt(&numeric);
            if (numeric) {
                names.insert(name);
            }
        }
    }
    return names;
}

BundleContents ReadBundle(const std::string& language) {
    const QString file = QString::fromStdString((kBin / ("4286 " + language + ".dll")).string());
    const QString root = QStringLiteral("/bundle-contents-") + QString::fromStdString(language);
    BundleContents contents;
    if (!QResource::registerResource(file, root)) {
        ADD_FAILURE() << "cannot read " << file.toStdString();
        return contents;
    }
    const QString base = QStringLiteral(":") + root;
    QFile strings(base + QStringLiteral("/strings.json"));
    if (strings.open(QIODevice::ReadOnly)) {
        const QJsonObject table = QJsonDocument::fromJson(strings.readAll()).object();
        for (auto entry = table.begin(); entry != table.end(); ++entry) {
            contents.strings[entry.key().toInt()] = entry.value().toString();
        }
    }
    for (const QFileInfo& icon : QDir(base + QStringLiteral("/icons")).entryInfoList(QDir::Files)) {
        contents.icons.insert(icon.completeBaseName());
    }
    for (const QFileInfo& dialog :
         QDir(base + QStringLiteral("/dialogs")).entryInfoList(QDir::Files)) {
        QFile form(dialog.filePath());
        if (form.open(QIODevice::ReadOnly)) {
            contents.controls[dialog.fileName()] = NumericWidgetNames(form);
        }
    }
    QResource::unregisterResource(file, root);
    return contents;
}

// The printf conversions of a text, in order.
QStringList Conversions(const QString& text) {
    static const QRegularExpression conversion(
        QStringLiteral("%[-+ #0]*[0-9*]*(?:\\.[0-9*]+)?[hlLqjzt]*[a-zA-Z%]"));
    QStringList found;
    for (auto match = conversion.globalMatch(text); match.hasNext();) {
        found << match.next().captured();
    }
    return found;
}

template <class Set>
bool Includes(const Set& whole, const Set& part) {
    return std::includes(whole.begin(), whole.end(), part.begin(), part.end());
}

TEST(LanguageBundles, EachHoldsEverythingEnglishHoldsWithTheSamePlaceholders) {
    const BundleContents english = ReadBundle("English");
    ASSERT_EQ(Conversions(english.strings.at(154)), QStringList({"%d", "%d"}));
    ASSERT_EQ(english.icons.size(), 17u);
    ASSERT_EQ(english.controls.size(), 2u);
    for (const char* language : kLanguages) {
        SCOPED_TRACE(language);
        BundleContents bundle = ReadBundle(language);
        for (const auto& [id, text] : english.strings) {
            const auto found = bundle.strings.find(id);
            ASSERT_NE(found, bundle.strings.end()) << "string " << id;
            EXPECT_FALSE(found->second.isEmpty()) << "string " << id;
            EXPECT_EQ(Conversions(found->second), Conversions(text)) << "string " << id;
        }
        EXPECT_TRUE(Includes(bundle.icons, english.icons));
        for (const auto& [dialog, controls] : english.controls) {
            EXPECT_TRUE(Includes(bundle.controls[dialog], controls)) << dialog.toStdString();
        }
    }
}

// A text as shown: mnemonic markers removed.
QString Shown(QString text) {
    static const QRegularExpression marker(QStringLiteral("&(?!&)"));
    return text.remove(marker).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

int TextWidth(const QWidget& widget, const QString& text) {
    return QFontMetrics(widget.font()).horizontalAdvance(Shown(text));
}

std::string Describe(const QWidget& widget, const QString& text) {
    return widget.objectName().toStdString() + " \"" + text.toStdString() + "\"";
}

// The caption wrapped at word boundaries must fit inside the 3-D border, below the icon
// when the button has one.
void ExpectCaptionFits(const ImageButton& button) {
    constexpr int kBorders = 2;
    constexpr int kIconHeight = 16;
    const int width = button.width() - kBorders;
    const int height = button.height() - (button.HasIcon() ? kIconHeight : 0);
    QTextLayout layout(button.text(), DefaultControlFont());
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(wrapping);
    layout.beginLayout();
    qreal widest = 0;
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        widest = std::max(widest, line.naturalTextWidth());
        ++lines;
    }
    layout.endLayout();
    EXPECT_LE(qRound(widest), width) << Describe(button, button.text());
    EXPECT_LE(lines * QFontMetrics(DefaultControlFont()).height(), height)
        << Describe(button, button.text());
}

void ExpectLabelFits(const QLabel& label) {
    if (label.wordWrap()) {
        const QRect needed = label.fontMetrics().boundingRect(
            QRect(0, 0, label.contentsRect().width(), 1000), Qt::TextWordWrap, label.text());
        EXPECT_LE(needed.height(), label.contentsRect().height()) << Describe(label, label.text());
    } else {
        EXPECT_LE(TextWidth(label, label.text()), label.contentsRect().width())
            << Describe(label, label.text());
    }
}

void ExpectButtonTextFits(QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const bool checkBox = button.inherits("QCheckBox");
    if (checkBox) {
        option.rect = button.rect();
    }
    const QRect room = button.style()->subElementRect(
        checkBox ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, &button);
    EXPECT_LE(TextWidth(button, button.text()), room.width()) << Describe(button, button.text());
}

void ExpectItemsFit(const QComboBox& list) {
    QStyleOptionComboBox option;
    option.initFrom(&list);
    const QRect field = list.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                     QStyle::SC_ComboBoxEditField, &list);
    for (int i = 0; i < list.count(); ++i) {
        EXPECT_LE(TextWidth(list, list.itemText(i)), field.width())
            << Describe(list, list.itemText(i));
    }
}

struct Locale {
    const char* lang;
    const char* language;
    const char* holdCaption;
    const char* yesButton;
};

// The program started offscreen in one locale, with its own font and no head.
class StartedInLocale : public ::testing::TestWithParam<Locale> {
  protected:
    void SetUp() override {
        QApplication::setFont(DefaultControlFont());
        root_.Environment().Set("LANG", GetParam().lang);
        ASSERT_TRUE(app_.Start({}));
        view_ = app_.Window()->View();
    }
    void TearDown() override { QApplication::setFont(previousFont_); }

    bool applicationReady_ = (Application(), true);
    QFont previousFont_ = QApplication::font();
    TemporaryDeviceRoot root_;
    MessageBoxAnswerer answerer_;  // "COM port could not be opened"
    ImagerApplication app_{kBin};
    ImagerView* view_ = nullptr;
};

TEST_P(StartedInLocale, LoadsTheBundleOfTheUserLanguage) {
    EXPECT_EQ(app_.Bundle()->File().filename().string(),
              std::string("4286 ") + GetParam().language + ".dll");
    EXPECT_EQ(view_->ButtonAt(ImagerView::kHold).text(), QString::fromUtf8(GetParam().holdCaption));
    // Qt's own buttons speak the same language.
    QMessageBox box(QMessageBox::Question, {}, {}, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QString::fromUtf8(GetParam().yesButton));
}

TEST_P(StartedInLocale, EveryCaptionFitsItsButtonInEveryRow) {
    auto checkRow = [this](const char* row) {
        SCOPED_TRACE(row);
        for (ImageButton* button : view_->findChildren<ImageButton*>()) {
            if (button->isVisibleTo(view_)) {
                ExpectCaptionFits(*button);
            }
        }
    };
    checkRow("live");
    // The picture's no-head status line stays inside its border.
    const QString noHead =
        QString::fromStdString(app_.Bundle()->String(ThermalImageControl::kNoHeadText));
    EXPECT_FALSE(noHead.isEmpty());
    EXPECT_LE(QFontMetrics(DefaultControlFont()).horizontalAdvance(noHead), 196 - 8);
    view_->ShowHeldRow();
    ASSERT_TRUE(view_->Prompt().isVisibleTo(view_));
    ExpectLabelFits(view_->Prompt());
    checkRow("held");
    view_->ShowBrowsingRow();
    checkRow("browsing");
}

TEST_P(StartedInLocale, EverySettingsTextFitsItsField) {
    ScriptedMessageBoxes messages;
    SettingsDialog dialog(view_, false,
                          {app_.Bundle()->DialogTemplate(131), app_.Bundle()->DialogTemplate(153),
                           app_.Bundle(), &messages});
    // With a head attached the range list and its label take a row of their own.
    dialog.rangeDescriptions = {"-20 ... 100 C", "0 ... 500 C", "200 ... 1000 C"};
    dialog.rangeNumber = 1;
    int checked = 0;
    QTimer::singleShot(0, &dialog, [&] {
        for (QWidget* widget : dialog.findChildren<QWidget*>()) {
            if (!widget->isVisible()) {
                continue;
            }
            const QRect place(widget->mapTo(&dialog, QPoint(0, 0)), widget->size());
            EXPECT_TRUE(dialog.rect().contains(place)) << widget->objectName().toStdString();
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                ExpectLabelFits(*label);
            } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                ExpectButtonTextFits(*button);
            } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
                ExpectItemsFit(*list);
            } else {
                continue;
            }
            ++checked;
        }
        QDir().mkpath(QUORVEL_BINARY_DIR "/artefacts");
        dialog.grab().save(QStringLiteral(QUORVEL_BINARY_DIR "/artefacts/settings_dialog_%1.png")
                               .arg(QString::fromUtf8(GetParam().language)));
        dialog.reject();
    });
    dialog.exec();
    // Nine labels, three check boxes, the folder button, OK, Cancel and five lists.
    EXPECT_EQ(checked, 20);
}

INSTANTIATE_TEST_SUITE_P(Locales, StartedInLocale,
                         ::testing::Values(Locale{"de_DE.UTF-8", "German", "Halten", "&Ja"},
                                           Locale{"fr_FR.UTF-8", "French", "Figer", "&Oui"},
                                           Locale{"es_ES.UTF-8", "Spanish", "Fijar", "&Sí"},
                                           Locale{"it_IT.UTF-8", "Italian", "Blocca", "&Sì"},
                                           Locale{"zh_TW.UTF-8", "ChineseT", "凍結", "是(&Y)"},
                                           Locale{"zh_CN.UTF-8", "ChineseS", "冻结", "是(&Y)"},
                                           Locale{"ja_JP.UTF-8", "English", "Hold", "&Yes"}),
                         [](const ::testing::TestParamInfo<Locale>& info) {
                             return std::string(info.param.language);
                         });

}  // namespace
