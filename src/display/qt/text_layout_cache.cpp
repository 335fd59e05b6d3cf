#include "display/qt/text_layout_cache.h"

#include <QFontMetrics>
#include <QTransform>

const TextLayoutCache::Layout& TextLayoutCache::Find(const QString& text, const QFont& font) {
    if (font != font_) {
        layouts_.clear();
        font_ = font;
    }
    const auto found = layouts_.constFind(text);
    if (found != layouts_.constEnd()) {
        return *found;
    }
    if (layouts_.size() >= kCapacity) {
        layouts_.clear();
    }
    Layout layout{QStaticText(text), QFontMetrics(font).horizontalAdvance(text)};
    layout.text.setTextFormat(Qt::PlainText);
    layout.text.prepare(QTransform(), font);
    return *layouts_.insert(text, std::move(layout));
}
