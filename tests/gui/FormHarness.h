#pragma once

// The real Main window over the fakes of every other port, with its logic attached and loaded,
// wired the way the program wires it.

#include <QWidget>

#include "app/MainWindow.h"
#include "platform/qt/MainForm.h"
#include "support/Fakes.h"

namespace vendra::test {

struct FormHarness {
    FakeDesktop desk;
    MainForm form{desk.identity};
    Platform platform{form,       desk.events, desk.messages, desk.fetch,
                      desk.files, desk.shell,  desk.identity, desk.locale};
    MainWindow logic{platform};

    FormHarness() {
        form.attach(logic);
        logic.Load();
    }

    template <typename W = QWidget>
    W* find(const QString& name) const {
        return form.findChild<W*>(name);
    }
};

}  // namespace vendra::test
