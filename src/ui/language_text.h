#pragma once

#include <QString>

#include "platform/string_resources.h"

// Language string `id` of `strings` as a QString.
inline QString LanguageText(const StringResources& strings, int id) {
    return QString::fromStdString(strings.String(id));
}
