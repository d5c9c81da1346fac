#pragma once

// The real main window over the fakes of every other port, with its controller attached and
// loaded as the program does it.

#include <QApplication>
#include <QTest>
#include <QWidget>

#include "controller/SearchController.h"
#include "gui/MainWindow.h"
#include "gui/TabControl.h"
#include "support/Fakes.h"

namespace vendra::test {

struct WindowHarness {
    FakeDesktop desk;
    MainWindow form{desk.identity};
    Platform platform = desk.behind(form);
    SearchController controller{platform};

    WindowHarness() {
        form.attach(controller);
        controller.load();
    }

    // Shows the window and waits until it is on the screen.
    bool show() {
        form.show();
        return QTest::qWaitForWindowExposed(&form);
    }

    template <typename W = QWidget>
    W* find(const QString& name) const {
        return form.findChild<W*>(name);
    }

    TabControl* tabs() const { return find<TabControl>("searchTabs"); }
};

// The top-level windows of that name that are showing, such as About boxes.
inline QList<QWidget*> ShowingWindows(const QString& name) {
    QList<QWidget*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible()) found << w;
    return found;
}

}  // namespace vendra::test
