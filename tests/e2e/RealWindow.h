#pragma once

// The real window with its logic, the real fetch, files, yield, locale and search lock, wired as
// the program wires them, in a fresh application folder; messages are recorded.

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "app/WindowLogic.h"
#include "gui/MainWindow.h"
#include "gui/TabControl.h"
#include "platform/StdTextFiles.h"
#include "platform/qt/QtEventYield.h"
#include "platform/qt/QtLocaleInfo.h"
#include "platform/qt/QtSearchLock.h"
#include "platform/qt/QtUrlFetch.h"
#include "support/Fakes.h"

namespace vendra::test {

struct RealWindow {
    FakeIdentity identity;
    MainWindow form{identity};
    QtEventYield yield;
    FakeMessageBox messages;
    QtUrlFetch fetch;
    StdTextFiles files;
    FakeShell shell;
    QtLocaleInfo locale;
    QtSearchLock lock;
    Platform platform;
    WindowLogic logic{platform};

    // The shell is recorded unless the desktop's own is given.
    explicit RealWindow(Shell* desktopShell = nullptr)
        : platform{form,     yield,  messages, fetch, files, desktopShell ? *desktopShell : shell,
                   identity, locale, lock} {
        fetch.letThrough([this](const QObject* object) { return form.isStopButton(object); });
        form.attach(logic);
        logic.load();
        form.show();
    }

    template <typename W = QWidget>
    W* find(const char* name) const {
        return form.findChild<W*>(name);
    }
    void click(const char* button) { QTest::mouseClick(find(button), Qt::LeftButton); }

    // Starts a category search with a minimum of 0 bids; returns once the search has returned.
    void searchCategory(const QString& category) {
        find<QLineEdit>("minimumBids")->setText("0");
        find<TabControl>("searchTabs")->setCurrentIndex(1);
        find<QLineEdit>("categoryNumber")->setText(category);
        click("categorySearchButton");
    }
};

}  // namespace vendra::test
