#include "filename_list.h"

#include "text_document.h"

namespace korv {

std::vector<std::string> LoadFilenameList(const std::string& path) {
    TextDocument list;
    list.LoadFile(path);
    return list.Lines();
}

std::vector<std::string> FilenameListEntries(std::string_view text) {
    TextDocument list;
    list.AssignText(text);
    return list.Lines();
}

void SaveFilenameList(const std::string& path, const std::vector<std::string>& entries) {
    std::string text;
    for (const std::string& entry : entries) {
        text += entry;
        text += "\r\n";
    }
    TextDocument list;
    list.AssignText(text);
    list.SaveFile(path);
}

}  // namespace korv
