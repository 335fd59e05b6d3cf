#include "display/qt/default_font.h"

QFont DefaultControlFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    // Crisp one-colour glyphs, as on the handheld, so the text shadows stay exact.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}
