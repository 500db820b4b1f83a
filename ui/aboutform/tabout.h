#pragma once

#include <QDialog>
#include <memory>

#include "aboutform/about_box.h"
#include "controls/qt_controls.h"

class QFrame;
class QLabel;
class QPushButton;

// The about box, created for each use and freed when it closes. What it
// does is korv::behaviour::AboutBox's.
class TAbout : public QDialog {
    Q_OBJECT

public:
    explicit TAbout(QWidget* parent = nullptr);
    ~TAbout() override;

    QFrame* Bevel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QPushButton* BitBtn1 = nullptr;

    void FormCreate();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* AddLabel(const char* name, const char* caption, int left, int top);

    std::unique_ptr<QtStyledLabel> web_link_;
    std::unique_ptr<QtStyledLabel> mail_link_;
    std::unique_ptr<korv::behaviour::AboutBox> behaviour_;
};
