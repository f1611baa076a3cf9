#include "ui/fonts.h"

#include <QFontDatabase>

namespace ui {

QString interfaceFamily() {
    const QString designed = "Tahoma";
    if (QFontDatabase::hasFamily(designed))
        return designed;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

} // namespace ui
