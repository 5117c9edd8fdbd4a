// Entry point of scribvane-generate, and of scribvane-generate-pictures, the same command with
// the picture libraries that scribvane-generate hands a run to when a picture has to be made.
#include "generation/GenerateCommand.h"
#include "utils/FileIo.h"
#ifdef SCRIBVANE_MAKES_PICTURES
#include "generation/VipsPictureMaker.h"
#endif

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
#ifdef SCRIBVANE_MAKES_PICTURES
    const scribvane::VipsPictureMaker maker;
    const scribvane::PictureMaker* pictures = &maker;
#else
    const scribvane::PictureMaker* pictures = nullptr;
#endif
    const int status = scribvane::RunGenerateCommand(arguments, scribvane::ProgramFolder(),
                                                     std::cout, std::cerr, pictures);
    if (status == scribvane::kNeedsPictureMaker) {
        // Only a letter with pictures not made before pays for loading the picture libraries.
        const std::string maker =
            (scribvane::ProgramFolder() / "scribvane-generate-pictures").string();
        argv[0] = const_cast<char*>(maker.c_str());
        ::execv(maker.c_str(), argv);
        std::cerr << "scribvane-generate: cannot start \"" << maker
                  << "\": " << std::strerror(errno) << '\n';
        return 1;
    }
    std::cout.flush();
    return std::cout ? status : 1;
}
