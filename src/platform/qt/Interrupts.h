#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>

namespace vendra {

// Ctrl+C (SIGINT) as an event: the signal handler only writes a byte to a pipe, and `onInterrupt`
// runs on the event loop with the number of interrupts so far, also inside the nested loops of
// a fetch or a yield.
class Interrupts : public QObject {
    Q_OBJECT
  public:
    explicit Interrupts(std::function<void(int count)> onInterrupt);
    ~Interrupts() override;

  private:
    std::function<void(int)> onInterrupt_;
    QSocketNotifier* notifier_ = nullptr;
    int count_ = 0;
};

}  // namespace vendra
