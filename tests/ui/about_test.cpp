#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>
#include <set>
#include <string>

#include "aboutform/check_glyph.h"
#include "aboutform/program_icon.h"
#include "aboutform/tabout.h"
#include "desktop_recorder.h"

namespace {

// The look of a link: its font colour and whether it is underlined, with
// no other style allowed.
QString LookOf(const QLabel* label) {
    const QFont f = label->font();
    if (f.bold() || f.italic() || f.strikeOut()) {
        return "styled";
    }
    const QColor c = label->palette().color(QPalette::WindowText);
    const QString colour = c == QColor(255, 0, 0)   ? "red"
                           : c == QColor(0, 0, 255) ? "blue"
                                                    : c.name();
    return colour + (f.underline() ? " underlined" : " plain");
}

// A mouse move that the window system delivers at `pos` inside the box, so
// the widget under it is found the way a real move finds it.
// A fresh box in the same place would see a move to where the cursor
// already is dropped, so the move starts one pixel off within the widget.
void MoveOver(TAbout* about, QPoint pos) {
    QTest::mouseMove(about->windowHandle(), pos + QPoint(0, 1));
    QTest::mouseMove(about->windowHandle(), pos);
}

QPoint InsideOf(TAbout* about, const QString& name) {
    if (name == "About") {
        return {200, 10};  // a bare spot of the box
    }
    if (name == "Bevel1") {
        return {10, 25};  // the frame's left edge, beside the icon
    }
    auto* w = about->findChild<QWidget*>(name);
    return w->geometry().center();
}

}  // namespace

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void HasItsControlsInPlace();
    void LinksLightUnderTheMouse_data();
    void LinksLightUnderTheMouse();
    void EveryNewBoxStartsPlain();
    void EnterClosesAndFreesTheBox();
    void EscapeLeavesItOpen();
    void LinksOpenTheirTargets();
    void LinkFailuresAreSwallowed();
    void ProgramIconUsesTheSixteenColours();
    void CheckGlyphHasAGreyedTwin();

private:
    // A shown box, freed by the test's end if still open.
    QPointer<TAbout> OpenBox();
    QPointer<TAbout> box_;

private slots:
    void cleanup() { delete box_.data(); }
};

QPointer<TAbout> AboutTest::OpenBox() {
    delete box_.data();
    box_ = new TAbout;
    box_->show();
    if (!QTest::qWaitForWindowExposed(box_.data())) {
        qFatal("the about box did not show");
    }
    return box_;
}

void AboutTest::HasItsControlsInPlace() {
    QPointer<TAbout> about = OpenBox();
    QCOMPARE(about->windowTitle(), QString("About Korvane"));
    QCOMPARE(about->size(), QSize(234, 161));
    QCOMPARE(about->minimumSize(), about->maximumSize());
    QVERIFY(about->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(about->isModal());
    const Qt::WindowFlags flags = about->windowFlags();
    for (Qt::WindowType hint :
         {Qt::WindowSystemMenuHint, Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint,
          Qt::WindowMaximizeButtonHint, Qt::WindowContextHelpButtonHint}) {
        QVERIFY(!flags.testFlag(hint));
    }

    struct Text {
        const char* name;
        QString text;
        QPoint at;
    };
    const Text texts[] = {
        {"Label1", "Korvane Project", {55, 8}},
        {"Label2", "Korvane 1.00", {55, 24}},
        {"Label4", "Web Site:", {55, 64}},
        {"Label5", "korvane.example.org", {108, 64}},
        {"Label6", "E-mail:", {55, 80}},
        {"Label7", "korvane@example.org", {108, 80}},
        {"Label8", "See license.txt for distribution", {55, 104}},
    };
    for (const Text& want : texts) {
        auto* label = about->findChild<QLabel*>(want.name);
        QVERIFY2(label != nullptr, want.name);
        QCOMPARE(label->text(), want.text);
        QCOMPARE(label->pos(), want.at);
        QVERIFY(label->width() >= label->sizeHint().width());
    }
    QCOMPARE(about->Label5->toolTip(), QString("https://korvane.example.org/"));
    QCOMPARE(about->Label7->toolTip(), QString("Mailto korvane@example.org"));
    QCOMPARE(about->Label5->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(about->Label7->cursor().shape(), Qt::PointingHandCursor);

    QCOMPARE(about->findChild<QWidget*>("Bevel1")->geometry(), QRect(10, 10, 34, 34));
    auto* image = about->findChild<QLabel*>("Image1");
    QCOMPARE(image->geometry(), QRect(11, 11, 32, 32));
    QCOMPARE(image->pixmap().toImage().convertToFormat(QImage::Format_ARGB32), ProgramIconImage());

    auto* ok = about->findChild<QPushButton*>("BitBtn1");
    QCOMPARE(ok->text(), QString("&OK"));
    QCOMPARE(ok->geometry(), QRect(55, 128, 106, 25));
    QVERIFY(ok->isDefault());
    QCOMPARE(ok->iconSize(), QSize(18, 18));
    QVERIFY(!ok->icon().isNull());
    QCOMPARE(QApplication::focusWidget(), ok);
}

void AboutTest::LinksLightUnderTheMouse_data() {
    QTest::addColumn<QString>("first");  // moved over first, to set a look
    QTest::addColumn<QString>("then");
    QTest::addColumn<QString>("web");   // Label5's look afterwards
    QTest::addColumn<QString>("mail");  // Label7's

    QTest::newRow("onto the web link") << "About"
                                       << "Label5"
                                       << "red underlined"
                                       << "blue plain";
    QTest::newRow("web link straight onto e-mail") << "Label5"
                                                   << "Label7"
                                                   << "blue plain"
                                                   << "red underlined";
    QTest::newRow("e-mail straight onto web link") << "Label7"
                                                   << "Label5"
                                                   << "red underlined"
                                                   << "blue plain";
    QTest::newRow("licence line keeps web lit") << "Label5"
                                                << "Label8"
                                                << "red underlined"
                                                << "blue plain";
    QTest::newRow("licence line keeps e-mail lit") << "Label7"
                                                   << "Label8"
                                                   << "blue plain"
                                                   << "red underlined";
    QTest::newRow("bevel frame keeps e-mail lit") << "Label7"
                                                  << "Bevel1"
                                                  << "blue plain"
                                                  << "red underlined";
    for (const char* other :
         {"About", "Image1", "Label1", "Label2", "Label4", "Label6", "BitBtn1"}) {
        QTest::addRow("%s puts web out", other) << "Label5" << QString(other) << "blue plain"
                                                << "blue plain";
        QTest::addRow("%s puts e-mail out", other) << "Label7" << QString(other) << "blue plain"
                                                   << "blue plain";
    }
}

void AboutTest::LinksLightUnderTheMouse() {
    QFETCH(QString, first);
    QFETCH(QString, then);
    QFETCH(QString, web);
    QFETCH(QString, mail);
    QPointer<TAbout> about = OpenBox();
    MoveOver(about, InsideOf(about, first));
    MoveOver(about, InsideOf(about, then));
    QCOMPARE(LookOf(about->Label5), web);
    QCOMPARE(LookOf(about->Label7), mail);
}

void AboutTest::EveryNewBoxStartsPlain() {
    QPointer<TAbout> first = OpenBox();
    MoveOver(first, InsideOf(first, "Label5"));
    QCOMPARE(LookOf(first->Label5), QString("red underlined"));
    first->BitBtn1->click();
    QTRY_VERIFY(first.isNull());

    QPointer<TAbout> second = OpenBox();
    QCOMPARE(LookOf(second->Label5), QString("blue plain"));
    QCOMPARE(LookOf(second->Label7), QString("blue plain"));
}

void AboutTest::EnterClosesAndFreesTheBox() {
    QPointer<TAbout> about = OpenBox();
    int result = -1;
    connect(about.data(), &QDialog::finished, this, [&result](int r) { result = r; });
    QTest::keyClick(about.data(), Qt::Key_Return);
    QTRY_VERIFY(about.isNull());
    QCOMPARE(result, int(QDialog::Accepted));
}

void AboutTest::EscapeLeavesItOpen() {
    QPointer<TAbout> about = OpenBox();
    QTest::keyClick(about.data(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    QVERIFY(!about.isNull());
    QVERIFY(about->isVisible());
}

void AboutTest::LinksOpenTheirTargets() {
    korv::test::DesktopRecorder desktop;
    QPointer<TAbout> about = OpenBox();
    QTest::mouseClick(about->Label5, Qt::LeftButton);
    QTest::mouseClick(about->Label7, Qt::LeftButton);
    QTest::mouseClick(about->Label8, Qt::LeftButton);
    QTest::mouseClick(about->Label4, Qt::LeftButton);
    const std::vector<std::string> expected = {"https://korvane.example.org/",
                                               "mailto:korvane@example.org"};
    QCOMPARE(desktop.opened, expected);
    QVERIFY(about->isVisible());
}

void AboutTest::LinkFailuresAreSwallowed() {
    korv::test::DesktopRecorder failing_desktop(true);
    QPointer<TAbout> about = OpenBox();
    QTest::mouseClick(about->Label5, Qt::LeftButton);
    QTest::mouseClick(about->Label7, Qt::LeftButton);
    QCOMPARE(failing_desktop.opened.size(), std::size_t{2});
    QVERIFY(about->isVisible());
}

void AboutTest::ProgramIconUsesTheSixteenColours() {
    const QImage icon = ProgramIconImage();
    QCOMPARE(icon.size(), QSize(32, 32));
    std::set<QRgb> palette;
    for (int r : {0, 128, 255}) {
        for (int g : {0, 128, 255}) {
            for (int b : {0, 128, 255}) {
                const bool dark = r != 255 && g != 255 && b != 255;
                const bool bright = r != 128 && g != 128 && b != 128;
                if (dark || bright) {
                    palette.insert(qRgb(r, g, b));
                }
            }
        }
    }
    palette.insert(qRgb(192, 192, 192));
    QCOMPARE(palette.size(), std::size_t{16});
    std::set<QRgb> used;
    int opaque = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb pixel = icon.pixel(x, y);
            if (qAlpha(pixel) == 0) {
                continue;
            }
            QCOMPARE(qAlpha(pixel), 255);
            QVERIFY2(palette.count(pixel | 0xFF000000u) == 1,
                     qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
            used.insert(pixel);
            ++opaque;
        }
    }
    QVERIFY(opaque > 200);
    QVERIFY(used.size() >= 5);
    QCOMPARE(ProgramIcon().availableSizes().value(0), QSize(32, 32));
}

void AboutTest::CheckGlyphHasAGreyedTwin() {
    const QIcon glyph = CheckGlyph();
    const QImage normal =
        glyph.pixmap(QSize(18, 18), QIcon::Normal).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage greyed = glyph.pixmap(QSize(18, 18), QIcon::Disabled)
                              .toImage()
                              .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(normal.size(), QSize(18, 18));
    QCOMPARE(greyed.size(), QSize(18, 18));
    int green = 0;
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 18; ++x) {
            const QRgb n = normal.pixel(x, y);
            const QRgb g = greyed.pixel(x, y);
            if (qAlpha(n) != 0) {
                QCOMPARE(n, qRgb(0, 128, 0));
                QCOMPARE(g, qRgb(128, 128, 128));  // the mark itself, greyed
                ++green;
            } else if (qAlpha(g) != 0) {
                QCOMPARE(g, qRgb(255, 255, 255));  // its embossed highlight
            }
        }
    }
    QVERIFY(green > 20);
}

QTEST_MAIN(AboutTest)
#include "about_test.moc"
