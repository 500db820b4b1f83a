#pragma once

#include <QDialog>

// The about box, created for each use and freed when it closes.
class TAbout : public QDialog {
    Q_OBJECT

public:
    explicit TAbout(QWidget* parent = nullptr);
};
