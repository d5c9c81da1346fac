#pragma once

#include <QWidget>

namespace vendra {

// True on a Wayland compositor, which places a new window where it likes unless the window
// belongs to another.
bool OnWayland();

// True where the program draws its windows' title bars itself: under a Wayland compositor that
// leaves the frames to its clients (weston, GNOME's mutter), where the only frame Qt draws for a
// window always offers to maximise it, which a window of fixed size must not. A compositor that
// draws the frames itself keeps them.
bool DrawsOwnTitleBars();

// Where DrawsOwnTitleBars(), gives the top-level `window` a title bar of its own instead of the
// platform's frame: the window's layout moves down by the bar's height, and the bar shows the
// window's icon and caption, a button that minimises it (when `minimise` is set) and one that
// closes it; dragging the bar moves the window. Elsewhere it does nothing. Call it before the
// window first shows.
void AddOwnTitleBar(QWidget& window, bool minimise);

// True for a window's own title bar and its buttons: moving, minimising and closing a window
// are the desktop's business, which a page in flight must not hold up.
bool IsOnTitleBar(const QObject* object);

// The bar itself, a child of the window it heads.
class TitleBar : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kHeight = 22;

    TitleBar(QWidget& window, bool minimise);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QWidget& window_;
};

}  // namespace vendra
