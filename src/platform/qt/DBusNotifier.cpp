#include "platform/qt/DBusNotifier.h"

#include <QDBusMessage>
#include <QVariantMap>

namespace vendra {
namespace {

const QString kService = "org.freedesktop.Notifications";
const QString kPath = "/org/freedesktop/Notifications";

QDBusMessage Call(const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, kService, method);
}

}  // namespace

DBusNotifier::DBusNotifier(QString icon, QDBusConnection bus)
    : icon_(std::move(icon)), bus_(std::move(bus)) {}

std::uint32_t DBusNotifier::show(const std::string& summary, const std::string& body,
                                 std::uint32_t replaces, std::string& why) {
    if (!bus_.isConnected()) {
        why = "no session bus: " + bus_.lastError().message().toStdString();
        return 0;
    }
    if (!asked_) {
        const QDBusMessage capabilities =
            bus_.call(Call("GetCapabilities"), QDBus::Block, kCallMilliseconds);
        if (capabilities.type() == QDBusMessage::ErrorMessage) {
            why = "no notification server: " + capabilities.errorMessage().toStdString();
            return 0;
        }
        asked_ = true;
        markup_ = !capabilities.arguments().isEmpty() &&
                  capabilities.arguments().front().toStringList().contains("body-markup");
    }
    if (!listening_)
        listening_ = bus_.connect(kService, kPath, kService, "ActionInvoked", this,
                                  SLOT(actionInvoked(uint, QString)));
    QString text = QString::fromStdString(body);
    if (markup_) text = text.toHtmlEscaped();
    QDBusMessage notify = Call("Notify");
    notify << QString("Vendra") << static_cast<uint>(replaces) << icon_
           << QString::fromStdString(summary) << text
           << QStringList{"default", "Open results", "open", "Open results"} << QVariantMap{}
           << static_cast<int>(-1);
    const QDBusMessage reply = bus_.call(notify, QDBus::Block, kCallMilliseconds);
    if (reply.type() == QDBusMessage::ErrorMessage || reply.arguments().isEmpty()) {
        why = "the notification server failed: " + reply.errorMessage().toStdString();
        return 0;
    }
    return reply.arguments().front().toUInt();
}

void DBusNotifier::onAction(std::function<void(std::uint32_t)> picked) {
    picked_ = std::move(picked);
}

void DBusNotifier::actionInvoked(uint id, const QString& action) {
    if (picked_ && (action == "default" || action == "open")) picked_(id);
}

}  // namespace vendra
