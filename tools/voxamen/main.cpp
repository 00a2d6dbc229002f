#include <iostream>

#include "tools/voxamen/Command.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return vox::cli::RunCommandLine(args, std::cout, std::cerr);
}
