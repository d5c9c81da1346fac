#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

namespace vendra {

// While it lives, the user's clicks and keys wait: each is taken from its way and handed back to
// its widget, in order, once this ends, so that it runs at the walk's next yield. Input for the
// objects `passes` accepts (the stop button) goes through at once.
class HeldInput : public QObject {
  public:
    explicit HeldInput(std::function<bool(const QObject*)> passes);
    ~HeldInput() override;

  protected:
    bool eventFilter(QObject* target, QEvent* event) override;

  private:
    std::function<bool(const QObject*)> passes_;
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> held_;
};

}  // namespace vendra
