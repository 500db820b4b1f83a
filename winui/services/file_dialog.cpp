#include "file_dialog.h"

#include <commdlg.h>

#include <cstring>

namespace korv::winui {

namespace {

// Several chosen names share one buffer: the folder and every name, each
// ended by a zero. Names that do not fit make the dialog refuse the choice.
constexpr DWORD kManyNamesBuffer = 65519 + 1;
// One name: a whole path, longer than MAX_PATH where the system allows it.
constexpr DWORD kOneNameBuffer = 32768;

}  // namespace

std::string DialogFilter(const std::string& filter) {
    std::string result = filter;
    for (char& c : result) {
        if (c == '|') {
            c = '\0';
        }
    }
    // One zero ends the last item, another the list.
    result.push_back('\0');
    result.push_back('\0');
    return result;
}

std::vector<std::string> ChosenFiles(const char* buffer) {
    std::vector<std::string> items;
    for (const char* item = buffer; *item != '\0'; item += std::strlen(item) + 1) {
        items.emplace_back(item);
    }
    if (items.size() <= 1) {
        return items;
    }
    std::string folder = items.front();
    if (folder.back() != '\\') {
        folder.push_back('\\');
    }
    std::vector<std::string> files;
    files.reserve(items.size() - 1);
    for (std::size_t i = 1; i < items.size(); ++i) {
        files.push_back(folder + items[i]);
    }
    return files;
}

behaviour::FileChoice ShowFileDialog(HWND owner, const behaviour::FileDialogSetup& dialog,
                                     FileDialogKind kind) {
    const DWORD size = kind == FileDialogKind::OpenMany ? kManyNamesBuffer : kOneNameBuffer;
    std::vector<char> names(size, '\0');
    if (dialog.FileName.size() < size - 1) {
        std::memcpy(names.data(), dialog.FileName.data(), dialog.FileName.size());
    }
    const std::string filter = DialogFilter(dialog.Filter);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = dialog.Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(dialog.FilterIndex);
    ofn.lpstrFile = names.data();
    ofn.nMaxFile = size;
    ofn.lpstrDefExt = dialog.DefaultExt.empty() ? nullptr : dialog.DefaultExt.c_str();
    // The program finds its own files by full path; leaving the current
    // folder alone keeps the chosen folder from being held open.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (kind == FileDialogKind::OpenMany) {
        ofn.Flags |= OFN_ALLOWMULTISELECT;
    }

    behaviour::FileChoice choice;
    choice.FilterIndex = dialog.FilterIndex;
    const BOOL chosen =
        kind == FileDialogKind::Save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!chosen) {
        return choice;
    }
    // The buffer ends in two zeros whatever the dialog wrote.
    names[size - 2] = '\0';
    names[size - 1] = '\0';
    choice.Files = ChosenFiles(names.data());
    choice.FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return choice;
}

}  // namespace korv::winui
