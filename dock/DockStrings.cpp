#include "DockStrings.h"

#include <QLocale>

namespace {

QString pick(const char* english, const char* ukrainian) {
    return QString::fromUtf8(QLocale().language() == QLocale::Ukrainian ? ukrainian : english);
}

} // namespace

QString DockStrings::keepInDock() {
    return pick("Keep in Dock", "Залишити в Dock");
}

QString DockStrings::removeFromDock() {
    return pick("Remove from Dock", "Вилучити з Dock");
}

QString DockStrings::quit() {
    return pick("Quit", "Вийти");
}

QString DockStrings::dockName() {
    return pick("Dock", "Dock");
}
