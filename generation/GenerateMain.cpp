// Entry point of scribvane-generate.
#include "generation/GenerateCommand.h"
#include "utils/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (std::find(arguments.begin(), arguments.end(), "--publish") != arguments.end()) {
        // Publishing lives in a program of its own beside this one, so that generating a
        // letter never pays for loading the network libraries.
        const std::string publisher = (scribvane::ProgramFolder() / "scribvane-publish").string();
        argv[0] = const_cast<char*>(publisher.c_str());
        ::execv(publisher.c_str(), argv);
        std::cerr << "scribvane-generate: cannot start \"" << publisher
                  << "\": " << std::strerror(errno) << '\n';
        return 1;
    }
    const int status =
        scribvane::RunGenerateCommand(arguments, scribvane::ProgramFolder(), std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? status : 1;
}
