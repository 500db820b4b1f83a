// How long the Qt window takes to add a dropped folder of 50,000 small text
// files: from the drop to the list painted, through the walk, the binary
// test of every file, the question how many, and the adding.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QUrl>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "main/tmf.h"
#include "prompter.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 50000;
constexpr int kFilesPerFolder = 1000;

// Answers Yes, so the drop adds its files and "Delete All..." clears them.
class YesPrompter final : public korv::behaviour::Prompter {
public:
    bool Ask(const std::string&, const std::string&) override { return true; }
    void Error(const std::string& text, const std::string&) override {
        throw std::runtime_error(text);
    }
    void Message(const std::string& text, const std::string&) override {
        throw std::runtime_error(text);
    }
    korv::behaviour::FileChoice GetOpenFileNames(const korv::behaviour::FileDialogSetup&) override {
        return {};
    }
    korv::behaviour::FileChoice GetOpenFileName(const korv::behaviour::FileDialogSetup&) override {
        return {};
    }
    korv::behaviour::FileChoice GetSaveFileName(const korv::behaviour::FileDialogSetup&) override {
        return {};
    }
};

class NoEditor final : public korv::behaviour::EditorLauncher {
public:
    void OpenInEditor(const std::string&) override {}
};

// A folder of kFiles files of a few lines, kFilesPerFolder to a folder,
// beside the window's own files; removed with them.
class DroppedTree {
public:
    DroppedTree()
        : root_(fs::temp_directory_path() / ("korv-drop-bench-" + std::to_string(::getpid()))) {
        for (int i = 0; i < kFiles; ++i) {
            const fs::path folder = Tree() / ("part" + std::to_string(i / kFilesPerFolder));
            if (i % kFilesPerFolder == 0) {
                fs::create_directories(folder);
            }
            std::ofstream(folder / ("file" + std::to_string(i) + ".txt"))
                << "line one of file " << i << "\r\nline two\r\n";
        }
    }
    ~DroppedTree() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    DroppedTree(const DroppedTree&) = delete;
    DroppedTree& operator=(const DroppedTree&) = delete;

    [[nodiscard]] fs::path Tree() const { return root_ / "tree"; }
    [[nodiscard]] std::string Beside(const char* name) const { return (root_ / name).string(); }

private:
    fs::path root_;
};

void Drop(TMF& window, const fs::path& folder) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(folder.string()))});
    const QPoint where = window.rect().center();
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
}

void BM_DropFolderOf50000Files(benchmark::State& state) {
    const DroppedTree tree;
    YesPrompter prompter;
    NoEditor editor;
    TMF window(prompter, editor,
               {tree.Beside("korv.log"), tree.Beside("settings.ini"), tree.Beside("versions.txt")});
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        Drop(window, tree.Tree());
        // The list painted with its new entries.
        window.ListBox1->viewport()->repaint();
        QApplication::processEvents();

        state.PauseTiming();
        if (window.ListBox1->count() != kFiles) {
            state.SkipWithError("the drop did not add every file");
            break;
        }
        window.Behaviour().Deleteall1Click();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["files"] = kFiles;
}

BENCHMARK(BM_DropFolderOf50000Files)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    // No display needed; on one, the window shows as it works.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
