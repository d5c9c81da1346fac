#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "Version.h"
#include "app/ConsoleProgram.h"
#include "app/DesktopProgram.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleSearch.h"
#include "text/OneLine.h"

namespace {

// What the command line printed on standard output, checked as GNU tools check it: a write that
// failed (a full disk, a pipe closed early) ends the program with status 1 and a message.
int Printed(int status) {
    errno = 0;
    std::cout.flush();
    if (std::cout) return status;
    std::cerr << "vendra: write error on standard output"
              << (errno != 0 ? std::string(": ") + std::strerror(errno) : "") << std::endl;
    return vendra::kExitNoResults;
}

int RunCommandLine(int argc, char** argv, const std::vector<std::string>& arguments) {
    // A pipe closed early is a failed write that is told and ends the run like any failure, not
    // a signal that kills the program in the middle of a search.
    std::signal(SIGPIPE, SIG_IGN);
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
            return Printed(0);
        case vendra::CommandLine::Action::ShowVersion:
            std::cout << "vendra " << vendra::build::kVersionMajor << "."
                      << vendra::build::kVersionMinor << "." << vendra::build::kVersionRevision
                      << "\n";
            return Printed(0);
        case vendra::CommandLine::Action::Refuse:
            std::cerr << "vendra: " << line.error << "\n" << vendra::Usage(false);
            return vendra::kExitBadOptions;
        case vendra::CommandLine::Action::OpenWindow:
            break;
    }
    return vendra::RunDesktop(argc, argv);
}

}  // namespace

int main(int argc, char** argv) {
    // Nothing thrown ends the program unexplained: it ends with a message and status 1.
    try {
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        if (!vendra::WantsCommandLine(arguments)) return vendra::RunDesktop(argc, argv);
        return RunCommandLine(argc, argv, arguments);
    } catch (const std::bad_alloc&) {
        std::cerr << "vendra: out of memory" << std::endl;
    } catch (const std::exception& error) {
        std::cerr << "vendra: " << vendra::OneLine(error.what()) << std::endl;
    } catch (...) {
        std::cerr << "vendra: ended by an unknown failure" << std::endl;
    }
    return vendra::kExitNoResults;
}
