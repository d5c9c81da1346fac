#pragma once

#include <QDBusConnection>
#include <QObject>
#include <functional>

#include "platform/Notifier.h"

namespace vendra {

// Notifications through org.freedesktop.Notifications on a D-Bus connection, the session bus
// unless told otherwise. The body goes as plain text, escaped when the server renders markup.
// Every call gives up after two seconds, so that a bus with no server never holds the program.
class DBusNotifier : public QObject, public Notifier {
    Q_OBJECT
  public:
    // `icon`: the icon's name in the desktop's theme.
    explicit DBusNotifier(QString icon, QDBusConnection bus = QDBusConnection::sessionBus());

    std::uint32_t show(const std::string& summary, const std::string& body, std::uint32_t replaces,
                       std::string& why) override;
    void onAction(std::function<void(std::uint32_t)> picked) override;

    static constexpr int kCallMilliseconds = 2000;

  private slots:
    void actionInvoked(uint id, const QString& action);

  private:
    QString icon_;
    QDBusConnection bus_;
    std::function<void(std::uint32_t)> picked_;
    bool asked_ = false;  // whether the server's capabilities have been asked
    bool markup_ = false;
    bool listening_ = false;
};

}  // namespace vendra
