#pragma once

#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;

namespace korv::platform {
class IniFile;
}

// The advanced options panel: a borderless window docked at the main
// window's right edge, whose three check boxes are the live options.
class TAF : public QWidget {
    Q_OBJECT

public:
    explicit TAF(QWidget* parent = nullptr);

    // The settings object the boxes write to on every change; set by the
    // main window when it is first shown (nullptr: nothing is written).
    void SetIniFile(const korv::platform::IniFile* ini);

    QFrame* Panel1 = nullptr;
    QCheckBox* CheckBoxDV = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* CheckBoxBU = nullptr;
    QCheckBox* CheckBoxCS = nullptr;

    void CheckBoxDVClick();
    void CheckBoxBUClick();
    void Label1Click();
    void CheckBoxCSClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Writes "True" or "False" from `box` to `key` of section "Options".
    void WriteOption(const char* key, const QCheckBox* box);

    const korv::platform::IniFile* ini_ = nullptr;
};
