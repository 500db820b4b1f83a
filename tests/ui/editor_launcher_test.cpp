// The plain-text editor: which program the desktop's lists name, how its
// command line is built, and that the path reaches it as one argument.

#include <sys/stat.h>
#include <QtTest>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "desktop_entry.h"
#include "detached_process.h"
#include "editor_launcher.h"
#include "temp_dir.h"

using korv::platform::DesktopFileValue;
using korv::platform::ExecCommandFor;
using korv::platform::FileAddress;
using korv::platform::TextEditorCommand;
using korv::test::ReadFile;
using korv::test::TempDir;
using korv::test::WriteFile;

using Argv = std::vector<std::string>;
Q_DECLARE_METATYPE(Argv)
Q_DECLARE_METATYPE(std::optional<Argv>)

namespace {

// Points the XDG variables at a desktop of our own while it lives.
class FakeDesktop {
public:
    FakeDesktop() {
        Set("XDG_CONFIG_HOME", dir.File("config"));
        Set("XDG_CONFIG_DIRS", dir.File("etc"));
        Set("XDG_DATA_HOME", dir.File("data"));
        Set("XDG_DATA_DIRS", dir.File("share"));
        Set("XDG_CURRENT_DESKTOP", "Test");
        for (const char* sub :
             {"config", "etc", "data", "data/applications", "share", "share/applications"}) {
            mkdir(dir.File(sub).c_str(), 0755);
        }
    }
    ~FakeDesktop() {
        for (auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    // An executable script that records its arguments, one per line.
    std::string Script(const std::string& name) {
        const std::string out = dir.File(name + ".out");
        const std::string path =
            dir.Write(name, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + out + ".part'\nmv '" + out +
                                ".part' '" + out + "'\n");
        chmod(path.c_str(), 0755);
        return path;
    }
    void Entry(const std::string& id, const std::string& body) {
        WriteFile(dir.File("data/applications/" + id),
                  "[Desktop Entry]\nType=Application\n" + body);
    }

    TempDir dir;

private:
    void Set(const std::string& name, const std::string& value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        setenv(name.c_str(), value.c_str(), 1);
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace

class EditorLauncherTest : public QObject {
    Q_OBJECT

private slots:
    void ExecLinesBecomeArguments_data();
    void ExecLinesBecomeArguments();
    void DesktopFileValuesAreFoundByGroupAndKey();
    void FileAddressesEncodeEveryOtherByte();
    void TheUsersDefaultEditorComesFirst();
    void TerminalEditorsAndMissingProgramsAreSkipped();
    void WithoutAnyEntryTheGenericOpenerIsUsed();
    void ThePathReachesTheEditorAsOneArgument();
    void MissingProgramsAreNotStarted();
};

void EditorLauncherTest::ExecLinesBecomeArguments_data() {
    QTest::addColumn<QString>("exec");
    QTest::addColumn<std::optional<Argv>>("argv");
    const std::string path = "/tmp/a b\xe9.txt";
    QTest::newRow("file code") << "kate -b %f" << std::optional<Argv>(Argv{"kate", "-b", path});
    QTest::newRow("file list code") << "gedit %F" << std::optional<Argv>(Argv{"gedit", path});
    QTest::newRow("address code") << "mousepad %U"
                                  << std::optional<Argv>(
                                         Argv{"mousepad", "file:///tmp/a%20b%E9.txt"});
    QTest::newRow("no code") << "leafpad" << std::optional<Argv>(Argv{"leafpad", path});
    QTest::newRow("quoted program")
        << "\"/opt/my editor/bin/ed\" --new %f"
        << std::optional<Argv>(Argv{"/opt/my editor/bin/ed", "--new", path});
    QTest::newRow("escapes in quotes")
        << "ed \"a \\\"b\\\" \\\\c\" %f" << std::optional<Argv>(Argv{"ed", "a \"b\" \\c", path});
    QTest::newRow("dropped codes") << "ed %i %c %k %f" << std::optional<Argv>(Argv{"ed", path});
    QTest::newRow("percent") << "ed 100%% %f" << std::optional<Argv>(Argv{"ed", "100%", path});
    QTest::newRow("embedded code")
        << "ed --file=%f" << std::optional<Argv>(Argv{"ed", "--file=" + path});
    QTest::newRow("general escape") << "ed\\s-x %f" << std::optional<Argv>(Argv{"ed", "-x", path});
    QTest::newRow("open quote") << "ed \"unclosed %f" << std::optional<Argv>();
    QTest::newRow("empty") << "" << std::optional<Argv>();
}

void EditorLauncherTest::ExecLinesBecomeArguments() {
    QFETCH(QString, exec);
    QFETCH(std::optional<Argv>, argv);
    const auto got = ExecCommandFor(exec.toStdString(), "/tmp/a b\xe9.txt");
    QCOMPARE(got.has_value(), argv.has_value());
    if (argv) {
        QCOMPARE(*got, *argv);
    }
}

void EditorLauncherTest::DesktopFileValuesAreFoundByGroupAndKey() {
    const std::string text =
        "# comment\n[Other]\nExec=wrong\n[Desktop Entry]\nName[de]=Bearbeiter\n"
        "Name = Editor \r\nExec=ed %f\nExec=second\n";
    QCOMPARE(DesktopFileValue(text, "Desktop Entry", "Name"), std::optional<std::string>("Editor"));
    QCOMPARE(DesktopFileValue(text, "Desktop Entry", "Exec"), std::optional<std::string>("ed %f"));
    QCOMPARE(DesktopFileValue(text, "Other", "Exec"), std::optional<std::string>("wrong"));
    QCOMPARE(DesktopFileValue(text, "Desktop Entry", "Icon"), std::optional<std::string>());
    QCOMPARE(DesktopFileValue(text, "Missing", "Exec"), std::optional<std::string>());
    QCOMPARE(korv::platform::SplitDesktopList(" a.desktop;;b.desktop; "),
             (std::vector<std::string>{"a.desktop", "b.desktop"}));
}

void EditorLauncherTest::FileAddressesEncodeEveryOtherByte() {
    QCOMPARE(FileAddress("/a-b_c.d~/e f#%\xff"), std::string("file:///a-b_c.d~/e%20f%23%25%FF"));
}

void EditorLauncherTest::TheUsersDefaultEditorComesFirst() {
    FakeDesktop desktop;
    const std::string mine = desktop.Script("mine");
    const std::string system = desktop.Script("system");
    desktop.Entry("mine.desktop", "Exec=" + mine + " --line %f\n");
    desktop.Entry("system.desktop", "Exec=" + system + " %U\n");
    WriteFile(desktop.dir.File("etc/mimeapps.list"),
              "[Default Applications]\ntext/plain=system.desktop\n");
    WriteFile(desktop.dir.File("config/mimeapps.list"),
              "[Default Applications]\ntext/html=system.desktop\ntext/plain=mine.desktop;\n");
    QCOMPARE(TextEditorCommand("/x/a.txt"), (Argv{mine, "--line", "/x/a.txt"}));
    // A desktop's own list comes before the general one of its folder.
    WriteFile(desktop.dir.File("config/test-mimeapps.list"),
              "[Default Applications]\ntext/plain=system.desktop\n");
    QCOMPARE(TextEditorCommand("/x/a.txt"), (Argv{system, "file:///x/a.txt"}));
}

void EditorLauncherTest::TerminalEditorsAndMissingProgramsAreSkipped() {
    FakeDesktop desktop;
    const std::string gui = desktop.Script("gui");
    desktop.Entry("vim.desktop", "Exec=" + desktop.Script("vim") + " %F\nTerminal=true\n");
    desktop.Entry("gone.desktop", "Exec=" + desktop.dir.File("no-such-program") + " %f\n");
    desktop.Entry("gui.desktop", "Exec=" + gui + " %f\n");
    WriteFile(desktop.dir.File("config/mimeapps.list"),
              "[Default Applications]\ntext/plain=vim.desktop;gone.desktop;missing.desktop\n");
    WriteFile(desktop.dir.File("share/applications/mimeinfo.cache"),
              "[MIME Cache]\ntext/plain=gui.desktop;\n");
    QCOMPARE(TextEditorCommand("/x/a.txt"), (Argv{gui, "/x/a.txt"}));
}

void EditorLauncherTest::WithoutAnyEntryTheGenericOpenerIsUsed() {
    FakeDesktop desktop;
    QCOMPARE(TextEditorCommand("/x/a b.txt"), (Argv{"xdg-open", "/x/a b.txt"}));
}

void EditorLauncherTest::ThePathReachesTheEditorAsOneArgument() {
    FakeDesktop desktop;
    const std::string editor = desktop.Script("editor");
    desktop.Entry("editor.desktop", "Exec=" + editor + " %f\n");
    WriteFile(desktop.dir.File("config/mimeapps.list"),
              "[Default Applications]\ntext/plain=editor.desktop\n");
    const std::string path = desktop.dir.File("my files; $HOME `x` \xe9.txt");
    korv::platform::SystemEditorLauncher launcher;
    launcher.OpenInEditor(path);
    const std::string out = desktop.dir.File("editor.out");
    QTRY_VERIFY(korv::test::FileExists(out));
    QCOMPARE(ReadFile(out), path + "\n");
}

void EditorLauncherTest::MissingProgramsAreNotStarted() {
    QVERIFY(!korv::platform::StartDetached({"korv-no-such-program-anywhere", "x"}));
    QVERIFY(!korv::platform::StartDetached({}));
    QVERIFY(korv::platform::FindProgram("sh").find("/sh") != std::string::npos);
    QVERIFY(korv::platform::FindProgram("").empty());
}

QTEST_MAIN(EditorLauncherTest)
#include "editor_launcher_test.moc"
