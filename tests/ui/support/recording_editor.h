#pragma once

#include <QByteArray>
#include <QList>

#include "editor_launcher.h"

namespace korv::test {

// Stands in for the text editor: records the files it was asked to show.
class RecordingEditor final : public korv::platform::EditorLauncher {
public:
    void OpenInEditor(const QByteArray& path) override { opened << path; }

    QList<QByteArray> opened;
};

}  // namespace korv::test
