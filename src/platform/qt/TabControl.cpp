#include "platform/qt/TabControl.h"

#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

namespace vendra {
namespace {

// The strip never takes the focus itself; it shows the focus of its tab control on the
// current tab.
class TabStrip : public QTabBar {
  public:
    explicit TabStrip(QWidget* control) : QTabBar(control) {
        setFocusPolicy(Qt::NoFocus);
        setDrawBase(false);
        setExpanding(true);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QTabBar::paintEvent(event);
        if (!parentWidget()->hasFocus() || currentIndex() < 0) return;
        QStylePainter painter(this);
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = tabRect(currentIndex()).adjusted(4, 4, -4, -3);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
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
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = strip_->size();
    frame.tabBarRect = strip_->geometry();
    if (currentIndex() >= 0)
        frame.selectedTabRect = strip_->tabRect(currentIndex()).translated(strip_->pos());
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    frame.rect = rect().adjusted(0, strip_->height() - overlap, 0, 0);
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
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
