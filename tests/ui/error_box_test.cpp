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
    void MessageLoopShowsWhatEscapesAHandler();
    void PostedEventsFailToo();
};

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
