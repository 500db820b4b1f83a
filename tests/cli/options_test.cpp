// Every option of korv-cli is named in --help and in the manual page.

#include <string>
#include <vector>

#include "cli_fixture.h"

namespace {

using korv::test::CliTest;
using korv::test::CommandResult;
using korv::test::Contains;

const std::vector<std::string> kOptions{"-f, --find",      "-r, --replace",
                                        "--find-file",     "--replace-file",
                                        "-l, --list",      "-0, --null",
                                        "-R, --recursive", "--hidden",
                                        "--include",       "--exclude",
                                        "--line-breaks",   "-c, --case-sensitive",
                                        "-b, --backup",    "-d, --dynamic-variables",
                                        "-n, --dry-run",   "--diff",
                                        "-y, --yes",       "--log",
                                        "--no-progress",   "-h, --help",
                                        "--version"};

// The manual page's text with roff's escaped hyphens as plain ones.
std::string ManualPage() {
    std::string page = korv::test::ReadFile(KORV_MANUAL_PATH);
    for (std::size_t at = page.find("\\-"); at != std::string::npos; at = page.find("\\-", at)) {
        page.erase(at, 1);
    }
    return page;
}

TEST_F(CliTest, HelpAndTheManualPageNameEveryOptionAndTheLineBreaks) {
    const CommandResult help = Cli({"--help"});
    ASSERT_EQ(help.status, 0);
    const std::string manual = ManualPage();
    for (const std::string& option : kOptions) {
        EXPECT_TRUE(Contains(help.out, option)) << option;
        // The manual page sets each long option on its own.
        const std::string long_name = option.substr(option.find("--"));
        EXPECT_TRUE(Contains(manual, long_name)) << long_name;
    }
    for (const char* text : {"default keep on Linux, crlf on Windows", "UTF-16"}) {
        EXPECT_TRUE(Contains(help.out, text)) << text;
    }
    for (const char* text :
         {"CR LF line breaks", "the default on Windows", "the default on Linux", "UTF-16"}) {
        EXPECT_TRUE(Contains(manual, text)) << text;
    }
}

}  // namespace
