#include "platform/qt/QtNetworkWait.h"

#include <QCoreApplication>

namespace vendra {

void QtNetworkWait::letThrough(std::function<bool(const QObject*)> duringPage,
                               std::function<bool(const QObject*)> beforeNextTry) {
    duringPage_ = std::move(duringPage);
    beforeNextTry_ = std::move(beforeNextTry);
}

void QtNetworkWait::begin(For what) {
    const auto& passes = what == For::Page ? duringPage_ : beforeNextTry_;
    passes_ = static_cast<bool>(passes);
    if (passes_) held_.emplace(passes);
}

void QtNetworkWait::pump() {
    QCoreApplication::processEvents(passes_ ? QEventLoop::AllEvents
                                            : QEventLoop::ExcludeUserInputEvents);
}

void QtNetworkWait::end() {
    held_.reset();
    passes_ = false;
}

}  // namespace vendra
