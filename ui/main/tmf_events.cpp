// The main window's own side of its events: the menus the glyph buttons
// open, the about box, typing in the list, and what it offers a run.

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMenu>
#include <QMetaObject>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include "aboutform/tabout.h"
#include "main/engine_text.h"
#include "main/tmf.h"
#include "results/trf.h"

void TMF::SpeedButton1Click() {
    PopupMenu2->popup(QCursor::pos());
}

void TMF::SpeedButton2Click() {
    PopupMenu3->popup(QCursor::pos());
}

void TMF::About1Click() {
    QPointer<TAbout> about = new TAbout(this);
    about->exec();
    // A fresh box for every use; it may have freed itself already.
    delete about.data();
}

bool TMF::PrefixKey(const QString& text, int key) {
    if (key == Qt::Key_Backspace) {
        Guarded([this] { behaviour_->ListBox1Backspace(); });
    } else if (text.size() == 1 && text.front().isPrint()) {
        const std::string typed = ToStd(text.toLocal8Bit());
        Guarded([this, &typed] { behaviour_->ListBox1KeyPress(typed); });
    } else {
        return false;
    }
    return true;
}

void TMF::Beep() {
    QApplication::beep();
}

void TMF::SetBusyCursor(bool busy) {
    // The override cursor covers every window of the program.
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void TMF::ProcessEvents() {
    QCoreApplication::processEvents();
}

void TMF::ProcessEventsUntil(const std::function<bool()>& done) {
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void TMF::WakeUp() {
    // An empty call posted to this thread ends the wait for more events.
    QMetaObject::invokeMethod(
        this, [] {}, Qt::QueuedConnection);
}

void TMF::CloseLater() {
    QTimer::singleShot(0, this, &QWidget::close);
}

int TMF::PrimaryScreenWidth() const {
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary != nullptr ? primary->geometry().width() : 0;
}

void TMF::ShowResults(std::int32_t files_searched, std::int64_t files_replaced) {
    QPointer<TRF> results = new TRF(editor_, behaviour_->Paths().Log, this);
    results->SetResults(files_searched, files_replaced);
    results->exec();
    // The dialog frees itself once closed; this covers a close that did not
    // go through its close event.
    if (results) {
        results->deleteLater();
    }
}
