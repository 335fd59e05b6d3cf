#include "display/qt/default_font.h"

#include <QStringList>

QFont DefaultControlFont() {
    // Latin text is drawn in DejaVu Sans; characters it lacks (Chinese) come from
    // WenQuanYi Micro Hei, the next family in the list.
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    // Crisp one-colour glyphs, as on the handheld, so the text shadows stay exact.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}
