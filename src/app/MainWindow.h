#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace vendra {

// The Main window's logic: its search state fields and every procedure of a search. The Qt form
// is only a view of it; the procedures are defined in the folders of their subsystems
// (app, retrieval, query, report, help).
class MainWindow {
public:
    explicit MainWindow(Platform& platform);

    // Search state fields, all 0 when the window is created and never reset when a search ends.
    std::int16_t SearchKind = 0;  // 1 keyword, 2 category, 3 featured, 4 completed
    std::int16_t PageNumber = 0;
    std::int16_t PageTotal = 0;
    std::int32_t ResultOffset = 0;
    std::int32_t ListingTotal = 0;
    bool StopFlag = false;
    bool IncompleteFlag = false;

    // Start-up: runs once, before the window is first shown.
    void Load();

    // The buttons. Command3 and Command4 receive the index of their control group and ignore it.
    void cmdSearch_Click();
    void Command3_Click(int index);
    void Command4_Click(int index);
    void Command5_Click();
    void Command1_Click();
    void Command6_Click();
    void Command2_Click();

    // The menu commands that go through the shell; "About" is the view's business.
    void hlpInstruct_Click();
    void hlpEmail_Click();
    void hlpWebsite_Click();
    void mnuOpen_Click();

    // Asked when the user closes the window. True: close now. False: a search is running; it has
    // been told to stop and the window closes itself once the search has returned.
    bool QueryUnload();
    bool searchRunning() const { return searchDepth_ > 0; }

    // Public procedures.
    void GetData(const std::string& URL, const std::string& NextUrl);
    void GetListing(const std::string& URL, const std::string& NextUrl);
    void GetSearchListing(const std::string& URL, const std::string& NextUrl);
    std::int16_t StripBid(const std::string& OneLine) const;
    std::string MakeQuery(const std::string& Search, const std::string& Excluded) const;
    std::string getcatno() const;
    static std::string AddPlus(std::string Terms);
    void RemoveTempFile();

    // Paths of the working files, formed afresh from the application folder on every call.
    std::string listingFilePath() const;
    std::string resultsPagePath() const;
    std::string instructionsPath() const;

private:
    friend struct MainWindowTestAccess;

    enum class StartKind { Keyword = 1, Category = 2, Featured = 3, Completed = 4 };

    void WriteResults(std::int16_t highest);
    void FindBidAmounts();
    void LoadCategories();
    void KeywordSearch();
    void CompletedSearch();

    // The sequence that every search start shares, with the rows of its kind.
    void StartSearch(StartKind kind);
    void RunSearch(StartKind kind);
    void SetSearchControlsEnabled(bool enabled);
    void ShowStatus(const std::string& text);
    // The idle state after a stop: what Stop Search does, and what a failed first page ends in.
    void ReturnToIdle();
    // The message and window reset of the too-many-listings path.
    void TooManyListings();

    Platform& platform_;
    int searchDepth_ = 0;
    std::optional<StartKind> deferredStart_;
    bool closeRequested_ = false;
};

}  // namespace vendra
