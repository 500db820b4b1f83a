#include <sys/stat.h>
#include <unistd.h>

#include <QtTest>
#include <string>

#include "child_process.h"
#include "ini_file.h"
#include "temp_dir.h"

using korv::platform::EIniFileException;
using korv::platform::IniFile;
using korv::test::FileExists;
using korv::test::ReadFile;
using korv::test::TempDir;

Q_DECLARE_METATYPE(std::string)

namespace {

// The message of the exception `write` throws, or "" when it throws none.
template <typename Write>
std::string FailureOf(Write write) {
    try {
        write();
    } catch (const EIniFileException& e) {
        return e.what();
    }
    return {};
}

}  // namespace

class IniFileTest : public QObject {
    Q_OBJECT

private slots:
    void ReadsValuesByTheProfileRules_data();
    void ReadsValuesByTheProfileRules();
    void ReadingAMissingFileCreatesNone();
    void CutsLongValuesAt2047Characters();
    void CreatesFileAndSectionOnFirstWrite();
    void KeepsKeysInTheOrderFirstWritten();
    void ReplacesAValueInPlaceAndKeepsEverythingElse();
    void AddsKeyToItsSectionAndSectionAtTheEnd_data();
    void AddsKeyToItsSectionAndSectionAtTheEnd();
    void ReadsBackWhatItWrites();
    void FailedWriteNamesTheFile();
    void ReadOnlyFileIsReportedAndKept();
};

void IniFileTest::ReadsValuesByTheProfileRules_data() {
    QTest::addColumn<std::string>("content");
    QTest::addColumn<std::string>("expected");  // "<none>": the fallback

    QTest::newRow("exact") << std::string("[Options]\nCS=True\n") << std::string("True");
    QTest::newRow("lower case value kept")
        << std::string("[Options]\nCS=true\n") << std::string("true");
    QTest::newRow("upper case value kept")
        << std::string("[Options]\nCS=TRUE\n") << std::string("TRUE");
    QTest::newRow("digit") << std::string("[Options]\nCS=1\n") << std::string("1");
    QTest::newRow("blanks around names and value")
        << std::string("  [  Options ]  \n \t CS  =   True \t \n") << std::string("True");
    QTest::newRow("blanks inside the value stay")
        << std::string("[Options]\nCS= Tr ue \n") << std::string("Tr ue");
    QTest::newRow("section and key in other case")
        << std::string("[OPTIONS]\ncs=True") << std::string("True");
    QTest::newRow("carriage returns")
        << std::string("[Options]\r\nCS=True\r\n") << std::string("True");
    QTest::newRow("quotes around the value")
        << std::string("[Options]\nCS=\"True\"\n") << std::string("True");
    QTest::newRow("empty value") << std::string("[Options]\nCS=\n") << std::string("");
    QTest::newRow("first of two keys")
        << std::string("[Options]\nCS=A\nCS=B\n") << std::string("A");
    QTest::newRow("key of another section")
        << std::string("[Window]\nCS=True\n[Options]\nBU=True\n[Other]\nCS=x\n")
        << std::string("<none>");
    QTest::newRow("commented out")
        << std::string("[Options]\n;CS=True\n# CS=True\n") << std::string("<none>");
    QTest::newRow("key before any section")
        << std::string("CS=True\n[Options]\n") << std::string("<none>");
    QTest::newRow("prefix of the key")
        << std::string("[Options]\nCSX=True\n") << std::string("<none>");
    QTest::newRow("empty file") << std::string() << std::string("<none>");
}

void IniFileTest::ReadsValuesByTheProfileRules() {
    QFETCH(std::string, content);
    QFETCH(std::string, expected);
    TempDir dir;
    IniFile ini(dir.Write("settings.ini", content));
    QCOMPARE(ini.ReadString("Options", "CS", "<none>"), expected);
}

void IniFileTest::ReadingAMissingFileCreatesNone() {
    TempDir dir;
    IniFile ini(dir.File("settings.ini"));
    for (const char* key : {"CS", "BU", "DV"}) {
        QCOMPARE(ini.ReadString("Options", key, ""), std::string());
    }
    QVERIFY(dir.Names().empty());
}

void IniFileTest::CutsLongValuesAt2047Characters() {
    TempDir dir;
    const std::string fits(2047, 'v');
    const std::string too_long = "True" + std::string(3000, 'x');
    IniFile ini(dir.Write("settings.ini", "[Options]\nA=" + fits + "\nB=" + too_long + "\n"));
    QCOMPARE(ini.ReadString("Options", "A", ""), fits);
    QCOMPARE(ini.ReadString("Options", "B", ""), too_long.substr(0, 2047));
}

void IniFileTest::CreatesFileAndSectionOnFirstWrite() {
    TempDir dir;
    IniFile ini(dir.File("settings.ini"));
    ini.WriteString("Options", "BU", "True");
    QCOMPARE(ReadFile(ini.FileName()), std::string("[Options]\nBU=True\n"));
    // Nothing but the file itself is left in the folder.
    QCOMPARE(dir.Names(), std::vector<std::string>{"settings.ini"});
}

void IniFileTest::KeepsKeysInTheOrderFirstWritten() {
    TempDir dir;
    IniFile ini(dir.File("settings.ini"));
    ini.WriteString("Options", "DV", "True");
    ini.WriteString("Options", "CS", "True");
    ini.WriteString("Options", "BU", "False");
    ini.WriteString("Options", "CS", "False");
    ini.WriteString("options", "dv", "False");
    QCOMPARE(ReadFile(ini.FileName()), std::string("[Options]\ndv=False\nCS=False\nBU=False\n"));
}

void IniFileTest::ReplacesAValueInPlaceAndKeepsEverythingElse() {
    TempDir dir;
    const std::string before =
        "; written by hand\n[Window]\nLeft=3\n\n[Options]\n  CS = True  \n# a note\nBU=True\n\n"
        "[Other]\nCS=keep\n";
    IniFile ini(dir.Write("settings.ini", before));
    ini.WriteString("Options", "CS", "False");
    QCOMPARE(ReadFile(ini.FileName()),
             std::string("; written by hand\n[Window]\nLeft=3\n\n[Options]\nCS=False\n# a note\n"
                         "BU=True\n\n[Other]\nCS=keep\n"));
}

void IniFileTest::AddsKeyToItsSectionAndSectionAtTheEnd_data() {
    QTest::addColumn<std::string>("section");
    QTest::addColumn<std::string>("before");
    QTest::addColumn<std::string>("after");

    QTest::newRow("after the section's last key")
        << std::string("Options") << std::string("[Options]\nCS=True\n; end\n\n[Other]\nx=1\n")
        << std::string("[Options]\nCS=True\nDV=True\n; end\n\n[Other]\nx=1\n");
    QTest::newRow("section without keys")
        << std::string("Options") << std::string("[Options]\n[Other]\nx=1\n")
        << std::string("[Options]\nDV=True\n[Other]\nx=1\n");
    QTest::newRow("last line without line break")
        << std::string("Options") << std::string("[Options]\nCS=True")
        << std::string("[Options]\nCS=True\nDV=True\n");
    QTest::newRow("missing section") << std::string("Options") << std::string("[Window]\nLeft=3")
                                     << std::string("[Window]\nLeft=3\n[Options]\nDV=True\n");
    QTest::newRow("line breaks of the file")
        << std::string("Options") << std::string("[Window]\r\nLeft=3\r\n")
        << std::string("[Window]\r\nLeft=3\r\n[Options]\r\nDV=True\r\n");
}

void IniFileTest::AddsKeyToItsSectionAndSectionAtTheEnd() {
    QFETCH(std::string, section);
    QFETCH(std::string, before);
    QFETCH(std::string, after);
    TempDir dir;
    IniFile ini(dir.Write("settings.ini", before));
    ini.WriteString(section, "DV", "True");
    QCOMPARE(ReadFile(ini.FileName()), after);
}

void IniFileTest::ReadsBackWhatItWrites() {
    TempDir dir;
    IniFile ini(dir.File("settings.ini"));
    const std::string long_value(2047, 'z');
    ini.WriteString("Options", "CS", "True");
    ini.WriteString("Options", "BU", "False");
    ini.WriteString("Second", "CS", long_value);
    QCOMPARE(ini.ReadString("Options", "CS", ""), std::string("True"));
    QCOMPARE(ini.ReadString("options", "bu", ""), std::string("False"));
    QCOMPARE(ini.ReadString("Second", "CS", ""), long_value);
    QCOMPARE(ini.ReadString("Options", "DV", "unset"), std::string("unset"));
}

void IniFileTest::FailedWriteNamesTheFile() {
    TempDir dir;
    // A missing folder, and a folder where the file should be.
    const std::string missing = dir.File("no such folder") + "/settings.ini";
    const std::string folder = dir.File("settings.ini");
    QVERIFY(::mkdir(folder.c_str(), 0700) == 0);
    for (const std::string& path : {missing, folder}) {
        IniFile ini(path);
        QCOMPARE(FailureOf([&] { ini.WriteString("Options", "CS", "True"); }),
                 "Unable to write to " + path);
    }
    QCOMPARE(dir.Names(), std::vector<std::string>{"settings.ini"});
}

void IniFileTest::ReadOnlyFileIsReportedAndKept() {
    TempDir dir;
    const std::string before = "[Options]\nCS=True\n";
    const std::string path = dir.Write("settings.ini", before);
    QVERIFY(::chmod(path.c_str(), 0444) == 0);
    // Root writes anyway, so the write is tried as another user, in a
    // folder that user may read but not change.
    QVERIFY(::chmod(dir.Path().c_str(), 0755) == 0);
    const int status = korv::test::RunInChild([&] {
        if (korv::test::RunningAsRoot() && !korv::test::DropToUnprivilegedUser()) {
            return 2;
        }
        IniFile ini(path);
        if (ini.ReadString("Options", "CS", "") != "True") {
            return 3;
        }
        std::string failure = FailureOf([&] { ini.WriteString("Options", "CS", "False"); });
        return failure == "Unable to write to " + path ? 0 : 4;
    });
    QCOMPARE(status, 0);
    QCOMPARE(ReadFile(path), before);
}

QTEST_GUILESS_MAIN(IniFileTest)
#include "ini_file_test.moc"
