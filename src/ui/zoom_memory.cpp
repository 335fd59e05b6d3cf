#include "ui/zoom_memory.h"

#include <QSettings>
#include <QStandardPaths>

#include "ui/imager_application.h"

namespace {

const char* const kFactorKey = "window/zoom";
const char* const kPlaceKey = "window/position";

}  // namespace

QString ZoomMemory::File() {
    // QSettings keeps the folder it found first for the rest of the process; naming the
    // file here follows XDG_CONFIG_HOME whenever it changes.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + '/' +
           QString::fromUtf8(ImagerApplication::kOrganisation) + '/' +
           QString::fromUtf8(ImagerApplication::kApplication) + QStringLiteral(".conf");
}

ZoomMemory::Remembered ZoomMemory::Load() {
    const QSettings settings(File(), QSettings::IniFormat);
    Remembered remembered;
    bool isNumber = false;
    const int factor = settings.value(kFactorKey).toInt(&isNumber);
    if (isNumber && factor >= kSmallestFactor && factor <= kLargestFactor) {
        remembered.factor = factor;
    }
    const QVariant place = settings.value(kPlaceKey);
    if (place.canConvert<QPoint>() && place.isValid()) {
        remembered.place = place.toPoint();
    }
    return remembered;
}

void ZoomMemory::Save(int factor, QPoint place) {
    QSettings settings(File(), QSettings::IniFormat);
    settings.setValue(kFactorKey, factor);
    settings.setValue(kPlaceKey, place);
}

int ZoomMemory::FirstStartFactor(int availableHeight, int screenHeight, int frameHeight) {
    int factor = kLargestFactor;
    while (factor > kSmallestFactor &&
           2 * (screenHeight * factor + frameHeight) > availableHeight) {
        --factor;
    }
    return factor;
}
