// Entry point of scribvane-generate.
#include "generation/GenerateCommand.h"
#include "utils/FileIo.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const int status =
        scribvane::RunGenerateCommand(arguments, scribvane::ProgramFolder(), std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? status : 1;
}
