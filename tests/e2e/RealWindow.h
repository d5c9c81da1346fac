#pragma once

// The real window with its logic, the real fetch, files, yield, locale and search lock, wired as
// the program wires them, in a fresh application folder; messages are recorded.

#include <QLineEdit>
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

    // Types a search into the tab's box (none: the tab has no box) and clicks the button; returns
    // once the search has returned.
    void search(int tab, const char* box, const QString& typed, const char* button,
                int minimumBids = 0) {
        find<QLineEdit>("minimumBids")->setText(QString::number(minimumBids));
        find<TabControl>("searchTabs")->setCurrentIndex(tab);
        if (*box) QTest::keyClicks(find(box), typed);
        click(button);
    }
};

}  // namespace vendra::test
