#pragma once

#include <QIcon>

// Icons of the language bundle by numeric id. A missing id gives a null icon.
class IconResources {
  public:
    virtual ~IconResources() = default;
    virtual QIcon Icon(int id) const = 0;
};
