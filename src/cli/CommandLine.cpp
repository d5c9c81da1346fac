#include "cli/CommandLine.h"

#include <optional>

#include "query/Categories.h"
#include "report/DataFile.h"
#include "text/NumberReading.h"

namespace vendra {
namespace {

constexpr std::string_view kSearchOptions[] = {"--category", "--featured", "--keywords",
                                               "--completed"};
constexpr std::string_view kKeywordOptions[] = {"--mode",       "--exclude",  "--in",
                                                "--price-from", "--price-to", "--descriptions"};

bool IsOneOf(std::string_view option, std::span<const std::string_view> options) {
    for (std::string_view known : options)
        if (option == known) return true;
    return false;
}

std::optional<int> ModeIndex(std::string_view mode) {
    if (mode == "all") return 0;
    if (mode == "any") return 1;
    if (mode == "exact") return 2;
    return std::nullopt;
}

// A whole number that a bid count can hold: digits with an optional sign and blanks around them,
// read by the window's own number reading without separators, so that what passes here is read
// there as the same number and nothing else passes.
bool IsWholeBidCount(std::string_view text) {
    return ReadNumber(text, NumberWidth::Int16, NumberSeparators{"", ""}).ok();
}

// The error stays one line whatever the user typed into the value it quotes.
CommandLine Refuse(std::string error) {
    for (char& c : error)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return {CommandLine::Action::Refuse, {}, std::move(error)};
}

}  // namespace

bool WantsCommandLine(std::span<const std::string> arguments) {
    for (const std::string& argument : arguments)
        if (argument.starts_with("--")) return true;
    return false;
}

CommandLine ParseCommandLine(std::span<const std::string> arguments) {
    CommandLine line;
    SearchRequest& search = line.search;
    std::string searchOption, keywordOption;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help") return {CommandLine::Action::ShowHelp, {}, {}};
        if (option == "--version") return {CommandLine::Action::ShowVersion, {}, {}};
        const bool takesValue =
            option != "--featured" && option != "--descriptions" && option != "--open";
        const bool known = IsOneOf(option, kSearchOptions) || IsOneOf(option, kKeywordOptions) ||
                           option == "--min-bids" || option == "--open" || option == "--data" ||
                           option == "--since";
        if (!known) return Refuse("unknown option " + option);
        std::string value;
        if (takesValue) {
            if (i + 1 >= arguments.size()) return Refuse(option + " needs a value");
            value = arguments[++i];
        }
        if (IsOneOf(option, kSearchOptions)) {
            if (!searchOption.empty())
                return Refuse(option + " and " + searchOption + " are two searches; give one");
            searchOption = option;
        }
        if (IsOneOf(option, kKeywordOptions)) keywordOption = option;

        if (option == "--category") {
            search.kind = SearchKind::Category;
            search.category = value;
        } else if (option == "--featured") {
            search.kind = SearchKind::Featured;
        } else if (option == "--keywords") {
            search.kind = SearchKind::Keyword;
            search.words = value;
        } else if (option == "--completed") {
            search.kind = SearchKind::Completed;
            search.words = value;
        } else if (option == "--mode") {
            const std::optional<int> mode = ModeIndex(value);
            if (!mode) return Refuse("--mode takes all, any or exact, not '" + value + "'");
            search.modeIndex = *mode;
        } else if (option == "--exclude") {
            search.excluded = value;
        } else if (option == "--in") {
            const std::optional<int> index = CategoryIndex(value);
            if (!index) return Refuse("--in: no category is named '" + value + "'");
            search.categoryIndex = *index;
        } else if (option == "--price-from") {
            search.priceFrom = value;
        } else if (option == "--price-to") {
            search.priceTo = value;
        } else if (option == "--descriptions") {
            search.descriptions = true;
        } else if (option == "--min-bids") {
            if (!IsWholeBidCount(value))
                return Refuse("--min-bids takes a whole number from -32768 to 32767, not '" +
                              value + "'");
            search.minimumBids = value;
        } else if (option == "--open") {
            search.open = true;
        } else if (option == "--data") {
            if (!DataFormatOf(value))
                return Refuse("--data takes a file name ending in .csv or .json, not '" + value +
                              "'");
            search.dataFile = value;
        } else if (option == "--since") {
            search.sinceFile = value;
        }
    }
    if (searchOption.empty())
        return Refuse("no search given: use --category, --featured, --keywords or --completed");
    if (!keywordOption.empty() && search.kind != SearchKind::Keyword)
        return Refuse(keywordOption + " belongs to a --keywords search");
    line.action = CommandLine::Action::Search;
    return line;
}

std::string Usage(bool withCategories) {
    std::string categories = "vendra --help lists the names CATEGORY-NAME stands for.";
    if (withCategories) {
        categories = "CATEGORY-NAME is one of:";
        for (const Category& category : Categories())
            categories += "\n    " + std::string(category.name);
    }
    return "Usage: vendra                       open the window\n"
           "       vendra SEARCH [--min-bids N] [--open] [--data FILE] [--since FILE]\n"
           "Searches the auction site, keeps the listings with at least N bids, writes the\n"
           "results page, most bids first, and prints its path.\n"
           "SEARCH is one of:\n"
           "  --category N        every listing page of category number N\n"
           "  --featured          every page of the featured auctions\n"
           "  --keywords WORDS [--mode all|any|exact] [--exclude WORDS]\n"
           "                      [--in CATEGORY-NAME] [--price-from X] [--price-to Y]\n"
           "                      [--descriptions]\n"
           "                      listings whose titles (and, with --descriptions,\n"
           "                      descriptions) hold the words\n"
           "  --completed WORDS   completed auctions whose titles hold the words\n"
           "Every search takes:\n"
           "  --min-bids N        keep the listings with at least N bids, a whole number\n"
           "                      from -32768 to 32767 (default 0)\n"
           "  --open              open the results page in the browser when it is written\n"
           "  --data FILE         also write the listings of the results page to FILE, as\n"
           "                      CSV (FILE.csv) or JSON (FILE.json)\n"
           "  --since FILE        mark the listings that an earlier run's data file FILE\n"
           "                      lacks as new, and say how many there are\n"
           "Other options:\n"
           "  --help              print this text and exit\n"
           "  --version           print the version and exit\n"
           "Progress goes to standard error. Ctrl+C once ends the walk early and writes the\n"
           "results collected so far; twice stops the search.\n"
           "Exit status: 0 results page written, 1 search ended without one or data file\n"
           "not written, 2 bad options, 130 stopped.\n" +
           categories + "\n";
}

}  // namespace vendra
