// Placeholder until retrieval and queries land; removed by that change.
#include "app/MainWindow.h"

namespace vendra {
void MainWindow::GetData(const std::string&, const std::string&) {}
void MainWindow::GetListing(const std::string&, const std::string&) {}
void MainWindow::GetSearchListing(const std::string&, const std::string&) {}
std::string MainWindow::MakeQuery(const std::string&, const std::string&) const { return {}; }
std::string MainWindow::AddPlus(std::string Terms) { return Terms; }
void MainWindow::KeywordSearch() {}
void MainWindow::CompletedSearch() {}
}  // namespace vendra
