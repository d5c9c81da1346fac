// Stands in for `vendra --category N` until the program has its command line: one category search
// through the window's logic with the program's own ports, from the folder this program lies in.
// It prints every message and the last status text, one a line. Only end-to-end tests start it.

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "app/WindowLogic.h"
#include "platform/StdTextFiles.h"
#include "platform/qt/QtAppIdentity.h"
#include "platform/qt/QtEventYield.h"
#include "platform/qt/QtLocaleInfo.h"
#include "platform/qt/QtUrlFetch.h"
#include "support/Fakes.h"

namespace {

class PrintedMessages : public vendra::MessageBox {
  public:
    void showMessage(const std::string& text) override { std::printf("%s\n", text.c_str()); }
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3 || arguments[1] != "--category") {
        std::fprintf(stderr, "usage: category-search --category N\n");
        return 2;
    }
    vendra::test::FakeControls controls;
    controls.type(vendra::Control::CategoryNumber, arguments[2].toStdString());
    controls.type(vendra::Control::MinimumBids, "0");
    vendra::QtEventYield yield;
    PrintedMessages messages;
    vendra::QtUrlFetch fetch;
    vendra::StdTextFiles files;
    vendra::test::FakeShell shell;
    vendra::QtAppIdentity identity;
    vendra::QtLocaleInfo locale;
    // No lock named: the program gets the desktop's, as the window's program does.
    vendra::Platform platform{controls, yield, messages, fetch, files, shell, identity, locale};
    vendra::WindowLogic logic(platform);
    logic.startCategorySearch();
    std::printf("%s\n", controls.status().c_str());
    return logic.lastSearchEnd() == vendra::SearchEnd::Finished ? 0 : 1;
}
