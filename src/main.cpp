#include <iostream>
#include <string>
#include <vector>

#include "Version.h"
#include "app/ConsoleProgram.h"
#include "app/DesktopProgram.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleSearch.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!vendra::WantsCommandLine(arguments)) return vendra::RunDesktop(argc, argv);

    const vendra::CommandLine line = vendra::ParseCommandLine(arguments);
    switch (line.action) {
        case vendra::CommandLine::Action::Search:
            return vendra::RunConsole(argc, argv, line.search);
        case vendra::CommandLine::Action::Watch:
            return vendra::RunWatch(argc, argv, line);
        case vendra::CommandLine::Action::History:
            return vendra::RunHistory(line);
        case vendra::CommandLine::Action::ShowHelp:
            std::cout << vendra::Usage(true);
            return 0;
        case vendra::CommandLine::Action::ShowVersion:
            std::cout << "vendra " << vendra::build::kVersionMajor << "."
                      << vendra::build::kVersionMinor << "." << vendra::build::kVersionRevision
                      << "\n";
            return 0;
        case vendra::CommandLine::Action::Refuse:
            std::cerr << "vendra: " << line.error << "\n" << vendra::Usage(false);
            return vendra::kExitBadOptions;
        case vendra::CommandLine::Action::OpenWindow:
            break;
    }
    return vendra::RunDesktop(argc, argv);
}
