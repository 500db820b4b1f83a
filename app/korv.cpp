// The program entry: creates the main window and the options panel, then
// runs the message loop until the main window closes.

#include <QApplication>

#include "aboutform/program_icon.h"
#include "editor_launcher.h"
#include "main/engine_text.h"
#include "main/korv_application.h"
#include "main/main_window.h"
#include "main/tmf.h"
#include "opt/taf.h"
#include "qt_prompter.h"
#include "texts.h"

int main(int argc, char* argv[]) {
    KorvApplication application(argc, argv);
    korv::platform::QtPrompter prompter;
    application.SetPrompter(&prompter);
    // The title labels the taskbar button and captions the error box. Only
    // the application name is set: a display name would be appended to the
    // caption of every window and message box.
    QApplication::setApplicationName(ShownText(korv::behaviour::text::kApplicationTitle));
    QApplication::setWindowIcon(ProgramIcon());
    application.SetHintHidePause(korv::behaviour::kHintHidePauseMs);

    korv::platform::SystemEditorLauncher editor;
    // The main window comes first, which opens the activity log; then the
    // options panel, hidden. The timer and the first show find both.
    TMF mf(prompter, editor, korv::behaviour::TmfPaths::OfThisProgram(),
           application.HintHidePause());
    TAF af(&mf);
    mf.SetOptionsPanel(&af);
    QObject::connect(&mf, &TMF::Closed, &application, &QCoreApplication::quit);

    mf.show();
    return QApplication::exec();
}
