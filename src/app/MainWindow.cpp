#include "app/MainWindow.h"

namespace vendra {

MainWindow::MainWindow(Platform& platform) : platform_(platform) {}

void MainWindow::Load() {
    StopFlag = false;
    LoadCategories();
    platform_.controls.setListIndex(Control::cmbSearch, 0);
    platform_.controls.setListIndex(Control::cmbCategories, 0);
}

void MainWindow::ShowStatus(const std::string& text) {
    platform_.controls.setCaption(Control::Label1, text);
}

std::string MainWindow::listingFilePath() const {
    return platform_.identity.folder() + "/Listinglist.txt";
}

std::string MainWindow::resultsPagePath() const {
    return platform_.identity.folder() + "/Finalsearch.htm";
}

std::string MainWindow::instructionsPath() const {
    return platform_.identity.folder() + "/instructions.htm";
}

}  // namespace vendra
