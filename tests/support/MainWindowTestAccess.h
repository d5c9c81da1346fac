#pragma once

#include "app/MainWindow.h"

namespace vendra {

// The window's private procedures, for the tests that drive one stage on its own. The one
// definition of this friend for every test program: add what a test needs here.
struct MainWindowTestAccess {
    static void WriteResults(MainWindow& window, std::int16_t highest) { window.WriteResults(highest); }
    static void FindBidAmounts(MainWindow& window) { window.FindBidAmounts(); }
    static void LoadCategories(MainWindow& window) { window.LoadCategories(); }
    static void KeywordSearch(MainWindow& window) { window.KeywordSearch(); }
    static void CompletedSearch(MainWindow& window) { window.CompletedSearch(); }
};

}  // namespace vendra
