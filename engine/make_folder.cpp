#include "make_folder.h"

#include <vector>

#include "engine_error.h"
#include "file_variables.h"
#include "folder_listing.h"
#include "user_folders.h"

namespace korv {

void MakeFolder(const std::string& folder) {
    // The missing folders, from the innermost out.
    std::vector<std::string> missing;
    for (std::string path = folder; !path.empty() && !IsFolder(path);) {
        missing.push_back(path);
        std::string parent = FileDirPart(path);
        if (parent == path) {
            break;  // a root that is not there
        }
        path = std::move(parent);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (const int error = MakeOneFolder(*it); error != 0) {
            throw CannotCreateFolder(folder, error);
        }
    }
}

}  // namespace korv
