#include "display/qt/default_font.h"

#include <gtest/gtest.h>

#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <set>

namespace {

std::set<QString> FamiliesUsedFor(const QString& text) {
    QTextLayout layout(text, DefaultControlFont());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    std::set<QString> families;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        families.insert(run.rawFont().familyName());
    }
    return families;
}

QImage Rendered(const QString& text, const QFont& font) {
    QImage image(120, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(image.rect(), Qt::AlignLeft | Qt::AlignVCenter, text);
    return image;
}

TEST(DefaultControlFont, LatinTextKeepsDejaVuSansAndChineseFallsBackToACjkFont) {
    EXPECT_EQ(FamiliesUsedFor(QStringLiteral("Hold -20.0 °C")),
              std::set<QString>{QStringLiteral("DejaVu Sans")});
    EXPECT_EQ(FamiliesUsedFor(QStringLiteral("冻结凍結")),
              std::set<QString>{QStringLiteral("WenQuanYi Micro Hei")});

    // The pixels of Latin text are those of the plain DejaVu Sans font.
    QFont plain(QStringLiteral("DejaVu Sans"));
    plain.setPixelSize(11);
    plain.setStyleStrategy(QFont::NoAntialias);
    const QString latin = QStringLiteral("Spanne 12.5°C Sfoglia");
    EXPECT_EQ(Rendered(latin, DefaultControlFont()), Rendered(latin, plain));
}

}  // namespace
