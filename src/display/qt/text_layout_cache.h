#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>

// Texts laid out once and kept between paints, so that a readout drawn again with the
// same text is neither measured nor shaped again. It holds a bounded number of texts
// and forgets all of them when it is full or the font changes.
class TextLayoutCache {
  public:
    struct Layout {
        QStaticText text;
        // The advance of the whole text, as QFontMetrics gives it.
        int width = 0;
    };

    const Layout& Find(const QString& text, const QFont& font);

  private:
    static constexpr int kCapacity = 64;

    QFont font_;
    QHash<QString, Layout> layouts_;
};
