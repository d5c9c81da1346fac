#include "platform/qt/QtEventYield.h"

#include <QCoreApplication>

namespace vendra {

void QtEventYield::yield() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

}  // namespace vendra
