#include "cli_options.h"

#include <algorithm>

#include "file_ops.h"
#include "filename_list.h"

namespace korv::cli {

const char* const kUsage =
    "Usage: korv-cli [OPTIONS] [FILE...]\n"
    "Replaces a text in many plain-text files at once.\n"
    "\n"
    "  -f, --find TEXT           find text\n"
    "  -r, --replace TEXT        replacement text (may be empty)\n"
    "      --find-file PATH      find text = the exact bytes of PATH\n"
    "      --replace-file PATH   replacement text = the exact bytes of PATH\n"
    "  -l, --list PATH           append the entries of a filename list; may repeat;\n"
    "                            FILE arguments are appended after\n"
    "  -c, --case-sensitive      match letter case exactly\n"
    "  -b, --backup              back up changed files as FILE.bak\n"
    "  -d, --dynamic-variables   expand $fullfilename, $filedir, $fileext, $filename\n"
    "                            and $file for each file\n"
    "  -y, --yes                 answer the confirmation with Yes\n"
    "      --log PATH            activity log (default: korv.log beside the program)\n"
    "  -h, --help                show this help\n"
    "      --version             show the version\n"
    "\n"
    "Line breaks in the two texts are taken as CR LF. Exit status: 0 every file\n"
    "processed, 1 some file failed, 2 bad usage or texts refused, 3 not confirmed.\n";

std::string NormalizeLineBreaks(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            result += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (text[i] == '\n') {
            result += "\r\n";
        } else {
            result += text[i];
        }
    }
    return result;
}

namespace {

// Short switches may be joined: "-cby" is "-c -b -y".
std::vector<std::string> SplitJoinedSwitches(const std::vector<std::string>& args) {
    static const std::vector<std::string> kTakesValue = {
        "-f", "--find", "-r",   "--replace", "--find-file", "--replace-file",
        "-l", "--list", "--log"};
    std::vector<std::string> split;
    bool only_operands = false;
    for (const std::string& arg : args) {
        // The value of an option stays as it is ("-f -cb" finds "-cb").
        const bool is_value = !split.empty() && std::find(kTakesValue.begin(), kTakesValue.end(),
                                                          split.back()) != kTakesValue.end();
        only_operands = only_operands || (arg == "--" && !is_value);
        if (!only_operands && !is_value && arg.size() > 2 && arg[0] == '-' && arg[1] != '-' &&
            arg.find_first_not_of("cbdyh", 1) == std::string::npos) {
            for (std::size_t k = 1; k < arg.size(); ++k) {
                split.push_back(std::string{'-', arg[k]});
            }
        } else {
            split.push_back(arg);
        }
    }
    return split;
}

}  // namespace

CliOptions ParseArguments(const std::vector<std::string>& given) {
    const std::vector<std::string> args = SplitJoinedSwitches(given);
    CliOptions options;
    std::vector<std::string> listed;
    std::vector<std::string> operands;
    bool only_operands = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (only_operands || arg.empty() || arg[0] != '-' || arg == "-") {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            only_operands = true;
            continue;
        }
        // "--name=value" gives its value inline.
        std::string name = arg;
        std::optional<std::string> inline_value;
        if (arg.rfind("--", 0) == 0) {
            std::size_t eq = arg.find('=');
            if (eq != std::string::npos) {
                name = arg.substr(0, eq);
                inline_value = arg.substr(eq + 1);
            }
        }
        auto value = [&]() -> std::string {
            if (inline_value) {
                return *inline_value;
            }
            if (i + 1 >= args.size()) {
                throw UsageError{"option " + name + " needs a value"};
            }
            return args[++i];
        };
        auto flag = [&](bool& target) {
            if (inline_value) {
                throw UsageError{"option " + name + " takes no value"};
            }
            target = true;
        };

        if (name == "-f" || name == "--find") {
            options.find = NormalizeLineBreaks(value());
        } else if (name == "-r" || name == "--replace") {
            options.replacement = NormalizeLineBreaks(value());
        } else if (name == "--find-file") {
            options.find = NormalizeLineBreaks(ReadWholeFile(value()));
        } else if (name == "--replace-file") {
            options.replacement = NormalizeLineBreaks(ReadWholeFile(value()));
        } else if (name == "-l" || name == "--list") {
            for (std::string& entry : LoadFilenameList(value())) {
                listed.push_back(std::move(entry));
            }
        } else if (name == "-c" || name == "--case-sensitive") {
            flag(options.case_sensitive);
        } else if (name == "-b" || name == "--backup") {
            flag(options.backup);
        } else if (name == "-d" || name == "--dynamic-variables") {
            flag(options.dynamic_variables);
        } else if (name == "-y" || name == "--yes") {
            flag(options.yes);
        } else if (name == "--log") {
            options.log_path = value();
        } else if (name == "-h" || name == "--help") {
            flag(options.help);
        } else if (name == "--version") {
            flag(options.version);
        } else {
            throw UsageError{"unknown option " + name};
        }
    }
    options.files = std::move(listed);
    options.files.insert(options.files.end(), operands.begin(), operands.end());
    return options;
}

}  // namespace korv::cli
