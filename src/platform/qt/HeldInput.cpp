#include "platform/qt/HeldInput.h"

#include <QCoreApplication>

namespace vendra {
namespace {

// Input that does something: handed back later.
bool IsAction(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
    }
}

// Input that only points: dropped, as it would be stale by the time it ran.
bool IsPointing(QEvent::Type type) {
    return type == QEvent::MouseMove || type == QEvent::TouchBegin || type == QEvent::TouchUpdate ||
           type == QEvent::TouchEnd || type == QEvent::TabletMove;
}

}  // namespace

HeldInput::HeldInput(std::function<bool(const QObject*)> passes) : passes_(std::move(passes)) {
    QCoreApplication::instance()->installEventFilter(this);
}

HeldInput::~HeldInput() {
    QCoreApplication::instance()->removeEventFilter(this);
    for (auto& [target, event] : held_)
        if (target) QCoreApplication::postEvent(target, event.release());
}

bool HeldInput::eventFilter(QObject* target, QEvent* event) {
    const bool action = IsAction(event->type());
    if (!action && !IsPointing(event->type())) return false;
    // A window hands its input on to the widget under the pointer or with the focus; the widget
    // decides.
    if (target->isWindowType() || passes_(target)) return false;
    if (action) held_.emplace_back(target, event->clone());
    return true;
}

}  // namespace vendra
