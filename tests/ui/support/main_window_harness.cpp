#include "main_window_harness.h"

#include <QApplication>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include "desktop_entry.h"

namespace korv::test {

MainWindowHarness::MainWindowHarness(bool show)
    : paths{dir.File("korv.log"), dir.File("settings.ini"), dir.File("versions.txt"), {}, {},
            dir.File("undo")} {
    mf = std::make_unique<TMF>(prompter, editor, paths, 10000);
    af = std::make_unique<TAF>(mf.get());
    mf->SetOptionsPanel(af.get());
    if (show) {
        Show();
    }
}

MainWindowHarness::~MainWindowHarness() {
    af.reset();
    mf.reset();
}

void MainWindowHarness::Show() {
    mf->show();
    if (!QTest::qWaitForWindowExposed(mf.get())) {
        qWarning("the main window was not exposed");
    }
}

std::vector<QByteArray> MainWindowHarness::Entries() const {
    std::vector<QByteArray> entries;
    for (const std::string& entry : mf->Files().Entries()) {
        entries.push_back(QByteArray::fromStdString(entry));
    }
    return entries;
}

QStringList MainWindowHarness::ShownEntries() const {
    QStringList shown;
    for (int i = 0; i < mf->ListBox1->count(); ++i) {
        shown << mf->ListBox1->item(i)->text();
    }
    return shown;
}

QStringList MainWindowHarness::LogEvents() const {
    QStringList events;
    const std::string text = ReadFile(paths.Log);
    for (const QString& line : QString::fromLocal8Bit(text.data(), qsizetype(text.size()))
                                   .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const qsizetype dash = line.indexOf(QStringLiteral(" - "));
        events << (dash >= 0 ? line.mid(dash + 3) : line);
    }
    return events;
}

void MainWindowHarness::Drop(const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint where = mf->rect().center();
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(mf.get(), &enter);
    QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(mf.get(), &drop);
}

void MainWindowHarness::DropPaths(const std::vector<std::string>& paths_to_drop) {
    QList<QUrl> urls;
    for (const std::string& path : paths_to_drop) {
        urls << QUrl::fromEncoded(QByteArray::fromStdString(korv::platform::FileAddress(path)),
                                  QUrl::StrictMode);
    }
    Drop(urls);
}

std::shared_ptr<bool> WhenModalWidgetOpens(std::function<bool(QWidget*)> action) {
    auto done = std::make_shared<bool>(false);
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, done, action = std::move(action)] {
        // Only a modal that is shown and active is acted on: until the window
        // system activates it, its focus (and so what some of its calls do,
        // such as a file dialog's selectFile) is still to change.
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible() || !modal->isActiveWindow()) {
            return;
        }
        timer->stop();
        if (action(modal)) {
            *done = true;
            timer->deleteLater();
        } else {
            timer->start();
        }
    });
    timer->start();
    return done;
}

}  // namespace korv::test
