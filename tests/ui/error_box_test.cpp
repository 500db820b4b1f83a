// The message loop's error box: what escapes a handler is shown, with a
// full stop added by the rule, and the program goes on.

#include <QtTest>
#include <stdexcept>
#include <string>

#include "main/error_box.h"
#include "main/korv_application.h"
#include "scripted_prompter.h"

using Kind = korv::test::ScriptedPrompter::Kind;

namespace {

// An object whose every event handler fails.
class Failing : public QObject {
public:
    explicit Failing(bool standard) : standard_(standard) {}
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) {
            if (standard_) {
                throw std::runtime_error("Thrown from a handler");
            }
            throw 42;
        }
        return QObject::event(event);
    }

private:
    bool standard_;
};

}  // namespace

class ErrorBoxTest : public QObject {
    Q_OBJECT

private slots:
    void FullStopIsAddedAfterCharactersSortingAfterIt_data();
    void FullStopIsAddedAfterCharactersSortingAfterIt();
    void MessageLoopShowsWhatEscapesAHandler();
    void PostedEventsFailToo();
};

void ErrorBoxTest::FullStopIsAddedAfterCharactersSortingAfterIt_data() {
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("shown");
    QTest::newRow("letter") << QByteArray("Cannot open file") << QByteArray("Cannot open file.");
    QTest::newRow("full stop") << QByteArray("Done.") << QByteArray("Done.");
    QTest::newRow("closing parenthesis")
        << QByteArray("List index out of bounds (0)") << QByteArray("List index out of bounds (0)");
    QTest::newRow("exclamation mark") << QByteArray("Stop!") << QByteArray("Stop!");
    QTest::newRow("hyphen sorts before") << QByteArray("a-") << QByteArray("a-");
    QTest::newRow("slash sorts after") << QByteArray("C:/") << QByteArray("C:/.");
    QTest::newRow("digit") << QByteArray("Error 5") << QByteArray("Error 5.");
    QTest::newRow("quotation mark") << QByteArray("file \"a\"") << QByteArray("file \"a\"");
    QTest::newRow("byte above 127") << QByteArray("caf\xe9") << QByteArray("caf\xe9.");
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void ErrorBoxTest::FullStopIsAddedAfterCharactersSortingAfterIt() {
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, shown);
    QCOMPARE(QByteArray::fromStdString(ErrorBoxText(message.toStdString())), shown);
}

void ErrorBoxTest::MessageLoopShowsWhatEscapesAHandler() {
    auto* app = static_cast<KorvApplication*>(QCoreApplication::instance());
    korv::test::ScriptedPrompter prompter;
    app->SetPrompter(&prompter);
    Failing standard(true);
    Failing other(false);
    QEvent first(QEvent::User);
    QCoreApplication::sendEvent(&standard, &first);
    QEvent second(QEvent::User);
    QCoreApplication::sendEvent(&other, &second);
    app->SetPrompter(nullptr);

    const auto errors = prompter.Of(Kind::Error);
    QCOMPARE(errors.size(), std::size_t{2});
    QCOMPARE(errors[0].text, QStringLiteral("Thrown from a handler."));
    QCOMPARE(errors[0].caption, QStringLiteral("Korvane"));
    QCOMPARE(errors[1].caption, QStringLiteral("Korvane"));
    QVERIFY(!errors[1].text.isEmpty());
}

void ErrorBoxTest::PostedEventsFailToo() {
    auto* app = static_cast<KorvApplication*>(QCoreApplication::instance());
    korv::test::ScriptedPrompter prompter;
    app->SetPrompter(&prompter);
    Failing failing(true);
    QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
    // The loop goes on after the first failure and reaches the second.
    QTRY_COMPARE(prompter.Of(Kind::Error).size(), std::size_t{2});
    app->SetPrompter(nullptr);
}

int main(int argc, char** argv) {
    KorvApplication app(argc, argv);
    ErrorBoxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "error_box_test.moc"
