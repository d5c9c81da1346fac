#include "gui/GraphicalButton.h"

#include <QPainter>
#include <QPolygonF>
#include <QStyleOptionButton>

namespace vendra {
namespace {

constexpr int kEdge = 2;

// The four edges of `r`, each a band kEdge wide; where bands of two colours meet at a corner the
// corner is split on its diagonal. Bottom, right, left, top, each drawn over the ones before.
void DrawEdges(QPainter& painter, const QRectF& r, const QColor& topLeft,
               const QColor& bottomRight) {
    const qreal left = r.x(), top = r.y(), right = r.x() + r.width(), bottom = r.y() + r.height(),
                e = kEdge;
    painter.setPen(Qt::NoPen);
    painter.setBrush(bottomRight);
    painter.drawConvexPolygon(
        QPolygonF({{left + e, bottom - e}, {left, bottom}, {right, bottom}, {right, bottom - e}}));
    painter.drawConvexPolygon(
        QPolygonF({{right - e, top + e}, {right - e, bottom}, {right, bottom}, {right, top}}));
    painter.setBrush(topLeft);
    painter.drawConvexPolygon(
        QPolygonF({{left, top}, {left, bottom}, {left + e, bottom - e}, {left + e, top}}));
    painter.drawConvexPolygon(
        QPolygonF({{left, top}, {left, top + e}, {right - e, top + e}, {right, top}}));
}

}  // namespace

GraphicalButton::GraphicalButton(const QString& caption, QWidget* parent, QColor face, QColor text,
                                 QColor disabledText)
    : QPushButton(caption, parent) {
    // The colours as the button's own, where anything that reads them finds them.
    QPalette colours = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        QColor ink = group == QPalette::Disabled ? disabledText : text;
        for (const auto role : {QPalette::Button, QPalette::Base, QPalette::Window})
            colours.setColor(group, role, face);
        for (const auto role : {QPalette::ButtonText, QPalette::Text, QPalette::WindowText})
            colours.setColor(group, role, ink);
        ink.setAlpha(128);
        colours.setColor(group, QPalette::PlaceholderText, ink);
    }
    setPalette(colours);
}

void GraphicalButton::paintEvent(QPaintEvent* /*event*/) {
    QStyleOptionButton option;
    initStyleOption(&option);
    QPainter painter(this);
    const QColor face = palette().color(QPalette::Button);
    painter.fillRect(rect(), face);
    const QColor light = face.lighter(160), dark = face.darker(250);
    const bool down = option.state & (QStyle::State_Sunken | QStyle::State_On);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    DrawEdges(painter, rect(), down ? dark : light, down ? light : dark);
    painter.restore();

    const QRect inside = rect().adjusted(kEdge, kEdge, -kEdge, -kEdge);
    int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this))
        flags |= Qt::TextHideMnemonic;
    style()->drawItemText(&painter, inside, flags, option.palette, isEnabled(), text(),
                          QPalette::ButtonText);

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = inside;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace vendra
