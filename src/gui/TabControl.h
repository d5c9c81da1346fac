#pragma once

#include <QWidget>

class QTabBar;

namespace vendra {

// A tab control whose pages cover the whole control, tab strip included, so that a control on a
// page is placed by its position from the tab control's top-left corner. The control itself
// takes the keyboard focus (the arrow keys then switch tabs); the strip only shows the tabs.
class TabControl : public QWidget {
    Q_OBJECT
  public:
    explicit TabControl(QWidget* parent = nullptr);

    // Adds a tab at the right end and returns its page, to be the parent of the tab's controls.
    QWidget* addTab(const QString& caption);
    QWidget* page(int index) const;
    int count() const;
    int currentIndex() const;
    void setCurrentIndex(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void ShowPage(int index);

    QTabBar* strip_;
    QList<QWidget*> pages_;
};

}  // namespace vendra
