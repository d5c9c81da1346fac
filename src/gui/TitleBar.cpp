#include "gui/TitleBar.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWindow>

#include "gui/CompositorFrames.h"

namespace vendra {
namespace {

// The colours of a classic caption: navy while the window is active, grey when it is not.
const QColor kActive(0, 0, 128);
const QColor kInactive(128, 128, 128);

QPushButton* CaptionButton(QWidget* bar, const char* name, const QString& glyph,
                           const QString& spokenName) {
    auto* button = new QPushButton(glyph, bar);
    button->setObjectName(name);
    button->setAccessibleName(spokenName);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(18, 16);
    button->setStyleSheet(
        "QPushButton { background-color: #c0c0c0; color: black; font: bold 9pt 'Arial';"
        " border: 1px solid; border-color: white #404040 #404040 white; padding: 0; }"
        "QPushButton:pressed { border-color: #404040 white white #404040; }");
    return button;
}

}  // namespace

bool OnWayland() { return QGuiApplication::platformName().startsWith("wayland"); }

bool DrawsOwnTitleBars() { return OnWayland() && !CompositorDrawsFrames(); }

void AddOwnTitleBar(QWidget& window, bool minimise) {
    if (!DrawsOwnTitleBars()) return;
    // Qt drops the frameless hint while any hint for the platform's frame is set.
    window.setWindowFlags((window.windowFlags() & Qt::WindowType_Mask) | Qt::FramelessWindowHint);
    new TitleBar(window, minimise);
}

bool IsOnTitleBar(const QObject* object) {
    for (; object; object = object->parent()) {
        if (qobject_cast<const TitleBar*>(object)) return true;
        if (object->isWidgetType() && static_cast<const QWidget*>(object)->isWindow()) break;
    }
    return false;
}

TitleBar::TitleBar(QWidget& window, bool minimise) : QWidget(&window), window_(window) {
    setObjectName("titleBar");
    setAccessibleName("Title bar");
    QFont caption("Arial");
    caption.setBold(true);
    caption.setPointSizeF(8.25);
    setFont(caption);
    auto* buttons = new QHBoxLayout(this);
    buttons->setContentsMargins(0, 3, 3, 3);
    buttons->setSpacing(2);
    buttons->addStretch();
    if (minimise) {
        QPushButton* button = CaptionButton(this, "minimizeButton", "_", "Minimize");
        connect(button, &QPushButton::clicked, &window, &QWidget::showMinimized);
        buttons->addWidget(button);
    }
    QPushButton* close = CaptionButton(this, "closeButton", QString(QChar(0xd7)), "Close");
    connect(close, &QPushButton::clicked, &window, &QWidget::close);
    buttons->addWidget(close);

    // The window's layout starts below the bar; a window that sizes itself to its layout grows
    // by the bar's height.
    const QMargins margins = window.contentsMargins();
    window.setContentsMargins(margins.left(), margins.top() + kHeight, margins.right(),
                              margins.bottom());
    setGeometry(0, 0, window.width(), kHeight);
    window.installEventFilter(this);
}

bool TitleBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_) {
        switch (event->type()) {
            case QEvent::Resize:
                setGeometry(0, 0, window_.width(), kHeight);
                break;
            case QEvent::WindowTitleChange:
            case QEvent::WindowIconChange:
            case QEvent::ActivationChange:
                update();
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TitleBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), window_.isActiveWindow() ? kActive : kInactive);
    int left = 3;
    const QIcon icon = window_.windowIcon();
    if (!icon.isNull()) {
        icon.paint(&painter, QRect(left, 3, 16, 16));
        left += 16 + 4;
    }
    painter.setPen(Qt::white);
    const int buttons = childrenRect().isEmpty() ? width() : childrenRect().left();
    const QRect caption(left, 0, buttons - left - 4, kHeight);
    painter.drawText(
        caption, Qt::AlignLeft | Qt::AlignVCenter,
        painter.fontMetrics().elidedText(window_.windowTitle(), Qt::ElideRight, caption.width()));
}

void TitleBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && window_.windowHandle())
        window_.windowHandle()->startSystemMove();
}

}  // namespace vendra
