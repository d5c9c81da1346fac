#include <exception>

#include "app/MainWindow.h"
#include "platform/Hosts.h"

namespace vendra {
namespace {

constexpr Control kSearchControls[] = {Control::Command2, Control::Command3, Control::Command4,
                                       Control::Command5, Control::cmdSearch};

std::string ListingsUrl(const std::string& path) {
    return std::string("http://") + hosts::kListings + path;
}

}  // namespace

void MainWindow::cmdSearch_Click() { StartSearch(StartKind::Keyword); }
void MainWindow::Command3_Click(int /*index*/) { StartSearch(StartKind::Category); }
void MainWindow::Command4_Click(int /*index*/) { StartSearch(StartKind::Featured); }
void MainWindow::Command5_Click() { StartSearch(StartKind::Completed); }

void MainWindow::Command1_Click() { ReturnToIdle(); }

void MainWindow::Command6_Click() {
    IncompleteFlag = true;
    platform_.controls.setEnabled(Control::Command6, false);
}

void MainWindow::Command2_Click() {
    platform_.shell.open(ListingsUrl("/aw/listings/list/categories.html"));
}

bool MainWindow::QueryUnload() {
    if (!searchRunning()) return true;
    // The search ends at its next test of StopFlag; the request in flight is abandoned so that
    // nothing waits on the network. The window closes once the search has returned.
    StopFlag = true;
    closeRequested_ = true;
    deferredStart_.reset();
    platform_.fetch.cancel();
    return false;
}

void MainWindow::StartSearch(StartKind kind) {
    // A stopped search re-enables the search buttons while it is still unwinding below this
    // click; a start clicked then waits until that search has returned.
    if (searchRunning()) {
        deferredStart_ = kind;
        return;
    }
    deferredStart_ = kind;
    while (deferredStart_ && !closeRequested_) {
        const StartKind next = *deferredStart_;
        deferredStart_.reset();
        RunSearch(next);
    }
    if (closeRequested_) {
        closeRequested_ = false;
        platform_.controls.closeWindow();
    }
}

void MainWindow::RunSearch(StartKind kind) {
    struct Running {
        int& depth;
        explicit Running(int& d) : depth(d) { ++depth; }
        ~Running() { --depth; }
    } running(searchDepth_);

    StopFlag = false;
    // A See Incomplete Results left over from a search that ended with the too-many-listings
    // message would otherwise cut this search short after its first block.
    IncompleteFlag = false;
    SetSearchControlsEnabled(false);
    if (kind != StartKind::Keyword) PageNumber = 2;
    RemoveTempFile();
    switch (kind) {
        case StartKind::Keyword: break;
        case StartKind::Category: ShowStatus("Finding # of Auctions in Category......."); break;
        case StartKind::Featured: ShowStatus("Finding # of featured auctions......."); break;
        case StartKind::Completed: ShowStatus("Finding # of completed auctions......."); break;
    }
    SearchKind = static_cast<std::int16_t>(kind);

    try {
        switch (kind) {
            case StartKind::Keyword: KeywordSearch(); break;
            case StartKind::Category:
                GetData(ListingsUrl("/aw/plistings/list/category" +
                                    platform_.controls.text(Control::Text1) + "/index.html"),
                        "");
                break;
            case StartKind::Featured: GetData(ListingsUrl("/aw/plistings/list/featured/index.html"), ""); break;
            case StartKind::Completed: CompletedSearch(); break;
        }
    } catch (const FetchError& error) {
        // Only the first page of a search can fail this way; later pages are skipped by the walk.
        platform_.messages.showMessage(std::string("The auction site could not be reached: ") +
                                       error.what());
        ReturnToIdle();
        return;
    }
    FindBidAmounts();
}

void MainWindow::SetSearchControlsEnabled(bool enabled) {
    for (Control control : kSearchControls) platform_.controls.setEnabled(control, enabled);
}

void MainWindow::ReturnToIdle() {
    IncompleteFlag = false;
    StopFlag = true;
    SetSearchControlsEnabled(true);
    platform_.controls.setEnabled(Control::Command6, false);
    platform_.controls.setCaption(Control::Command1, "Stop Search");
    ShowStatus("Ready for another search");
}

void MainWindow::TooManyListings() {
    platform_.messages.showMessage(
        "eBay says your search returned too many listings. Please narrow it and try again");
    StopFlag = true;
    SetSearchControlsEnabled(true);
    platform_.controls.setCaption(Control::Command1, "Stop Search");
    ShowStatus("Ready for another search");
}

}  // namespace vendra
