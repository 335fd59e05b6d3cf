#include "ui/details_memory.h"

#include <QSettings>

#include "ui/zoom_memory.h"

namespace {

const char* const kOpenKey = "details/open";
const char* const kMarkedKey = "details/markHottestAndColdest";
const char* const kMinutesKey = "details/trendMinutes";

std::optional<bool> Flag(const QSettings& settings, const char* key) {
    const QVariant value = settings.value(key);
    if (!value.isValid()) {
        return std::nullopt;
    }
    return value.toBool();
}

}  // namespace

DetailsMemory::Remembered DetailsMemory::Load() {
    const QSettings settings(ZoomMemory::File(), QSettings::IniFormat);
    Remembered remembered{Flag(settings, kOpenKey), Flag(settings, kMarkedKey), std::nullopt};
    bool isNumber = false;
    const int minutes = settings.value(kMinutesKey).toInt(&isNumber);
    if (isNumber) {
        remembered.trendMinutes = minutes;
    }
    return remembered;
}

void DetailsMemory::Save(bool panelOpen, bool extremesMarked, int trendMinutes) {
    QSettings settings(ZoomMemory::File(), QSettings::IniFormat);
    settings.setValue(kOpenKey, panelOpen);
    settings.setValue(kMarkedKey, extremesMarked);
    settings.setValue(kMinutesKey, trendMinutes);
}
