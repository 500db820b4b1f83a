#include "cli_options.h"

#include <algorithm>

#include "file_ops.h"

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
    "                            FILE arguments are appended after; PATH - reads\n"
    "                            the list from standard input (needs --yes)\n"
    "  -0, --null                the lists hold paths each ended by a NUL byte\n"
    "                            (find -print0, git ls-files -z)\n"
    "  -R, --recursive           walk each FILE that is a folder, in name order,\n"
    "                            skipping binary files, links to folders and\n"
    "                            hidden folders\n"
    "      --hidden              also enter hidden folders (.git and the like)\n"
    "      --include GLOB        in a walk, take only files whose name matches;\n"
    "                            may repeat\n"
    "      --exclude GLOB        in a walk, leave out files and folders whose name\n"
    "                            matches; may repeat\n"
    "      --line-breaks WAY     how a changed file is written: keep (only the\n"
    "                            occurrences change) or crlf (every line ends in\n"
    "                            CR LF); default keep on Linux, crlf on Windows\n"
    "  -c, --case-sensitive      match letter case exactly\n"
    "  -b, --backup              back up changed files as FILE.bak\n"
    "  -d, --dynamic-variables   expand $fullfilename, $filedir, $fileext, $filename\n"
    "                            and $file for each file\n"
    "  -n, --dry-run             write nothing; print PATH: N occurrences for each\n"
    "                            file that would change\n"
    "      --diff                write nothing; print a unified diff of each file\n"
    "                            that would change (patch -p0 applies it, but not\n"
    "                            to a UTF-16 file, whose change shows as UTF-8)\n"
    "  -y, --yes                 answer the confirmation with Yes\n"
    "      --log PATH            activity log (default: korv.log beside the program,\n"
    "                            or in the user's state folder when installed)\n"
    "      --undo                put back every file the last run changed (korv-cli's\n"
    "                            or the window program's) that is still as the run\n"
    "                            left it; with --dry-run, list them\n"
    "      --no-undo             keep no undo journal: the run cannot be undone,\n"
    "                            nor the one before it any more;\n"
    "                            spares the disk the old versions of the files it\n"
    "                            changes, which the journal holds until the next run\n"
    "      --undo-folder DIR     the undo journal's folder (default: undo beside the\n"
    "                            program, or in the user's state folder when\n"
    "                            installed)\n"
    "      --no-progress         no progress line on the terminal\n"
    "      --no-sync             do not wait for each changed file to reach the\n"
    "                            disk: faster, but a power cut during or just\n"
    "                            after the run may leave files empty or zeroed;\n"
    "                            for trees you can make again\n"
    "  -h, --help                show this help\n"
    "      --version             show the version\n"
    "\n"
    "With --line-breaks keep a changed file differs from its old bytes only where\n"
    "the find text stood; with crlf every line of it ends in CR LF, whatever\n"
    "breaks it had. --diff shows either before anything is written. A line break\n"
    "in the find text matches any line break of a file (CR LF, CR or LF); one in\n"
    "the replacement is written as the file's own. UTF-16 files (with a\n"
    "byte-order mark) are searched and written as UTF-16.\n"
    "Exit status: 0 every file processed (or put back), 1 some file failed (or was\n"
    "left), 2 bad usage, texts refused or no undo journal, 3 not confirmed.\n";

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
        "-f", "--find", "-r",    "--replace", "--find-file", "--replace-file",
        "-l", "--list", "--log", "--include", "--exclude"};
    std::vector<std::string> split;
    bool only_operands = false;
    for (const std::string& arg : args) {
        // The value of an option stays as it is ("-f -cb" finds "-cb").
        const bool is_value = !split.empty() && std::find(kTakesValue.begin(), kTakesValue.end(),
                                                          split.back()) != kTakesValue.end();
        only_operands = only_operands || (arg == "--" && !is_value);
        if (!only_operands && !is_value && arg.size() > 2 && arg[0] == '-' && arg[1] != '-' &&
            arg.find_first_not_of("cbdyhnR0", 1) == std::string::npos) {
            for (std::size_t k = 1; k < arg.size(); ++k) {
                split.push_back(std::string{'-', arg[k]});
            }
        } else {
            split.push_back(arg);
        }
    }
    return split;
}

// Options that mean nothing, or cannot work, without others.
void CheckCombination(const CliOptions& options) {
    const auto from_input = std::count(options.lists.begin(), options.lists.end(), "-");
    if (from_input > 1) {
        throw UsageError{"--list - may be given once"};
    }
    if (from_input == 1 && !options.yes) {
        throw UsageError{
            "--list - takes standard input for the list, so the confirmation cannot be asked "
            "there: add --yes"};
    }
    if (options.null_separated && options.lists.empty()) {
        throw UsageError{"--null needs --list"};
    }
    if (!options.recursive &&
        (options.hidden || !options.includes.empty() || !options.excludes.empty())) {
        throw UsageError{"--hidden, --include and --exclude need --recursive"};
    }
    if (options.undo && (options.find || options.replacement || !options.lists.empty() ||
                         !options.operands.empty() || options.diff)) {
        throw UsageError{"--undo takes no texts, files, lists or --diff"};
    }
}

}  // namespace

CliOptions ParseArguments(const std::vector<std::string>& given) {
    const std::vector<std::string> args = SplitJoinedSwitches(given);
    CliOptions options;
    bool only_operands = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (only_operands || arg.empty() || arg[0] != '-' || arg == "-") {
            options.operands.push_back(arg);
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
            options.lists.push_back(value());
        } else if (name == "-0" || name == "--null") {
            flag(options.null_separated);
        } else if (name == "-R" || name == "--recursive") {
            flag(options.recursive);
        } else if (name == "--hidden") {
            flag(options.hidden);
        } else if (name == "--include") {
            options.includes.push_back(value());
        } else if (name == "--exclude") {
            options.excludes.push_back(value());
        } else if (name == "-n" || name == "--dry-run") {
            flag(options.dry_run);
        } else if (name == "--diff") {
            flag(options.diff);
        } else if (name == "--no-progress") {
            flag(options.no_progress);
        } else if (name == "--no-sync") {
            flag(options.no_sync);
        } else if (name == "--line-breaks") {
            const std::string way = value();
            const std::optional<LineBreaks> breaks = ParseLineBreaks(way);
            if (!breaks) {
                throw UsageError{"--line-breaks takes keep or crlf, not " + way};
            }
            options.line_breaks = *breaks;
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
        } else if (name == "--undo") {
            flag(options.undo);
        } else if (name == "--no-undo") {
            flag(options.no_undo);
        } else if (name == "--undo-folder") {
            options.undo_folder = value();
        } else if (name == "-h" || name == "--help") {
            flag(options.help);
        } else if (name == "--version") {
            flag(options.version);
        } else {
            throw UsageError{"unknown option " + name};
        }
    }
    CheckCombination(options);
    return options;
}

}  // namespace korv::cli
