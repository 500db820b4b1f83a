#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <string>

#include "controls/qt_controls.h"
#include "results/results_dialog.h"

class QFrame;
class QLabel;
class QPushButton;

// The results dialog at the end of a batch run: how many files were
// searched and how many changed, and the activity log on request. It frees
// itself when closed. What it does is korv::behaviour::ResultsDialog's.
class TRF : public QDialog {
    Q_OBJECT

public:
    // "&Show LOG file" opens `log_path` in `editor`.
    TRF(korv::behaviour::EditorLauncher& editor, std::string log_path, QWidget* parent = nullptr);
    ~TRF() override;

    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label5 = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;

    // Puts the two numbers in, each ending 18 pixels before the right edge.
    void SetResults(std::int32_t files_searched, std::int64_t files_replaced) {
        behaviour_->SetResults(files_searched, files_replaced);
    }

    void Button2Click();
    void FormClose();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QtBeeper beeper_;
    std::unique_ptr<QtLabel> searched_;
    std::unique_ptr<QtLabel> replaced_;
    std::unique_ptr<korv::behaviour::ResultsDialog> behaviour_;
};
