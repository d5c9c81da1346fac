#pragma once

#include <QPixmap>
#include <QWidget>

namespace vendra {

// The Main window's client area: the window's background with a picture painted at its top-left.
class ClientArea : public QWidget {
    Q_OBJECT
  public:
    ClientArea(const QPixmap& picture, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
};

}  // namespace vendra
