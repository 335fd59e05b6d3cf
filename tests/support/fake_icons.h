#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <optional>
#include <vector>

#include "platform/qt/icon_resources.h"

namespace test_support {

// Icons of one flat 16 × 16 colour each, told apart by their red and blue components,
// or all of one given colour; id 0 has no icon. Remembers the ids asked for.
class FakeIcons : public IconResources {
  public:
    FakeIcons() = default;
    explicit FakeIcons(QColor solid) : solid_(solid) {}

    static QColor ColourOf(int id) { return QColor(id % 256, 40, 255 - id % 256); }

    QIcon Icon(int id) const override {
        requested.push_back(id);
        if (id == 0) {
            return {};
        }
        QPixmap pixmap(16, 16);
        pixmap.fill(solid_.value_or(ColourOf(id)));
        return QIcon(pixmap);
    }

    mutable std::vector<int> requested;

  private:
    std::optional<QColor> solid_;
};

}  // namespace test_support
