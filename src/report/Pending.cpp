// Placeholder until the bid filter and results page land; removed by that change.
#include "app/MainWindow.h"

namespace vendra {
std::int16_t MainWindow::StripBid(const std::string&) const { return 0; }
void MainWindow::FindBidAmounts() {}
void MainWindow::WriteResults(std::int16_t) {}
}  // namespace vendra
