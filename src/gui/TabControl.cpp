#include "gui/TabControl.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QTabBar>

namespace vendra {
namespace {

// Edges of a raised surface in the window's colour, as the classic tab control draws them.
struct Edges {
    QColor face, light, shadow;
    explicit Edges(const QPalette& palette)
        : face(palette.color(QPalette::Window)),
          light(face.lighter(150)),
          shadow(face.darker(200)) {}
};

// The row of tabs. The current tab stands taller and opens into the page below it. The strip
// never takes the focus itself; it shows the focus of its tab control on the current tab.
class TabStrip : public QTabBar {
  public:
    explicit TabStrip(QWidget* control) : QTabBar(control) {
        setFocusPolicy(Qt::NoFocus);
        setDrawBase(false);
        setExpanding(true);
    }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        const Edges edges(palette());
        const int bottom = height() - 1;
        for (int i = 0; i < count(); ++i) {
            const bool current = i == currentIndex();
            QRect tab = tabRect(i).adjusted(0, current ? 0 : 3, -1, 0);
            painter.fillRect(tab, edges.face);
            painter.setPen(edges.light);
            painter.drawLine(tab.left(), tab.bottom(), tab.left(), tab.top());
            painter.drawLine(tab.left(), tab.top(), tab.right(), tab.top());
            painter.setPen(edges.shadow);
            painter.drawLine(tab.right(), tab.top() + 1, tab.right(), tab.bottom());
            // The page's top edge runs under every tab but the current one.
            painter.setPen(edges.light);
            if (!current) painter.drawLine(tab.left(), bottom, tab.right() + 1, bottom);

            painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                           QPalette::WindowText));
            painter.drawText(tab, Qt::AlignCenter, tabText(i));
            if (current && parentWidget()->hasFocus()) {
                QStyleOptionFocusRect focus;
                focus.initFrom(this);
                const QRect text = fontMetrics().boundingRect(tabText(i));
                focus.rect = QRect(QPoint(0, 0), text.size() + QSize(6, 2));
                focus.rect.moveCenter(tab.center());
                style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
            }
        }
    }
};

}  // namespace

TabControl::TabControl(QWidget* parent) : QWidget(parent), strip_(new TabStrip(this)) {
    setFocusPolicy(Qt::StrongFocus);
    connect(strip_, &QTabBar::currentChanged, this, [this](int index) { ShowPage(index); });
}

QWidget* TabControl::addTab(const QString& caption) {
    auto* page = new QWidget(this);
    page->setGeometry(rect());
    pages_.append(page);
    strip_->addTab(caption);
    strip_->raise();
    ShowPage(strip_->currentIndex());
    return page;
}

QWidget* TabControl::page(int index) const { return pages_.value(index); }

int TabControl::count() const { return static_cast<int>(pages_.size()); }

int TabControl::currentIndex() const { return strip_->currentIndex(); }

void TabControl::setCurrentIndex(int index) { strip_->setCurrentIndex(index); }

void TabControl::ShowPage(int index) {
    for (int i = 0; i < count(); ++i) pages_[i]->setVisible(i == index);
    update();
}

void TabControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    strip_->setGeometry(0, 0, width(), strip_->sizeHint().height());
    for (QWidget* page : pages_) page->setGeometry(rect());
}

void TabControl::paintEvent(QPaintEvent* /*event*/) {
    // The page: flat in the window's colour, raised on its left, right and bottom edges; its
    // top edge belongs to the strip.
    QPainter painter(this);
    const Edges edges(palette());
    const QRect pane = rect().adjusted(0, strip_->height() - 1, -1, -1);
    painter.fillRect(pane, edges.face);
    painter.setPen(edges.light);
    painter.drawLine(pane.left(), pane.top(), pane.left(), pane.bottom());
    painter.setPen(edges.shadow);
    painter.drawLine(pane.right(), pane.top(), pane.right(), pane.bottom());
    painter.drawLine(pane.left() + 1, pane.bottom(), pane.right(), pane.bottom());
}

void TabControl::keyPressEvent(QKeyEvent* event) {
    const int current = currentIndex();
    if (event->key() == Qt::Key_Left && current > 0) {
        setCurrentIndex(current - 1);
    } else if (event->key() == Qt::Key_Right && current + 1 < count()) {
        setCurrentIndex(current + 1);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void TabControl::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    strip_->update();
}

void TabControl::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    strip_->update();
}

}  // namespace vendra
