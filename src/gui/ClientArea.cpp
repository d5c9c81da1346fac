#include "gui/ClientArea.h"

#include <QPainter>

namespace vendra {

ClientArea::ClientArea(const QPixmap& picture, QWidget* parent)
    : QWidget(parent), picture_(picture) {
    setAutoFillBackground(true);
}

void ClientArea::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

}  // namespace vendra
