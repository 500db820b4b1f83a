#pragma once

#include <QWidget>
#include <memory>

#include "controls/qt_controls.h"
#include "opt/options_panel.h"

class QCheckBox;
class QFrame;
class QLabel;

// The advanced options panel: a borderless window docked at the main
// window's right edge, whose three check boxes are the live options. What
// it does is korv::behaviour::OptionsPanel's.
class TAF : public QWidget {
    Q_OBJECT

public:
    explicit TAF(QWidget* parent = nullptr);
    ~TAF() override;

    // The settings object the boxes write to on every change; set by the
    // main window when it is first shown (nullptr: nothing is written).
    void SetIniFile(const korv::behaviour::SettingsFile* ini) { behaviour_->SetIniFile(ini); }

    [[nodiscard]] korv::behaviour::OptionsPanel& Behaviour() { return *behaviour_; }
    [[nodiscard]] korv::behaviour::WindowFrame& Frame() { return frame_; }

    QFrame* Panel1 = nullptr;
    QCheckBox* CheckBoxDV = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* CheckBoxBU = nullptr;
    QCheckBox* CheckBoxCS = nullptr;

    void Label1Click() { behaviour_->Label1Click(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<QtCheckBox> cs_;
    std::unique_ptr<QtCheckBox> bu_;
    std::unique_ptr<QtCheckBox> dv_;
    QtFrame frame_;
    std::unique_ptr<korv::behaviour::OptionsPanel> behaviour_;
};
