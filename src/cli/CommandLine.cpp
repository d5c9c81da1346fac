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
    Verb,     // an option of the verbs on saved searches
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
    {"--retries", "N", Takes::Every,
     "ask a page that failed for a while (no answer, or 408, 429,\n500, 502, 503, 504) again up to "
     "N times, 0 to 10 (default 2)",
     [](SearchRequest& r, const std::string& v) -> std::optional<std::string> {
         const NumberReading retries = ReadNumber(v, NumberWidth::Int16, NumberSeparators{"", ""});
         if (!retries.ok() || retries.value < 0 || retries.value > 10)
             return "--retries takes a whole number from 0 to 10, not '" + v + "'";
         r.retries = static_cast<int>(retries.value);
         return Taken();
     }},
    {"--once", "", Takes::Verb,
     "watch: run each saved search once, then exit (without it,\nthe watch runs each when due "
     "until Ctrl+C or SIGTERM)",
     [](SearchRequest& r, const std::string&) {
         r.once = true;
         return Taken();
     }},
    {"--no-notify", "", Takes::Verb, "watch: no desktop notification of the new and heating up",
     [](SearchRequest& r, const std::string&) {
         r.notify = false;
         return Taken();
     }},
    {"--searches", "FILE", Takes::Verb,
     "the saved searches' file (default\n$XDG_CONFIG_HOME/vendra/searches.toml)",
     [](SearchRequest& r, const std::string& v) {
         r.searchesFile = v;
         return Taken();
     }},
    {"--history", "FILE", Takes::Verb,
     "the history of the runs (default\n$XDG_DATA_HOME/Vendra/history.sqlite3)",
     [](SearchRequest& r, const std::string& v) {
         r.historyFile = v;
         return Taken();
     }},
    {"--html", "FILE", Takes::Verb,
     "history: write the history page, each listing's bids over\nthe runs, to FILE (with "
     "--open, open it)",
     [](SearchRequest& r, const std::string& v) {
         r.htmlFile = v;
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
    return {CommandLine::Action::Refuse, {}, OneLine(error), {}};
}

CommandLine Alone(const std::string& name) {
    return {name == "--help" ? CommandLine::Action::ShowHelp : CommandLine::Action::ShowVersion,
            {},
            {},
            {}};
}

// The option at arguments[i] with its value (--option=value is --option value), i left at the
// last argument it took; or why it cannot be taken.
struct OptionAt {
    const Option* option = nullptr;
    std::string name, value, error;
};
OptionAt ReadOption(std::span<const std::string> arguments, std::size_t& i) {
    const std::string& argument = arguments[i];
    const std::size_t equals = argument.starts_with("--") ? argument.find('=') : argument.npos;
    OptionAt at{Find(argument.substr(0, equals)), argument.substr(0, equals), {}, {}};
    if (!at.option) {
        at.error = "unknown option " + at.name;
    } else if (at.option->value.empty()) {
        if (equals != argument.npos) at.error = at.name + " takes no value";
    } else if (equals != argument.npos) {
        at.value = argument.substr(equals + 1);
    } else if (i + 1 >= arguments.size()) {
        at.error = at.name + " needs a value";
    } else {
        at.value = arguments[++i];
    }
    return at;
}

// Whether a saved search takes the option as a key of its own.
bool Saved(const Option& option) {
    return option.takes == Takes::Search || option.takes == Takes::Keyword ||
           option.name == "--min-bids";
}

// vendra watch --once [NAME...] and vendra history NAME: the names, and the options each takes.
CommandLine ParseVerb(std::string_view verb, std::span<const std::string> arguments) {
    CommandLine line;
    const bool watch = verb == "watch";
    line.action = watch ? CommandLine::Action::Watch : CommandLine::Action::History;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (optionsEnded || !arguments[i].starts_with("--")) {
            line.names.push_back(arguments[i]);
            continue;
        }
        if (arguments[i] == "--") {
            optionsEnded = true;
            continue;
        }
        const OptionAt at = ReadOption(arguments, i);
        if (!at.error.empty()) return Refuse(at.error);
        if (at.option->takes == Takes::Alone) return Alone(at.name);
        const bool goes = watch ? at.option->takes == Takes::Verb && at.name != "--html"
                                : at.name == "--history" || at.name == "--data" ||
                                      at.name == "--html" || at.name == "--open" ||
                                      at.name == "--searches";
        if (!goes) return Refuse(at.name + " does not go with vendra " + std::string(verb));
        if (const auto refused = at.option->apply(line.search, at.value)) return Refuse(*refused);
    }
    if (!watch && line.names.size() != 1)
        return Refuse("vendra history takes the name of one saved search");
    if (!watch && line.search.open && line.search.htmlFile.empty())
        return Refuse("--open goes with --html: it opens the history page");
    return line;
}

// A refusal of the option table, said of the file's key: "--min-bids takes" becomes "min-bids
// takes".
std::string OfKey(std::string refused, std::string_view optionName) {
    if (refused.starts_with(optionName)) refused.erase(0, 2);
    return refused;
}

bool TypeFits(const Option& option, SavedSetting::Kind kind) {
    using Kind = SavedSetting::Kind;
    if (option.value.empty()) return kind == Kind::Boolean;
    // The options whose value is a number take a TOML number as well as its text.
    if (option.value == "N" || option.value == "X" || option.value == "Y")
        return kind == Kind::Text || kind == Kind::Integer || kind == Kind::Float;
    return kind == Kind::Text;
}

std::string TypeWanted(const Option& option) {
    if (option.value.empty()) return "true or false";
    if (option.value == "N" || option.value == "X" || option.value == "Y") return "a number";
    return "text in quotes";
}

std::string SavedKeys() {
    std::string keys;
    for (const Option& option : kOptions)
        if (Saved(option)) keys += (keys.empty() ? "" : ", ") + std::string(option.name.substr(2));
    return keys + ", every, notify";
}

}  // namespace

bool WantsCommandLine(std::span<const std::string> arguments) {
    if (!arguments.empty() && (arguments[0] == "watch" || arguments[0] == "history")) return true;
    for (const std::string& argument : arguments)
        if (argument.starts_with("--")) return true;
    return false;
}

CommandLine ParseCommandLine(std::span<const std::string> arguments) {
    if (!arguments.empty() && (arguments[0] == "watch" || arguments[0] == "history"))
        return ParseVerb(arguments[0], arguments.subspan(1));
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
        const OptionAt at = ReadOption(arguments, i);
        if (!at.error.empty()) return Refuse(at.error);
        const Option* option = at.option;
        const std::string& name = at.name;
        const std::string& value = at.value;
        if (option->takes == Takes::Alone) return Alone(name);
        if (option->takes == Takes::Verb)
            return Refuse(name + " belongs to vendra watch or vendra history");
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

std::vector<NamedSearch> SavedSearchRequests(const SearchesFile& file,
                                             std::vector<FileFault>& faults) {
    std::vector<NamedSearch> requests;
    for (const SavedSearch& saved : file.searches) {
        NamedSearch named{saved.name, {}, saved.everyMinutes, saved.notify};
        const SavedSetting* search = nullptr;
        const SavedSetting* keywordOnly = nullptr;
        for (const SavedSetting& setting : saved.settings) {
            const Option* option = Find("--" + setting.key);
            if (!option || !Saved(*option)) {
                faults.push_back({setting.place, "unknown key \"" + setting.key +
                                                     "\": a saved search takes " + SavedKeys()});
                continue;
            }
            if (!TypeFits(*option, setting.kind)) {
                faults.push_back({setting.place, setting.key + " takes " + TypeWanted(*option)});
                continue;
            }
            if (setting.value == "false" && option->value.empty()) continue;  // not given
            if (option->takes == Takes::Search) {
                if (search) {
                    faults.push_back({setting.place, setting.key + " and " + search->key +
                                                         " are two searches; give one"});
                    continue;
                }
                search = &setting;
            }
            if (option->takes == Takes::Keyword) keywordOnly = &setting;
            if (const auto refused = option->apply(named.search, setting.value))
                faults.push_back({setting.place, OfKey(*refused, option->name)});
        }
        if (!search)
            faults.push_back({saved.place, saved.name +
                                               " has no search: give category, featured = true, "
                                               "keywords or completed"});
        else if (keywordOnly && named.search.kind != SearchKind::Keyword)
            faults.push_back(
                {keywordOnly->place, keywordOnly->key + " belongs to a keywords search"});
        requests.push_back(std::move(named));
    }
    return requests;
}

namespace {

// An option as --help writes it: its name and what its value stands for.
// (Built piece by piece: GCC 12 at -O3 warns of literal-plus-string chains.)
std::string Synopsis(const Option& option) {
    std::string synopsis(option.name);
    if (!option.value.empty()) synopsis.append(" ").append(option.value);
    return synopsis;
}

// The options of one kind, each with its help in a column of its own.
std::string HelpOf(Takes takes) {
    constexpr std::size_t kColumn = 22, kWidth = 78;
    const std::string indent(kColumn, ' ');
    std::string text;
    for (const Option& option : kOptions) {
        if (option.takes != takes) continue;
        std::string head("  ");
        head.append(Synopsis(option));
        // The keyword search shows its own options with it.
        if (option.name == "--keywords") {
            for (const Option& own : kOptions) {
                if (own.takes != Takes::Keyword) continue;
                std::string word("[");
                word.append(Synopsis(own)).append("]");
                const std::size_t lineStart = head.rfind('\n') + 1;
                if (head.size() - lineStart + 1 + word.size() > kWidth)
                    head.append("\n").append(indent);
                else
                    head.append(" ");
                head.append(word);
            }
            head.append("\n").append(indent);
        } else if (head.size() < kColumn) {
            head += std::string(kColumn - head.size(), ' ');
        } else {
            head.append("\n").append(indent);
        }
        std::string help(option.help);
        for (std::size_t at = help.find('\n'); at != help.npos; at = help.find('\n', at + 1))
            help.insert(at + 1, indent);
        text.append(head).append(help).append("\n");
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
    std::string usage =
        "Usage: vendra                       open the window\n"
        "       vendra SEARCH";
    for (const Option& option : kOptions)
        if (option.takes == Takes::Every) usage.append(" [").append(Synopsis(option)).append("]");
    usage.append(
        "\n"
        "       vendra watch [--once] [NAME...] [--searches FILE] [--history FILE]\n"
        "       vendra history NAME [--data FILE] [--html FILE [--open]] [--history FILE]\n"
        "Searches the auction site, keeps the listings with at least N bids, writes the\n"
        "results page, most bids first, and prints its path.\n"
        "SEARCH is one of:\n");
    usage.append(HelpOf(Takes::Search)).append("Every search takes:\n");
    usage.append(HelpOf(Takes::Every));
    usage.append(
        "Saved searches: each table of the searches file is one, named by its key; its\n"
        "keys are the search's options without the dashes, and every = \"30m\", \"2h\", "
        "\"1d\".\n"
        "  watch --once [NAME...]\n"
        "                      runs the saved searches named (all when none is) once\n"
        "                      each, each in its own folder, prints for each\n"
        "                      NAME: M listings, N new, H heating up, RESULTS-PAGE\n"
        "                      and records the run in the history\n"
        "  watch [NAME...]     runs each when it is due, again and again, until Ctrl+C\n"
        "                      or SIGTERM, with a desktop notification of the news\n"
        "  history NAME        tells each listing NAME has kept: new, heating up,\n"
        "                      steady or gone since its last run; with --data FILE\n"
        "                      writes them to FILE, with --html FILE draws them\n");
    usage.append(HelpOf(Takes::Verb)).append("Other options:\n").append(HelpOf(Takes::Alone));
    usage.append(
        "Progress goes to standard error. Ctrl+C once ends the walk early and writes the\n"
        "results collected so far; twice stops the search.\n"
        "Exit status: 0 results page written, 1 search ended without one or data file\n"
        "or history not written, 2 bad options or searches file, 130 stopped.\n");
    return usage.append(categories).append("\n");
}

}  // namespace vendra
