// The file list: the placeholder and the run buttons across every
// operation, the current entry apart from the selection, filename list
// files, opening an entry, the hint, finding by typing and the drawing.

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>
#include <filesystem>

#include "main_window_harness.h"

using korv::test::MainWindowHarness;
using korv::test::ReadFile;
using korv::test::WriteFile;
using Kind = korv::test::ScriptedPrompter::Kind;

namespace {

const QString kPlaceholder = QStringLiteral("No files added");

QString Q(const std::string& path) {
    return QString::fromStdString(path);
}

QByteArray B(const std::string& path) {
    return QByteArray::fromStdString(path);
}

bool RunButtonsOn(const TMF& mf) {
    const bool on = mf.Button->isEnabled();
    // The two buttons always go together.
    return on == mf.SpeedButton2->isEnabled() ? on : throw std::logic_error("buttons disagree");
}

std::vector<QByteArray> Bytes(std::initializer_list<const char*> entries) {
    std::vector<QByteArray> out;
    for (const char* entry : entries) {
        out.emplace_back(entry);
    }
    return out;
}

QList<int> SelectedRows(const QListWidget* list) {
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected()) {
            rows << i;
        }
    }
    return rows;
}

}  // namespace

class FileListTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void AddingByDialogReplacesThePlaceholder();
    void AddingByDialogAppendsAndRemembersTheFirstFile();
    void CancellingTheDialogChangesNothing();
    void DroppedPathsAreKeptWholeAndByteForByte();
    void DroppedFolderAddsItsTextFiles();
    void DropOnAListWithFilesAppends();
    void DeleteSelected_data();
    void DeleteSelected();
    void DeleteKeyAsksOnlyWhenFilesAreListed();
    void DeleteAll_data();
    void DeleteAll();
    void CurrentEntryIsApartFromTheSelection();
    void LoadingAList_data();
    void LoadingAList();
    void LoadingAMissingListShowsTheErrorBoxAndKeepsTheList();
    void LoadDialogRemembersItsFilter();
    void SavingAndLoadingRoundTrip();
    void SavingTheEmptyListWritesThePlaceholder();
    void SavingWhereNoFileCanBeMadeShowsTheErrorBox();
    void DoubleClickOpensTheEntryInTheEditor();
    void HintShowsTheCurrentEntryWhereverTheMouseIs();
    void TypingFindsAnEntryByItsBeginning();
    void AListWithNoEntriesAtAll();
    void EntriesAreOneLine13PixelsHighWithAmpersandsAsTyped();

private:
    std::unique_ptr<MainWindowHarness> h_;
    MainWindowHarness& Start() {
        h_ = std::make_unique<MainWindowHarness>();
        return *h_;
    }
};

void FileListTest::cleanup() {
    if (h_) {
        QCOMPARE(h_->prompter.Unexpected(), 0);
        QCOMPARE(h_->prompter.Unused(), std::size_t{0});
    }
    h_.reset();
}

void FileListTest::AddingByDialogReplacesThePlaceholder() {
    MainWindowHarness& h = Start();
    const std::string a = h.dir.File("a.txt");
    const std::string b = h.dir.File("b.txt");
    h.prompter.AnswerFiles({Q(a), Q(b)});
    h.mf->Files1->trigger();
    QCOMPARE(h.Entries(), (std::vector<QByteArray>{B(a), B(b)}));
    QVERIFY(RunButtonsOn(*h.mf));
    QCOMPARE(h.mf->Files().Current(), 0);
    const auto dialogs = h.prompter.Of(Kind::OpenMany);
    QCOMPARE(dialogs.size(), std::size_t{1});
    QCOMPARE(dialogs[0].dialog.Filter, QStringLiteral("All Files (*.*)|*.*"));
    QVERIFY(dialogs[0].dialog.FileName.isEmpty());
}

void FileListTest::AddingByDialogAppendsAndRemembersTheFirstFile() {
    MainWindowHarness& h = Start();
    const std::string a = h.dir.File("a.txt");
    const std::string c = h.dir.File("c.txt");
    h.prompter.AnswerFiles({Q(a)});
    h.prompter.AnswerFiles({Q(c), Q(a)});
    h.mf->Files1->trigger();
    h.mf->Files().SetCurrent(0);
    h.mf->Files1->trigger();
    QCOMPARE(h.Entries(), (std::vector<QByteArray>{B(a), B(c), B(a)}));
    QCOMPARE(h.mf->Files().Current(), 0);
    const auto dialogs = h.prompter.Of(Kind::OpenMany);
    QCOMPARE(dialogs[1].dialog.FileName, Q(a));
    QCOMPARE(Q(h.mf->Behaviour().OpenDialog1.FileName), Q(c));
}

void FileListTest::CancellingTheDialogChangesNothing() {
    MainWindowHarness& h = Start();
    h.prompter.AnswerFiles({});
    h.mf->Files1->trigger();
    QCOMPARE(h.ShownEntries(), QStringList{kPlaceholder});
    QVERIFY(!RunButtonsOn(*h.mf));
}

void FileListTest::DroppedPathsAreKeptWholeAndByteForByte() {
    MainWindowHarness& h = Start();
    const std::string plain = h.dir.Write("plain.txt", "x");
    // Not valid UTF-8: the entry keeps the bytes, not a decoded copy.
    const std::string latin = h.dir.File("caf\xe9 menu.txt");
    const std::string long_path = "/" + std::string(150, 'd') + "/" + std::string(149, 'f');
    QCOMPARE(long_path.size(), std::size_t{301});
    h.DropPaths({plain, latin, long_path});

    QCOMPARE(h.Entries(), (std::vector<QByteArray>{B(plain), B(latin), B(long_path)}));
    QVERIFY(RunButtonsOn(*h.mf));
    QCOMPARE(h.mf->Files().Current(), 2);
    QCOMPARE(h.mf->ListBox1->item(1)->text(), QString::fromLocal8Bit(B(latin)));
    // The next "Add File(s)..." opens with the last dropped file.
    h.prompter.AnswerFiles({});
    h.mf->Files1->trigger();
    QCOMPARE(h.prompter.Of(Kind::OpenMany)[0].dialog.FileName, Q(long_path));
}

void FileListTest::DroppedFolderAddsItsTextFiles() {
    MainWindowHarness& h = Start();
    for (const char* name : {"drop/b.txt", "drop/a/c.txt", "drop/.git/config"}) {
        std::filesystem::create_directories(std::filesystem::path(h.dir.File(name)).parent_path());
        h.dir.Write(name, "x");
    }
    h.dir.Write("drop/image.bin", std::string("GIF\0", 4));
    h.DropPaths({h.dir.File("drop")});

    QCOMPARE(h.Entries(),
             (std::vector<QByteArray>{B(h.dir.File("drop/a/c.txt")), B(h.dir.File("drop/b.txt"))}));
    QVERIFY(RunButtonsOn(*h.mf));
    QCOMPARE(h.mf->Files().Current(), 1);
    // The busy cursor of the walk is gone.
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void FileListTest::DropOnAListWithFilesAppends() {
    MainWindowHarness& h = Start();
    h.DropPaths({"/one"});
    h.DropPaths({"/two", "/one"});
    QCOMPARE(h.Entries(), Bytes({"/one", "/two", "/one"}));
    QCOMPARE(h.mf->Files().Current(), 2);
    // A drop of no local file at all changes nothing.
    h.Drop({QUrl(QStringLiteral("https://example.org/a.txt"))});
    QCOMPARE(h.Entries().size(), std::size_t{3});
}

void FileListTest::DeleteSelected_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<bool>("buttons");
    const QStringList all{"/a", "/b", "/c", "/d"};
    QTest::newRow("No") << false << QList<int>{1, 2} << all << true;
    QTest::newRow("Yes, nothing selected") << true << QList<int>{} << all << true;
    QTest::newRow("Yes, two selected")
        << true << QList<int>{1, 3} << QStringList{"/a", "/c"} << true;
    QTest::newRow("Yes, all selected")
        << true << QList<int>{0, 1, 2, 3} << QStringList{kPlaceholder} << false;
}

void FileListTest::DeleteSelected() {
    QFETCH(bool, yes);
    QFETCH(QList<int>, selected);
    QFETCH(QStringList, left);
    QFETCH(bool, buttons);
    MainWindowHarness& h = Start();
    h.DropPaths({"/a", "/b", "/c", "/d"});
    for (int row : selected) {
        h.mf->ListBox1->item(row)->setSelected(true);
    }
    h.prompter.AnswerAsk(yes);
    h.mf->Deleteselected1->trigger();
    const auto asks = h.prompter.Of(Kind::Ask);
    QCOMPARE(asks.size(), std::size_t{1});
    QCOMPARE(asks[0].text,
             QStringLiteral("Do you want to delete the selected item(s) from the file list?"));
    QCOMPARE(asks[0].caption, QStringLiteral("Confirmation"));
    QCOMPARE(h.ShownEntries(), left);
    QCOMPARE(RunButtonsOn(*h.mf), buttons);
    QCOMPARE(h.mf->Files().Current(), yes ? 0 : 3);
}

void FileListTest::DeleteKeyAsksOnlyWhenFilesAreListed() {
    MainWindowHarness& h = Start();
    h.mf->ListBox1->setFocus();
    QTest::keyClick(h.mf->ListBox1, Qt::Key_Delete);
    QCOMPARE(h.prompter.Calls().size(), std::size_t{0});
    QCOMPARE(h.ShownEntries(), QStringList{kPlaceholder});

    h.DropPaths({"/a", "/b"});
    h.mf->ListBox1->item(0)->setSelected(true);
    h.prompter.AnswerAsk(true);
    QTest::keyClick(h.mf->ListBox1, Qt::Key_Delete);
    QCOMPARE(h.prompter.Of(Kind::Ask).size(), std::size_t{1});
    QCOMPARE(h.ShownEntries(), QStringList{"/b"});
}

void FileListTest::DeleteAll_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("No") << false;
    QTest::newRow("Yes") << true;
}

void FileListTest::DeleteAll() {
    QFETCH(bool, yes);
    MainWindowHarness& h = Start();
    h.DropPaths({"/a", "/b"});
    h.prompter.AnswerAsk(yes);
    h.mf->Deleteall1->trigger();
    const auto asks = h.prompter.Of(Kind::Ask);
    QCOMPARE(asks.size(), std::size_t{1});
    QCOMPARE(asks[0].text, QStringLiteral("Do you want to delete all item(s) from the file list?"));
    QCOMPARE(asks[0].caption, QStringLiteral("Confirmation"));
    QCOMPARE(h.ShownEntries(), (yes ? QStringList{kPlaceholder} : QStringList{"/a", "/b"}));
    QCOMPARE(RunButtonsOn(*h.mf), !yes);
}

void FileListTest::CurrentEntryIsApartFromTheSelection() {
    MainWindowHarness& h = Start();
    std::vector<std::string> paths;
    for (int i = 0; i < 40; ++i) {
        paths.push_back("/file" + std::to_string(i));
    }
    h.DropPaths(paths);
    QListWidget* list = h.mf->ListBox1;
    list->clearSelection();
    list->item(1)->setSelected(true);
    list->item(2)->setSelected(true);

    h.mf->Files().SetCurrent(0);
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(SelectedRows(list), (QList<int>{1, 2}));
    QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(0))));

    h.mf->Files().SetCurrent(39);
    QCOMPARE(h.mf->Files().Current(), 39);
    QCOMPARE(SelectedRows(list), (QList<int>{1, 2}));
    // Scrolled fully into view.
    QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(39))));

    // A click selects one entry alone and makes it current.
    h.mf->Files().SetCurrent(0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    QCOMPARE(SelectedRows(list), QList<int>{0});
    QCOMPARE(h.mf->Files().Current(), 0);
}

void FileListTest::LoadingAList_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("buttons");
    QTest::newRow("empty file") << QByteArray() << QStringList{kPlaceholder} << false;
    QTest::newRow("NUL first") << QByteArray("\0/a\r\n", 5) << QStringList{kPlaceholder} << false;
    QTest::newRow("trailing empty line")
        << QByteArray("C:\\a.txt\r\n\r\n") << QStringList{"C:\\a.txt", ""} << true;
    QTest::newRow("one line") << QByteArray("C:\\a.txt\r\n") << QStringList{"C:\\a.txt"} << true;
    QTest::newRow("no final break") << QByteArray("C:\\a.txt") << QStringList{"C:\\a.txt"} << true;
    QTest::newRow("one CR LF") << QByteArray("\r\n") << QStringList{""} << true;
    QTest::newRow("mixed breaks, blanks kept")
        << QByteArray("/a\n /b \r\"/c\"\r\n") << QStringList{"/a", " /b ", "\"/c\""} << true;
    QTest::newRow("placeholder first")
        << QByteArray("No files added\r\n/x\r\n") << QStringList{kPlaceholder, "/x"} << false;
    QTest::newRow("NUL ends the text")
        << QByteArray("/a\r\n/b\0/c\r\n", 11) << QStringList{"/a", "/b"} << true;
}

void FileListTest::LoadingAList() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    QFETCH(bool, buttons);
    MainWindowHarness& h = Start();
    h.DropPaths({"/old"});
    const std::string list = h.dir.Write("files.list", bytes.toStdString());
    h.prompter.AnswerFiles({Q(list)});
    h.mf->Loadfilelist1->trigger();
    QCOMPARE(h.ShownEntries(), entries);
    QCOMPARE(RunButtonsOn(*h.mf), buttons);
    const auto dialogs = h.prompter.Of(Kind::OpenOne);
    QCOMPARE(dialogs.size(), std::size_t{1});
    QCOMPARE(dialogs[0].dialog.Filter,
             QStringLiteral("Filename Lists (*.list)|*.list|All Files (*.*)|*.*"));
}

void FileListTest::LoadingAMissingListShowsTheErrorBoxAndKeepsTheList() {
    MainWindowHarness& h = Start();
    const std::string missing = h.dir.File("missing.list");
    h.prompter.AnswerFiles({Q(missing)});
    h.mf->Loadfilelist1->trigger();
    const auto errors = h.prompter.Of(Kind::Error);
    QCOMPARE(errors.size(), std::size_t{1});
    QCOMPARE(errors[0].caption, QStringLiteral("Korvane"));
    QVERIFY2(errors[0].text.startsWith(QStringLiteral("Cannot open file \"") + Q(missing) +
                                       QStringLiteral("\". ")),
             qPrintable(errors[0].text));
    QVERIFY(errors[0].text.endsWith(QLatin1Char('.')));
    QVERIFY(!errors[0].text.endsWith(QStringLiteral("..")));
    QCOMPARE(h.ShownEntries(), QStringList{kPlaceholder});
    QVERIFY(!RunButtonsOn(*h.mf));
}

void FileListTest::LoadDialogRemembersItsFilter() {
    MainWindowHarness& h = Start();
    const std::string list = h.dir.Write("files.txt", "/a\r\n");
    h.prompter.AnswerFiles({Q(list)}, 2);
    h.prompter.AnswerFiles({});
    h.mf->Loadfilelist1->trigger();
    h.mf->Loadfilelist1->trigger();
    const auto dialogs = h.prompter.Of(Kind::OpenOne);
    QCOMPARE(dialogs[0].dialog.FilterIndex, 1);
    QCOMPARE(dialogs[1].dialog.FilterIndex, 2);
}

void FileListTest::SavingAndLoadingRoundTrip() {
    MainWindowHarness& h = Start();
    const std::string latin = "/tmp/caf\xe9.txt";
    h.DropPaths({"/a b/c.txt", latin, "/&amp;"});
    const std::string list = h.dir.Write("files.list", "old content that is longer\r\n");
    h.prompter.AnswerFiles({Q(list)});
    h.mf->Savefilelistas1->trigger();
    // Written over without a question, every entry followed by CR LF.
    QCOMPARE(h.prompter.Of(Kind::Ask).size(), std::size_t{0});
    QCOMPARE(ReadFile(list), "/a b/c.txt\r\n" + latin + "\r\n/&amp;\r\n");
    const auto saves = h.prompter.Of(Kind::Save);
    QCOMPARE(saves[0].dialog.DefaultExt, QStringLiteral("list"));
    QCOMPARE(saves[0].dialog.Filter,
             QStringLiteral("Filename Lists (*.list)|*.list|All Files (*.*)|*.*"));

    h.prompter.AnswerAsk(true);
    h.mf->Deleteall1->trigger();
    h.prompter.AnswerFiles({Q(list)});
    h.mf->Loadfilelist1->trigger();
    QCOMPARE(h.Entries(), (std::vector<QByteArray>{"/a b/c.txt", B(latin), "/&amp;"}));
    QVERIFY(RunButtonsOn(*h.mf));
}

void FileListTest::SavingTheEmptyListWritesThePlaceholder() {
    MainWindowHarness& h = Start();
    const std::string list = h.dir.File("empty.list");
    h.prompter.AnswerFiles({Q(list)});
    h.mf->Savefilelistas1->trigger();
    QCOMPARE(ReadFile(list), std::string("No files added\r\n"));
    QCOMPARE(ReadFile(list).size(), std::size_t{16});

    h.DropPaths({"/a"});
    h.prompter.AnswerFiles({Q(list)});
    h.mf->Loadfilelist1->trigger();
    QCOMPARE(h.ShownEntries(), QStringList{kPlaceholder});
    QVERIFY(!RunButtonsOn(*h.mf));
}

void FileListTest::SavingWhereNoFileCanBeMadeShowsTheErrorBox() {
    MainWindowHarness& h = Start();
    h.DropPaths({"/a"});
    const std::string list = h.dir.File("no such folder") + "/files.list";
    h.prompter.AnswerFiles({Q(list)});
    h.mf->Savefilelistas1->trigger();
    const auto errors = h.prompter.Of(Kind::Error);
    QCOMPARE(errors.size(), std::size_t{1});
    QCOMPARE(errors[0].caption, QStringLiteral("Korvane"));
    QVERIFY2(errors[0].text.startsWith(QStringLiteral("Cannot create file \"") + Q(list)),
             qPrintable(errors[0].text));
    QCOMPARE(h.ShownEntries(), QStringList{"/a"});
}

void FileListTest::DoubleClickOpensTheEntryInTheEditor() {
    MainWindowHarness& h = Start();
    QListWidget* list = h.mf->ListBox1;
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualItemRect(list->item(0)).center());
    QVERIFY(h.editor.opened.isEmpty());

    const std::string spaced = "/My Files/a \xe9.txt";
    h.DropPaths({"/first.txt", spaced});
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualItemRect(list->item(1)).center());
    QCOMPARE(h.editor.opened, QList<QByteArray>{B(spaced)});
}

void FileListTest::HintShowsTheCurrentEntryWhereverTheMouseIs() {
    MainWindowHarness& h = Start();
    QListWidget* list = h.mf->ListBox1;
    h.DropPaths({"/first.txt", "/second.txt", "/third.txt"});
    const auto move_to = [list](QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, pos, list->viewport()->mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &move);
    };
    h.mf->Files().SetCurrent(1);
    move_to(list->visualItemRect(list->item(2)).center());
    QCOMPARE(list->toolTip(), QStringLiteral("/second.txt"));
    h.mf->Files().SetCurrent(0);
    const QPoint below_the_entries(5, list->viewport()->height() - 3);
    move_to(below_the_entries);
    QCOMPARE(list->toolTip(), QStringLiteral("/first.txt"));

    // The hint shown is the list's, not the entry's under the mouse.
    QHelpEvent help(QEvent::ToolTip, list->visualItemRect(list->item(2)).center(),
                    list->viewport()->mapToGlobal(list->visualItemRect(list->item(2)).center()));
    QApplication::sendEvent(list->viewport(), &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("/first.txt"));
    QToolTip::hideText();
    QCOMPARE(list->toolTipDuration(), 10000);
}

void FileListTest::TypingFindsAnEntryByItsBeginning() {
    MainWindowHarness& h = Start();
    QListWidget* list = h.mf->ListBox1;
    h.DropPaths({"/x/beta", "/x/Alpha", "/x/alpine"});
    // Entries begin with their folder; type what they begin with.
    h.prompter.AnswerFiles({});
    h.mf->Files1->trigger();
    list->setFocus();
    list->item(0)->setSelected(true);
    QTest::keyClicks(list, QStringLiteral("/X/AL"));
    QCOMPARE(SelectedRows(list), QList<int>{1});
    QCOMPARE(h.mf->Files().Current(), 1);
}

void FileListTest::AListWithNoEntriesAtAll() {
    MainWindowHarness& h = Start();
    // The state a failed settings write at start-up leaves behind.
    h.mf->ListBox1->clear();
    h.mf->Button->setEnabled(true);
    h.mf->SpeedButton2->setEnabled(true);
    const QString out_of_bounds = QStringLiteral("List index out of bounds (0)");

    h.prompter.AnswerFiles({QStringLiteral("/chosen.txt")});
    h.mf->Files1->trigger();
    h.mf->ListBox1->setFocus();
    QTest::keyClick(h.mf->ListBox1, Qt::Key_Delete);
    QTest::mouseDClick(h.mf->ListBox1->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    const auto errors = h.prompter.Of(Kind::Error);
    QCOMPARE(errors.size(), std::size_t{3});
    for (const auto& error : errors) {
        QCOMPARE(error.text, out_of_bounds);
        QCOMPARE(error.caption, QStringLiteral("Korvane"));
    }
    QCOMPARE(h.mf->ListBox1->count(), 0);
    QVERIFY(h.editor.opened.isEmpty());

    // "Delete Selected..." stops after its question.
    h.prompter.AnswerAsk(true);
    h.mf->Deleteselected1->trigger();
    QCOMPARE(h.mf->ListBox1->count(), 0);

    // A drop leads back to the normal state.
    h.DropPaths({"/dropped.txt"});
    QCOMPARE(h.ShownEntries(), QStringList{"/dropped.txt"});
    QVERIFY(RunButtonsOn(*h.mf));
}

void FileListTest::EntriesAreOneLine13PixelsHighWithAmpersandsAsTyped() {
    MainWindowHarness& h = Start();
    QListWidget* list = h.mf->ListBox1;
    h.DropPaths({"/&&&&&&&&", "/b"});
    QCOMPARE(h.ShownEntries(), (QStringList{"/&&&&&&&&", "/b"}));
    QCOMPARE(list->visualItemRect(list->item(0)).height(), 13);
    QCOMPARE(list->visualItemRect(list->item(1)).top(), 13);

    list->clearSelection();
    QCoreApplication::processEvents();
    const QImage image = list->viewport()->grab().toImage();
    const QRect row = list->visualItemRect(list->item(0));
    const QRgb background = image.pixel(row.right() - 1, row.center().y());
    int rightmost_ink = -1;
    for (int y = row.top(); y <= row.bottom(); ++y) {
        for (int x = 0; x < row.right(); ++x) {
            if (image.pixel(x, y) != background) {
                rightmost_ink = std::max(rightmost_ink, x);
            }
        }
    }
    // Eight ampersands drawn as such reach well past where four (what
    // mnemonic handling would leave) end.
    const int advance = QFontMetrics(list->font()).horizontalAdvance(QLatin1Char('&'));
    QVERIFY2(
        rightmost_ink >= 2 + 7 * advance,
        qPrintable(QStringLiteral("ink ends at %1, advance %2").arg(rightmost_ink).arg(advance)));
}

QTEST_MAIN(FileListTest)
#include "file_list_test.moc"
