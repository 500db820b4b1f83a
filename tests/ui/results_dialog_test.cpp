// The results dialog on its own: its controls, the numbers' right edge,
// the log in the editor, and freeing itself when closed.

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "recording_editor.h"
#include "results/trf.h"

class ResultsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void HasItsControlsInPlace();
    void NumbersEndEighteenPixelsBeforeTheRightEdge_data();
    void NumbersEndEighteenPixelsBeforeTheRightEdge();
    void ShowLogOpensTheLogAndStaysOpen();
    void OkClosesAndFreesIt();
    void EscapeDoesNotCloseIt();
};

void ResultsDialogTest::HasItsControlsInPlace() {
    korv::test::RecordingEditor editor;
    auto* rf = new TRF(editor, "/dir/korv.log");
    QCOMPARE(rf->windowTitle(), QStringLiteral("Results..."));
    QCOMPARE(rf->size(), QSize(289, 124));
    QCOMPARE(rf->minimumSize(), rf->maximumSize());
    QVERIFY(!rf->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!rf->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(rf->testAttribute(Qt::WA_DeleteOnClose));

    struct Want {
        const char* name;
        QString text;
        QPoint pos;
    };
    const Want labels[] = {
        {"Label5", "Find and replace successfully finished.", {93, 16}},
        {"Label1", "Files searched:", {93, 36}},
        // Shown with one ampersand, not as an accelerator.
        {"Label2", "Files found & replaced:", {93, 57}},
        {"Label3", "0", {261, 36}},
        {"Label4", "0", {261, 57}},
    };
    for (const Want& want : labels) {
        auto* label = rf->findChild<QLabel*>(want.name);
        QVERIFY2(label != nullptr, want.name);
        QCOMPARE(label->text(), want.text);
        QCOMPARE(label->pos(), want.pos);
        QVERIFY(label->buddy() == nullptr);
    }
    QCOMPARE(rf->Label3->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(rf->Label4->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(rf->Button1->text(), QStringLiteral("&Show LOG file"));
    QCOMPARE(rf->Button1->geometry(), QRect(93, 86, 85, 25));
    QCOMPARE(rf->Button2->text(), QStringLiteral("&OK"));
    QCOMPARE(rf->Button2->geometry(), QRect(188, 86, 85, 25));
    QVERIFY(rf->Button2->isDefault());
    QCOMPARE(rf->Panel1->geometry(), QRect(14, 18, 65, 51));
    QCOMPARE(rf->Panel1->frameShadow(), QFrame::Raised);
    QCOMPARE(rf->Image1->parentWidget(), rf->Panel1);
    QCOMPARE(rf->Image1->geometry(), QRect(1, 1, 63, 49));
    QVERIFY(rf->Image1->hasScaledContents());
    QCOMPARE(rf->Image1->pixmap().size(), QSize(23, 17));

    rf->show();
    QVERIFY(QTest::qWaitForWindowExposed(rf));
    // OK has the focus; the tab order goes on to "Show LOG file".
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(rf->Button2));
    QWidget* next = rf->Button2->nextInFocusChain();
    while ((next->focusPolicy() & Qt::TabFocus) == 0) {
        next = next->nextInFocusChain();
    }
    QCOMPARE(next, static_cast<QWidget*>(rf->Button1));
    delete rf;
}

void ResultsDialogTest::NumbersEndEighteenPixelsBeforeTheRightEdge_data() {
    QTest::addColumn<int>("searched");
    QTest::addColumn<qint64>("replaced");
    QTest::newRow("7 and 1234") << 7 << qint64{1234};
    QTest::newRow("1234 and 7") << 1234 << qint64{7};
    QTest::newRow("64-bit count") << 2147483647 << qint64{9000000000LL};
}

void ResultsDialogTest::NumbersEndEighteenPixelsBeforeTheRightEdge() {
    QFETCH(int, searched);
    QFETCH(qint64, replaced);
    korv::test::RecordingEditor editor;
    TRF rf(editor, "/dir/korv.log");
    rf.setAttribute(Qt::WA_DeleteOnClose, false);
    rf.SetResults(searched, replaced);
    QCOMPARE(rf.Label3->text(), QString::number(searched));
    QCOMPARE(rf.Label4->text(), QString::number(replaced));
    for (const QLabel* label : {rf.Label3, rf.Label4}) {
        QCOMPARE(label->x() + label->width(), 289 - 18);
        // The label is as wide as its text.
        QCOMPARE(label->width(), label->sizeHint().width());
    }
    QCOMPARE(rf.Label3->y(), 36);
    QCOMPARE(rf.Label4->y(), 57);
}

void ResultsDialogTest::ShowLogOpensTheLogAndStaysOpen() {
    korv::test::RecordingEditor editor;
    QPointer<TRF> rf = new TRF(editor, "/my dir/korv.log");
    rf->show();
    QVERIFY(QTest::qWaitForWindowExposed(rf));
    QTest::mouseClick(rf->Button1, Qt::LeftButton);
    QTest::mouseClick(rf->Button1, Qt::LeftButton);
    QCOMPARE(editor.opened, (QList<QByteArray>{"/my dir/korv.log", "/my dir/korv.log"}));
    QVERIFY(rf->isVisible());
    delete rf;
}

void ResultsDialogTest::OkClosesAndFreesIt() {
    korv::test::RecordingEditor editor;
    QPointer<TRF> rf = new TRF(editor, "/dir/korv.log");
    rf->show();
    QVERIFY(QTest::qWaitForWindowExposed(rf));
    QTest::keyClick(rf, Qt::Key_Return);
    QTRY_VERIFY(rf.isNull());
}

void ResultsDialogTest::EscapeDoesNotCloseIt() {
    korv::test::RecordingEditor editor;
    QPointer<TRF> rf = new TRF(editor, "/dir/korv.log");
    rf->show();
    QVERIFY(QTest::qWaitForWindowExposed(rf));
    QTest::keyClick(rf, Qt::Key_Escape);
    QCoreApplication::processEvents();
    QVERIFY(!rf.isNull());
    QVERIFY(rf->isVisible());
    rf->close();
    QTRY_VERIFY(rf.isNull());
}

QTEST_MAIN(ResultsDialogTest)
#include "results_dialog_test.moc"
