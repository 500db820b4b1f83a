#include "program_arguments.h"

namespace korv::cli {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return {argv + 1, argv + argc};
}

}  // namespace korv::cli
