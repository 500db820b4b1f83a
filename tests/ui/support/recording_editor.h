#pragma once

#include <QByteArray>
#include <QList>

#include "editor_launcher.h"

namespace korv::test {

// Stands in for the text editor: records the files it was asked to show.
class RecordingEditor final : public korv::behaviour::EditorLauncher {
public:
    void OpenInEditor(const std::string& path) override {
        opened << QByteArray::fromStdString(path);
    }

    QList<QByteArray> opened;
};

}  // namespace korv::test
