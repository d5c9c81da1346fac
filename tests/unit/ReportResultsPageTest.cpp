#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/MainWindow.h"
#include "support/Fakes.h"
#include "support/MainWindowTestAccess.h"
#include "support/ReferenceWriter.h"

namespace vendra {
namespace {

using test::ExpectedPageEnd;
using test::ExpectedPageHead;

constexpr char kListing[] = "Listinglist.txt";
constexpr char kPage[] = "Finalsearch.htm";
constexpr char kTooMany[] =
    "eBay says your search returned too many listings. Please narrow it and try again";
constexpr Control kSearchControls[] = {Control::Command2, Control::Command3, Control::Command4,
                                       Control::Command5, Control::cmdSearch};

// A category listing row whose bid cell holds `bids`; an empty `bids` gives a row without one.
std::string Row(const std::string& title, const std::string& bids) {
    std::string row = "<TR><TD><IMG SRC=\"p.gif\"></TD><TD><A HREF=\"http://x/" + title + "\">" +
                      title + "</A></TD><TD ALIGN=RIGHT>$4.00</TD>";
    if (!bids.empty()) row += "</TD><TD ALIGN=CENTER WIDTH=\"12%\">" + bids + "<br>";
    return row + "<TD>Mar-14 18:22</TD></TR>";
}

std::string ListingFile(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

std::string Page(const std::vector<std::string>& rows) {
    std::string page = ExpectedPageHead();
    for (const std::string& row : rows) page += row;
    return page + ExpectedPageEnd();
}

// The real files, with a chance to act right after each open for reading (counted from 1), as
// someone else touching the listing file between the reads of a search.
class HookedFiles : public test::FakeFiles {
public:
    std::unique_ptr<LineReader> openForReading(const std::string& path) override {
        auto reader = FakeFiles::openForReading(path);
        if (afterOpen) afterOpen(++opens);
        return reader;
    }
    std::unique_ptr<TextWriter> create(const std::string& path) override {
        if (creatable) return FakeFiles::create(path);
        throw FileError(FileError::Kind::NotFound, "no such folder: " + path);
    }
    std::function<void(int)> afterOpen;
    bool creatable = true;
    int opens = 0;
};

// Shows the page in the "browser", with a chance to act meanwhile.
class HookedShell : public test::FakeShell {
public:
    void open(const std::string& target) override {
        FakeShell::open(target);
        if (onOpen) onOpen();
    }
    std::function<void()> onOpen;
};

// A category search whose page walk has just ended: the window as the bid pass finds it.
struct Search {
    test::FakeDesktop desktop;
    HookedFiles files;
    HookedShell shell;
    Platform platform{desktop.controls, desktop.events, desktop.messages,
                      desktop.fetch,    files,          shell,
                      desktop.identity, desktop.locale};
    MainWindow window{platform};

    explicit Search(const std::string& minimum) {
        window.SearchKind = 2;
        desktop.controls.type(Control::txtBids, minimum);
        for (Control control : kSearchControls) desktop.controls.setEnabled(control, false);
        desktop.controls.setEnabled(Control::Command6, true);
        desktop.controls.setCaption(Control::Command1, "Stop Search");
        desktop.controls.statusHistory.clear();
    }
    std::string pagePath() const { return desktop.identity.path(kPage).string(); }
    std::string listingPath() const { return desktop.identity.path(kListing).string(); }
    bool listingExists() const { return std::filesystem::exists(listingPath()); }
    void bidPass() { MainWindowTestAccess::FindBidAmounts(window); }
    // Replaces the listing file by a new one; a reader that has it open keeps the old bytes.
    void replaceListing(const std::string& bytes) {
        desktop.write("Listinglist.new", bytes);
        std::filesystem::rename(desktop.identity.path("Listinglist.new"), listingPath());
    }

    void expectFinished(const std::string& page) {
        EXPECT_EQ(desktop.read(kPage), page);
        EXPECT_EQ(shell.opened, std::vector<std::string>{pagePath()});
        EXPECT_EQ(desktop.controls.status(), "Finished!!!");
        EXPECT_EQ(desktop.controls.caption(Control::Command1), "Begin New Search");
        EXPECT_FALSE(listingExists());
        EXPECT_TRUE(desktop.messages.messages.empty());
        for (Control control : kSearchControls) EXPECT_FALSE(desktop.controls.enabled(control));
    }

    // Ended without results: nothing shown, nothing opened, the window as it was.
    void expectEndedSilently(const std::string& status) {
        EXPECT_EQ(desktop.controls.status(), status);
        EXPECT_TRUE(shell.opened.empty());
        EXPECT_TRUE(desktop.messages.messages.empty());
        EXPECT_FALSE(window.StopFlag);
        EXPECT_EQ(desktop.controls.caption(Control::Command1), "Stop Search");
        for (Control control : kSearchControls) EXPECT_FALSE(desktop.controls.enabled(control));
        EXPECT_TRUE(desktop.controls.enabled(Control::Command6));
    }

    // The too-many-listings message, then the window ready for another search.
    void expectTooManyListings() {
        EXPECT_EQ(desktop.messages.messages, std::vector<std::string>{kTooMany});
        EXPECT_TRUE(window.StopFlag);
        for (Control control : kSearchControls) EXPECT_TRUE(desktop.controls.enabled(control));
        EXPECT_EQ(desktop.controls.caption(Control::Command1), "Stop Search");
        EXPECT_EQ(desktop.controls.status(), "Ready for another search");
        EXPECT_TRUE(desktop.controls.enabled(Control::Command6));
    }
};

struct PageCase {
    const char* name;
    std::vector<std::string> lines;
    std::string minimum;
    std::vector<std::size_t> rows;  // indices into lines, in page order
};

TEST(ResultsPage, KeepsRowsFromTheMostBidsDownToTheMinimum) {
    const std::string noCellA = Row("no-cell-a", "");
    const PageCase cases[] = {
        {"counts 5 3 7 5, minimum 3",
         {Row("a", "5"), Row("b", "3"), Row("c", "2"), Row("d", "7"), Row("e", "5")},
         "3",
         {3, 0, 4, 1}},
        {"minimum 0 puts rows without bids last",
         {Row("a", "2"), Row("b", ""), Row("c", "4"), Row("d", "-"), Row("e", "0")},
         "0",
         {2, 0, 1, 3, 4}},
        {"minimum above the highest count", {Row("a", "1"), Row("b", "2")}, "5", {}},
        {"negative minimum", {Row("a", "1"), Row("b", ""), Row("c", "2")}, "-3", {2, 0, 1}},
        {"negative counts down to the minimum",
         {Row("a", "-1"), Row("b", "-3"), Row("c", "1"), Row("d", "-2")},
         " -2 ",
         {2, 0, 3}},
        {"minimum with a fraction", {Row("a", "1"), Row("b", "2"), Row("c", "3")}, "1.5", {2, 1}},
        {"minimum -32768 keeps everything",
         {Row("a", "-32768"), Row("b", "32767"), Row("c", "")},
         "-32768",
         {1, 2, 0}},
        {"empty listing file", {}, "0", {}},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.name);
        Search search(c.minimum);
        search.desktop.write(kPage, "the previous search's page, longer than a page head ...");
        search.desktop.write(kListing, ListingFile(c.lines));
        search.bidPass();
        std::vector<std::string> rows;
        for (std::size_t i : c.rows) rows.push_back(c.lines[i]);
        search.expectFinished(Page(rows));
        EXPECT_EQ(search.desktop.controls.statusHistory,
                  (std::vector<std::string>{"Finding Bid amounts.......", "Creating Output.......",
                                            "Finished!!!"}));
    }
}

TEST(ResultsPage, CopiesLinesOfAnyLengthAndBytesUnchanged) {
    const std::string cell = "</TD><TD ALIGN=CENTER WIDTH=\"12%\">";
    // The first line's CR LF straddles the reader's 64 KiB chunks, the long line is longer than
    // one chunk, and the last line has no line break at all.
    const std::string straddling = std::string(65535 - 39, 'x') + cell + "1<br>";
    const std::string withNul = std::string("a\0b", 3) + cell + "2<br>" + std::string("\0", 1);
    const std::string withLoneLf = "first\nsecond" + cell + "3<br>\nthird";
    const std::string highBytes = "\x80\xfe\xff" + cell + "1<br>\x81";
    std::string longLine;
    for (int i = 0; longLine.size() < 200000; ++i) longLine += "<TD>item " + std::to_string(i);
    longLine += cell + "1<br>";
    const std::string unterminated = "last" + cell + "2<br>";

    const std::string listing = straddling + "\r\n" + withNul + "\r" + withLoneLf + "\r\n" +
                                "\r\n" + highBytes + "\r" + longLine + "\r\n" + unterminated;
    ASSERT_EQ(straddling.size(), 65535u);
    Search search("0");
    search.desktop.write(kListing, listing);
    search.bidPass();
    // 3, then 2 in file order, then 1 in file order, then the empty line's 0.
    search.expectFinished(
        Page({withLoneLf, withNul, unterminated, straddling, highBytes, longLine, ""}));
}

TEST(ResultsPage, DoesNothingOnceTheSearchIsStopped) {
    for (bool throughBidPass : {true, false}) {
        SCOPED_TRACE(throughBidPass ? "bid pass" : "results writer");
        Search search("0");
        search.window.StopFlag = true;
        search.desktop.write(kPage, "old page");
        // Without a listing file any read would show the too-many-listings message.
        if (throughBidPass)
            search.bidPass();
        else
            MainWindowTestAccess::WriteResults(search.window, 3);
        EXPECT_TRUE(search.desktop.controls.statusHistory.empty());
        EXPECT_EQ(search.desktop.read(kPage), "old page");
        EXPECT_TRUE(search.shell.opened.empty());
        EXPECT_TRUE(search.desktop.messages.messages.empty());
        EXPECT_EQ(search.desktop.controls.caption(Control::Command1), "Stop Search");
    }
}

enum class PageTrouble { None, OldPageUndeletable, CannotCreate };

struct SilentCase {
    const char* name;
    std::vector<std::string> lines;
    std::string minimum;
    PageTrouble trouble;
    const char* status;
    std::optional<std::string> page;  // nullopt: no page at all
};

TEST(ResultsPage, EndsSilentlyOnEveryOtherFailure) {
    const std::string oldPage = "old page";
    const std::string head = ExpectedPageHead();
    const std::vector<std::string> oneRow = {Row("a", "2")};
    constexpr char kCreating[] = "Creating Output.......";
    constexpr char kFinding[] = "Finding Bid amounts.......";
    const SilentCase cases[] = {
        {"minimum not a number", oneRow, "three", PageTrouble::None, kCreating, head},
        {"minimum empty", oneRow, "", PageTrouble::None, kCreating, head},
        {"minimum out of range", oneRow, "40000", PageTrouble::None, kCreating, head},
        {"old page cannot be deleted", oneRow, "0", PageTrouble::OldPageUndeletable, kCreating,
         oldPage},
        // Only a missing listing file is answered with the message, never the page's own trouble.
        {"page cannot be created", oneRow, "0", PageTrouble::CannotCreate, kCreating, std::nullopt},
        // The bid pass reads every line before the page is touched.
        {"bad cell on a late line",
         {Row("a", "7"), Row("b", "3"), Row("c", "lots")},
         "0",
         PageTrouble::None,
         kFinding,
         oldPage},
        {"cell out of range", {Row("a", "40000")}, "0", PageTrouble::None, kFinding, oldPage},
        {"cell without its end",
         {Row("a", "2"), "<TR></TD><TD ALIGN=CENTER WIDTH=\"12%\">5</TR>"},
         "0",
         PageTrouble::None,
         kFinding,
         oldPage},
    };
    for (const SilentCase& c : cases) {
        SCOPED_TRACE(c.name);
        Search search(c.minimum);
        search.desktop.write(kPage, oldPage);
        search.desktop.write(kListing, ListingFile(c.lines));
        if (c.trouble == PageTrouble::OldPageUndeletable)
            search.files.undeletable.insert(search.pagePath());
        search.files.creatable = c.trouble != PageTrouble::CannotCreate;
        search.bidPass();
        search.expectEndedSilently(c.status);
        EXPECT_EQ(search.desktop.read(kPage), c.page);
        EXPECT_EQ(search.desktop.read(kListing), ListingFile(c.lines));
    }
}

// A line that went bad after the bid pass read it: the rows with the highest count before it
// are on the page, nothing else, as with a pass per count that meets it in its first pass.
TEST(ResultsPage, BadLineMetByTheWriterLeavesTheRowsBeforeIt) {
    const std::vector<std::string> read = {Row("a", "4"), Row("b", "2"), Row("c", "4"),
                                           Row("d", "1"), Row("e", "4")};
    std::vector<std::string> written = read;
    written[3] = Row("d", "?");
    Search search("0");
    search.desktop.write(kListing, ListingFile(read));
    search.files.afterOpen = [&](int open) {
        if (open == 1) search.replaceListing(ListingFile(written));
    };
    search.bidPass();
    search.expectEndedSilently("Creating Output.......");
    EXPECT_EQ(search.desktop.read(kPage), ExpectedPageHead() + read[0] + read[2]);
    EXPECT_EQ(search.desktop.read(kListing), ListingFile(written));
}

struct MissingCase {
    const char* name;
    std::string minimum;
    int deletedAfterOpen;  // 0: never written; -1: while the page is shown
    std::optional<std::string> page;
    bool opened;
};

TEST(ResultsPage, MissingListingFileShowsTheTooManyListingsMessage) {
    const std::vector<std::string> lines = {Row("a", "1"), Row("b", "2")};
    const MissingCase cases[] = {
        {"missing when the bid pass starts", "0", 0, std::string("old page"), false},
        {"gone when the writer reads it", "1", 1, ExpectedPageHead(), false},
        // Without a row to select the writer never reads the file: only the deletion misses it.
        {"gone, minimum above the highest count", "3", 1, Page({}), true},
        {"gone between the read and the deletion", "0", -1, Page({lines[1], lines[0]}), true},
    };
    for (const MissingCase& c : cases) {
        SCOPED_TRACE(c.name);
        Search search(c.minimum);
        search.window.IncompleteFlag = true;
        search.desktop.write(kPage, "old page");
        if (c.deletedAfterOpen != 0) search.desktop.write(kListing, ListingFile(lines));
        auto remove = [&] { std::filesystem::remove(search.listingPath()); };
        search.files.afterOpen = [&](int open) {
            if (open == c.deletedAfterOpen) remove();
        };
        if (c.deletedAfterOpen == -1) search.shell.onOpen = remove;

        search.bidPass();

        search.expectTooManyListings();
        EXPECT_TRUE(search.window.IncompleteFlag);
        EXPECT_EQ(search.desktop.read(kPage), c.page);
        EXPECT_EQ(search.shell.opened.size(), c.opened ? 1u : 0u);
    }
}

}  // namespace
}  // namespace vendra
