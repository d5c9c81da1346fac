#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <csignal>
#include <functional>

namespace vendra {

// Ctrl+C (SIGINT), or another signal, as an event: the signal handler only writes a byte to a
// pipe, and `onInterrupt` runs on the event loop with the number of such signals so far, also
// inside the nested loops of a fetch or a yield. One object a signal at a time.
class Interrupts : public QObject {
    Q_OBJECT
  public:
    explicit Interrupts(std::function<void(int count)> onInterrupt, int signal = SIGINT);
    ~Interrupts() override;

  private:
    std::function<void(int)> onInterrupt_;
    int signal_;
    QSocketNotifier* notifier_ = nullptr;
    int count_ = 0;
};

}  // namespace vendra
