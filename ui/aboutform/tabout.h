#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// The about box, created for each use and freed when it closes.
class TAbout : public QDialog {
    Q_OBJECT

public:
    explicit TAbout(QWidget* parent = nullptr);

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
    void FormMouseMove();
    void Label5MouseMove();
    void Label7MouseMove();
    void Label5Click();
    void Label7Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* AddLabel(const char* name, const QString& text, int left, int top);
};
