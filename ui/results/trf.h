#pragma once

#include <QByteArray>
#include <QDialog>
#include <cstdint>

class QFrame;
class QLabel;
class QPushButton;

namespace korv::platform {
class EditorLauncher;
}

// The results dialog at the end of a batch run: how many files were
// searched and how many changed, and the activity log on request. It frees
// itself when closed.
class TRF : public QDialog {
    Q_OBJECT

public:
    // "&Show LOG file" opens `log_path` in `editor`.
    TRF(korv::platform::EditorLauncher& editor, QByteArray log_path, QWidget* parent = nullptr);

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
    void SetResults(std::int32_t files_searched, std::int64_t files_replaced);

    void Button2Click();
    void Button1Click();
    void FormClose();
    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    korv::platform::EditorLauncher& editor_;
    QByteArray log_path_;
};
