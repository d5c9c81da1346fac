#include "platform/qt/QtLocaleInfo.h"

#include <QLocale>

namespace vendra {

NumberSeparators QtLocaleInfo::separators() const {
    const QLocale locale = QLocale::system();
    return {locale.groupSeparator().toStdString(), locale.decimalPoint().toStdString()};
}

}  // namespace vendra
