#include "cli/CommandLine.h"

#include <optional>

#include "query/Categories.h"
#include "report/DataFile.h"
#include "text/NumberReading.h"
#include "text/OneLine.h"

namespace vendra {
namespace {

// Which searches take an option.
enum class Takes {
    Alone,    // --help, --version: no search
    Search,   // it is the search: one of them
    Keyword,  // an option of the keyword search
    Every,    // every search takes it
};

// What an option does with its value: nullopt when it takes it, else why not (one line).
using Apply = std::optional<std::string> (*)(SearchRequest&, const std::string& value);

// One option of the command line: its name, what its value stands for (empty: it takes none),
// which searches take it, its help text (lines joined by '\n') and what it does.
struct Option {
    std::string_view name;
    std::string_view value;
    Takes takes;
    std::string_view help;
    Apply apply;
};

std::optional<std::string> Taken() { return std::nullopt; }

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

// Every option, each written once: the parser and --help read this table.
constexpr Option kOptions[] = {
    {"--category", "N", Takes::Search, "every listing page of category number N",
     [](SearchRequest& r, const std::string& v) {
         r.kind = SearchKind::Category;
         r.category = v;
         return Taken();
     }},
    {"--featured", "", Takes::Search, "every page of the featured auctions",
     [](SearchRequest& r, const std::string&) {
         r.kind = SearchKind::Featured;
         return Taken();
     }},
    {"--keywords", "WORDS", Takes::Search,
     "listings whose titles (and, with --descriptions,\ndescriptions) hold the words",
     [](SearchRequest& r, const std::string& v) {
         r.kind = SearchKind::Keyword;
         r.words = v;
         return Taken();
     }},
    {"--mode", "all|any|exact", Takes::Keyword, "",
     [](SearchRequest& r, const std::string& v) -> std::optional<std::string> {
         const std::optional<int> mode = ModeIndex(v);
         if (!mode) return "--mode takes all, any or exact, not '" + v + "'";
         r.modeIndex = *mode;
         return Taken();
     }},
    {"--exclude", "WORDS", Takes::Keyword, "",
     [](SearchRequest& r, const std::string& v) {
         r.excluded = v;
         return Taken();
     }},
    {"--in", "CATEGORY-NAME", Takes::Keyword, "",
     [](SearchRequest& r, const std::string& v) -> std::optional<std::string> {
         const std::optional<int> index = CategoryIndex(v);
         if (!index) return "--in: no category is named '" + v + "'";
         r.categoryIndex = *index;
         return Taken();
     }},
    {"--price-from", "X", Takes::Keyword, "",
     [](SearchRequest& r, const std::string& v) {
         r.priceFrom = v;
         return Taken();
     }},
    {"--price-to", "Y", Takes::Keyword, "",
     [](SearchRequest& r, const std::string& v) {
         r.priceTo = v;
         return Taken();
     }},
    {"--descriptions", "", Takes::Keyword, "",
     [](SearchRequest& r, const std::string&) {
         r.descriptions = true;
         return Taken();
     }},
    {"--completed", "WORDS", Takes::Search, "completed auctions whose titles hold the words",
     [](SearchRequest& r, const std::string& v) {
         r.kind = SearchKind::Completed;
         r.words = v;
         return Taken();
     }},
    {"--min-bids", "N", Takes::Every,
     "keep the listings with at least N bids, a whole number\nfrom -32768 to 32767 (default 0)",
     [](SearchRequest& r, const std::string& v) -> std::optional<std::string> {
         if (!IsWholeBidCount(v))
             return "--min-bids takes a whole number from -32768 to 32767, not '" + v + "'";
         r.minimumBids = v;
         return Taken();
     }},
    {"--open", "", Takes::Every, "open the results page in the browser when it is written",
     [](SearchRequest& r, const std::string&) {
         r.open = true;
         return Taken();
     }},
    {"--data", "FILE", Takes::Every,
     "also write the listings of the results page to FILE, as\nCSV (FILE.csv) or JSON "
     "(FILE.json)",
     [](SearchRequest& r, const std::string& v) -> std::optional<std::string> {
         if (!DataFormatOf(v))
             return "--data takes a file name ending in .csv or .json, not '" + v + "'";
         r.dataFile = v;
         return Taken();
     }},
    {"--since", "FILE", Takes::Every,
     "mark the listings that an earlier run's data file FILE\nlacks as new, and say how many "
     "there are",
     [](SearchRequest& r, const std::string& v) {
         r.sinceFile = v;
         return Taken();
     }},
    {"--help", "", Takes::Alone, "print this text and exit", nullptr},
    {"--version", "", Takes::Alone, "print the version and exit", nullptr},
};

const Option* Find(std::string_view name) {
    for (const Option& option : kOptions)
        if (option.name == name) return &option;
    return nullptr;
}

// The error stays one line whatever the user typed into the value it quotes.
CommandLine Refuse(const std::string& error) {
    return {CommandLine::Action::Refuse, {}, OneLine(error)};
}

}  // namespace

bool WantsCommandLine(std::span<const std::string> arguments) {
    for (const std::string& argument : arguments)
        if (argument.starts_with("--")) return true;
    return false;
}

CommandLine ParseCommandLine(std::span<const std::string> arguments) {
    CommandLine line;
    std::string searchOption, keywordOption;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        // After "--" nothing is an option, and no search takes a word of its own.
        if (argument == "--") {
            if (i + 1 < arguments.size())
                return Refuse("unexpected argument '" + arguments[i + 1] + "'");
            break;
        }
        // --option=value is --option value.
        const std::size_t equals = argument.starts_with("--") ? argument.find('=') : argument.npos;
        const std::string name = argument.substr(0, equals);
        const Option* option = Find(name);
        if (!option) return Refuse("unknown option " + name);
        if (option->takes == Takes::Alone)
            return {
                name == "--help" ? CommandLine::Action::ShowHelp : CommandLine::Action::ShowVersion,
                {},
                {}};
        std::string value;
        if (option->value.empty()) {
            if (equals != argument.npos) return Refuse(name + " takes no value");
        } else if (equals != argument.npos) {
            value = argument.substr(equals + 1);
        } else {
            if (i + 1 >= arguments.size()) return Refuse(name + " needs a value");
            value = arguments[++i];
        }
        if (option->takes == Takes::Search) {
            if (!searchOption.empty())
                return Refuse(name + " and " + searchOption + " are two searches; give one");
            searchOption = name;
        }
        if (option->takes == Takes::Keyword) keywordOption = name;
        if (const auto refused = option->apply(line.search, value)) return Refuse(*refused);
    }
    if (searchOption.empty())
        return Refuse("no search given: use --category, --featured, --keywords or --completed");
    if (!keywordOption.empty() && line.search.kind != SearchKind::Keyword)
        return Refuse(keywordOption + " belongs to a --keywords search");
    line.action = CommandLine::Action::Search;
    return line;
}

namespace {

// An option as --help writes it: its name and what its value stands for.
std::string Synopsis(const Option& option) {
    return option.value.empty() ? std::string(option.name)
                                : std::string(option.name) + " " + std::string(option.value);
}

// The options of one kind, each with its help in a column of its own.
std::string HelpOf(Takes takes) {
    constexpr std::size_t kColumn = 22, kWidth = 78;
    const std::string indent(kColumn, ' ');
    std::string text;
    for (const Option& option : kOptions) {
        if (option.takes != takes) continue;
        std::string head = "  " + Synopsis(option);
        // The keyword search shows its own options with it.
        if (option.name == "--keywords") {
            for (const Option& own : kOptions) {
                if (own.takes != Takes::Keyword) continue;
                const std::string word = "[" + Synopsis(own) + "]";
                const std::size_t lineStart = head.rfind('\n') + 1;
                if (head.size() - lineStart + 1 + word.size() > kWidth)
                    head += "\n" + indent + word;
                else
                    head += " " + word;
            }
            head += "\n" + indent;
        } else if (head.size() < kColumn) {
            head += std::string(kColumn - head.size(), ' ');
        } else {
            head += "\n" + indent;
        }
        std::string help(option.help);
        for (std::size_t at = help.find('\n'); at != help.npos; at = help.find('\n', at + 1))
            help.insert(at + 1, indent);
        text += head + help + "\n";
    }
    return text;
}

}  // namespace

std::string Usage(bool withCategories) {
    std::string categories = "vendra --help lists the names CATEGORY-NAME stands for.";
    if (withCategories) {
        categories = "CATEGORY-NAME is one of:";
        for (const Category& category : Categories())
            categories += "\n    " + std::string(category.name);
    }
    std::string everySearch;
    for (const Option& option : kOptions)
        if (option.takes == Takes::Every) everySearch += " [" + Synopsis(option) + "]";
    return "Usage: vendra                       open the window\n"
           "       vendra SEARCH" +
           everySearch +
           "\n"
           "Searches the auction site, keeps the listings with at least N bids, writes the\n"
           "results page, most bids first, and prints its path.\n"
           "SEARCH is one of:\n" +
           HelpOf(Takes::Search) + "Every search takes:\n" + HelpOf(Takes::Every) +
           "Other options:\n" + HelpOf(Takes::Alone) +
           "Progress goes to standard error. Ctrl+C once ends the walk early and writes the\n"
           "results collected so far; twice stops the search.\n"
           "Exit status: 0 results page written, 1 search ended without one or data file\n"
           "not written, 2 bad options, 130 stopped.\n" +
           categories + "\n";
}

}  // namespace vendra
