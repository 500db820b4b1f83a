#include "program_arguments.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <memory>

#include "ansi_text.h"
#include "cli_options.h"

namespace korv::cli {

// The runtime's own argv takes best-fit look-alikes for characters the ANSI
// code page lacks, which could name another file; the wide command line is
// split instead and converted without them.
std::vector<std::string> ProgramArguments(int /*argc*/, char** /*argv*/) {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> wide(
        CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    if (wide == nullptr) {
        throw UsageError{"cannot read the command line"};
    }
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) {
        std::string arg;
        if (!win32::ToAnsi(wide.get()[i], arg)) {
            throw UsageError{"argument " + std::to_string(i) +
                             " holds a character that code page " + std::to_string(GetACP()) +
                             " cannot hold"};
        }
        args.push_back(std::move(arg));
    }
    return args;
}

}  // namespace korv::cli
