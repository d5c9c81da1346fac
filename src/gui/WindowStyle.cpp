#include "gui/WindowStyle.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QWidget>

namespace vendra {
namespace {

// An icon of the style's own, asked of the style when it is first drawn or measured.
class DeferredStyleIcon : public QIconEngine {
  public:
    DeferredStyleIcon(const QStyle* style, QStyle::StandardPixmap which, const QWidget* widget)
        : style_(style), which_(which), widget_(widget) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QIconEngine* clone() const override { return new DeferredStyleIcon(*this); }

  private:
    const QIcon& icon() {
        if (!read_) {
            if (style_) icon_ = style_->standardIcon(which_, nullptr, widget_);
            read_ = true;
        }
        return icon_;
    }

    QPointer<const QStyle> style_;
    QStyle::StandardPixmap which_;
    QPointer<const QWidget> widget_;
    bool read_ = false;
    QIcon icon_;
};

class WindowStyle : public QProxyStyle {
  public:
    WindowStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        // Asked for by every menu bar when it is made.
        if (which == SP_ToolBarHorizontalExtensionButton && !option)
            return QIcon(new DeferredStyleIcon(baseStyle(), which, widget));
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

}  // namespace

QStyle* CreateWindowStyle() { return new WindowStyle; }

}  // namespace vendra
