#pragma once

#include <string>

namespace korv {

// Makes the folder `folder` and whichever of its parents are missing.
// Throws EngineError "Cannot create folder "<folder>". <system text>",
// naming the folder asked for whichever of them failed.
void MakeFolder(const std::string& folder);

}  // namespace korv
