#pragma once

#include <QColor>
#include <QPushButton>

namespace vendra {

// A push button drawn flat in one colour with a raised edge two pixels wide, light at the top and
// left and dark at the bottom and right, the other way round while it is held down; its caption is
// centred in its own colour, or in a third colour while the button is disabled. Drawn by hand,
// without a style sheet: a style sheet is parsed and matched for every button it is set on, which
// costs more at start-up than the whole button.
class GraphicalButton : public QPushButton {
  public:
    GraphicalButton(const QString& caption, QWidget* parent, QColor face, QColor text,
                    QColor disabledText);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace vendra
