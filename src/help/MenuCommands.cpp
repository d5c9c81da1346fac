#include "app/MainWindow.h"
#include "platform/Hosts.h"

namespace vendra {

void MainWindow::hlpInstruct_Click() { platform_.shell.open(instructionsPath()); }

void MainWindow::hlpEmail_Click() { platform_.shell.open(std::string("mailto:") + hosts::kAuthorMail); }

void MainWindow::hlpWebsite_Click() {
    platform_.shell.open(std::string("http://") + hosts::kAuthorWebsite);
}

void MainWindow::mnuOpen_Click() { platform_.shell.open(resultsPagePath()); }

}  // namespace vendra
