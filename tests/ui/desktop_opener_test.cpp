#include <QtTest>
#include <string>

#include "desktop_opener.h"
#include "desktop_recorder.h"

using korv::platform::DesktopUrl;

class DesktopOpenerTest : public QObject {
    Q_OBJECT

private slots:
    void HandsTheDesktopTheRightAddress_data();
    void HandsTheDesktopTheRightAddress();
    void RecorderStandsInOnlyWhileItLives();
};

void DesktopOpenerTest::HandsTheDesktopTheRightAddress_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QString>("rest");  // the local file, or the address's path

    QTest::newRow("help page") << "/opt/korvane/dv.html"
                               << "file"
                               << "/opt/korvane/dv.html";
    QTest::newRow("blanks and hash in the folder") << "/home/ann/my #1 tools/dv.html"
                                                   << "file"
                                                   << "/home/ann/my #1 tools/dv.html";
    QTest::newRow("web site") << "https://korvane.example.org/"
                              << "https"
                              << "/";
    QTest::newRow("mail") << "mailto:korvane@example.org"
                          << "mailto"
                          << "korvane@example.org";
}

void DesktopOpenerTest::HandsTheDesktopTheRightAddress() {
    QFETCH(QString, target);
    QFETCH(QString, scheme);
    QFETCH(QString, rest);
    const QUrl url = DesktopUrl(target.toStdString());
    QVERIFY(url.isValid());
    QCOMPARE(url.scheme(), scheme);
    QCOMPARE(scheme == "file" ? url.toLocalFile() : url.path(), rest);
}

void DesktopOpenerTest::RecorderStandsInOnlyWhileItLives() {
    korv::platform::DesktopOpener* system = &korv::platform::CurrentDesktopOpener();
    {
        korv::test::DesktopRecorder outer;
        {
            korv::test::DesktopRecorder inner;
            korv::platform::DesktopOpenerInUse().Open("/a");
            QCOMPARE(inner.opened, std::vector<std::string>{"/a"});
        }
        korv::platform::DesktopOpenerInUse().Open("/b");
        QCOMPARE(outer.opened, std::vector<std::string>{"/b"});
    }
    QCOMPARE(&korv::platform::CurrentDesktopOpener(), system);
}

QTEST_GUILESS_MAIN(DesktopOpenerTest)
#include "desktop_opener_test.moc"
