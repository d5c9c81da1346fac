#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "support/Fakes.h"
#include "support/MainWindowTestAccess.h"
#include "support/ReferenceWriter.h"

namespace vendra {
namespace {

constexpr char kListing[] = "Listinglist.txt";
constexpr char kPage[] = "Finalsearch.htm";
constexpr char kOldPage[] = "the previous search's page";
constexpr char kTooMany[] =
    "eBay says your search returned too many listings. Please narrow it and try again";
constexpr Control kSearchControls[] = {Control::Command2, Control::Command3, Control::Command4,
                                       Control::Command5, Control::cmdSearch};
const std::string kProgress[] = {"Finding Bid amounts.......", "Creating Output.......",
                                 "Finished!!!"};

std::string Cell(const std::string& bids) {
    return "</TD><TD ALIGN=CENTER WIDTH=\"12%\">" + bids + "<br>";
}

// A category listing row; without `bids` it has no bid cell.
std::string Row(const std::string& title, const std::string& bids = "") {
    return "<TR><TD><A HREF=\"http://x/" + title + "\">" + title + "</A></TD><TD>$4.00" +
           (bids.empty() ? "" : Cell(bids)) + "</TD><TD>Mar-14 18:22</TD></TR>";
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

// Takes the listing file away right after its n-th opening for reading (the reader that has it
// open still reads it all), or refuses to create the results page.
class TroubledFiles : public test::FakeFiles {
  public:
    std::unique_ptr<LineReader> openForReading(const std::string& path) override {
        auto reader = FakeFiles::openForReading(path);
        if (++opens == listingGoneAfterOpen) std::filesystem::remove(path);
        return reader;
    }
    std::unique_ptr<TextWriter> create(const std::string& path) override {
        if (!creatable) throw FileError(FileError::Kind::NotFound, "no such folder: " + path);
        return FakeFiles::create(path);
    }
    int listingGoneAfterOpen = 0;
    int opens = 0;
    bool creatable = true;
};

enum class Trouble { None, Stopped, NoListing, GoneForWriter, GoneAtEnd, Undeletable, Uncreatable };
// How far the status line got.
enum class Reached { Nothing, FindingBids, CreatingOutput, Finished };

struct PageCase {
    const char* name;
    std::string listing;
    std::string minimum;
    std::optional<std::string> page;  // nullopt: none at all
    Trouble trouble = Trouble::None;
    Reached reached = Reached::Finished;
};

std::string Whole(const std::vector<std::string>& rows) {
    std::string page = test::ExpectedPageHead();
    for (const std::string& row : rows) page += row;
    return page + test::ExpectedPageEnd();
}

struct Search {
    test::FakeDesktop desktop;
    TroubledFiles files;
    Platform platform{desktop.controls, desktop.events,   desktop.messages, desktop.fetch, files,
                      desktop.shell,    desktop.identity, desktop.locale};
    MainWindow window{platform};
};

TEST(ResultsPage, EveryWayTheBidPassEnds) {
    const std::string a5 = Row("a", "5"), b3 = Row("b", "3"), c2 = Row("c", "2"),
                      d7 = Row("d", "7"), e5 = Row("e", "5"), none = Row("f"), dash = Row("g", "-");
    // Every byte is kept: NUL, lone LF, bytes above 127, a CR LF that straddles the reader's
    // 64 KiB chunks, a line longer than a chunk, lone CRs that end lines, no final line break.
    const std::string straddling = std::string(65535 - Cell("1").size(), 'x') + Cell("1");
    const std::string odd = std::string("\0\n\x80", 3) + Cell("2") + "\n\xff";
    const std::string longLine = std::string(200000, 'y') + Cell("3");
    const std::string last = "last" + Cell("2");
    const std::string anyBytes = straddling + "\r\n" + odd + "\r" + longLine + "\r\n\r\n" + last;

    using T = Trouble;
    using R = Reached;
    const std::string head = test::ExpectedPageHead();
    const PageCase cases[] = {
        {"counts 5 3 7 5, minimum 3", Lines({a5, b3, c2, d7, e5}), "3", Whole({d7, a5, e5, b3})},
        {"minimum 0: rows without a bid cell last", Lines({c2, none, a5, dash}), "0",
         Whole({a5, c2, none, dash})},
        {"minimum above the highest count", Lines({c2, b3}), "5", Whole({})},
        {"negative minimum", Lines({c2, none}), "-3", Whole({c2, none})},
        {"the widest range", Lines({Row("m", "-32768"), none, Row("n", "32767")}), "-32768",
         Whole({Row("n", "32767"), none, Row("m", "-32768")})},
        {"empty listing file", "", "0", Whole({})},
        {"lines of any bytes", anyBytes, "0", Whole({longLine, odd, last, straddling, ""})},
        {"minimum not a number", Lines({c2}), "three", head, T::None, R::CreatingOutput},
        {"stopped", Lines({c2}), "0", kOldPage, T::Stopped, R::Nothing},
        {"bad cell on the last line", Lines({d7, b3, Row("x", "lots")}), "0", kOldPage, T::None,
         R::FindingBids},
        {"old page undeletable", Lines({c2}), "0", kOldPage, T::Undeletable, R::CreatingOutput},
        // Only a missing listing file gets the message, never the page's own trouble.
        {"page cannot be created", Lines({c2}), "0", std::nullopt, T::Uncreatable,
         R::CreatingOutput},
        {"no listing file", "", "0", kOldPage, T::NoListing, R::FindingBids},
        {"listing gone before the writer reads it", Lines({c2, b3}), "0", head, T::GoneForWriter,
         R::CreatingOutput},
        {"listing gone at the end", Lines({c2, b3}), "0", Whole({b3, c2}), T::GoneAtEnd},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.name);
        Search s;
        test::FakeDesktop& desktop = s.desktop;
        const std::string pagePath = desktop.identity.path(kPage).string();
        // The window as a search leaves it once its page walk has ended.
        s.window.SearchKind = 2;
        s.window.StopFlag = c.trouble == T::Stopped;
        desktop.controls.type(Control::txtBids, c.minimum);
        for (Control control : kSearchControls) desktop.controls.setEnabled(control, false);
        desktop.controls.setCaption(Control::Command1, "Stop Search");
        desktop.controls.statusHistory.clear();
        desktop.write(kPage, kOldPage);
        if (c.trouble != T::NoListing) desktop.write(kListing, c.listing);
        if (c.trouble == T::Undeletable) s.files.undeletable.insert(pagePath);
        s.files.creatable = c.trouble != T::Uncreatable;
        s.files.listingGoneAfterOpen = c.trouble == T::GoneForWriter ? 1
                                       : c.trouble == T::GoneAtEnd   ? 2
                                                                     : 0;

        MainWindowTestAccess::FindBidAmounts(s.window);
        // A stopped search has the writer do nothing either.
        if (c.trouble == T::Stopped) MainWindowTestAccess::WriteResults(s.window, 2);

        const bool tooMany =
            c.trouble == T::NoListing || c.trouble == T::GoneForWriter || c.trouble == T::GoneAtEnd;
        const bool finished = c.reached == R::Finished;
        std::vector<std::string> statuses(kProgress, kProgress + static_cast<int>(c.reached));
        if (tooMany) statuses.push_back("Ready for another search");
        EXPECT_EQ(desktop.controls.statusHistory, statuses);
        EXPECT_EQ(desktop.read(kPage), c.page);
        EXPECT_EQ(desktop.read(kListing),
                  finished || tooMany ? std::nullopt : std::optional(c.listing));
        EXPECT_EQ(desktop.shell.opened, std::vector<std::string>(finished, pagePath));
        EXPECT_EQ(desktop.messages.messages, std::vector<std::string>(tooMany, kTooMany));
        EXPECT_EQ(desktop.controls.caption(Control::Command1),
                  finished && !tooMany ? "Begin New Search" : "Stop Search");
        EXPECT_EQ(s.window.StopFlag, tooMany || c.trouble == T::Stopped);
        for (Control control : kSearchControls)
            EXPECT_EQ(desktop.controls.enabled(control), tooMany);
    }
}

}  // namespace
}  // namespace vendra
