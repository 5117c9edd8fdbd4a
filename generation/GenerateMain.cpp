// Entry point of scribvane-generate.
#include "generation/GenerateCommand.h"
#include "publishing/PublishCommand.h"
#include "utils/FileIo.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto environment = [](const std::string& name) -> std::optional<std::string> {
        const char* value = std::getenv(name.c_str());
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    const int status = scribvane::AsksToPublish(arguments)
                           ? scribvane::RunPublishCommand(arguments, scribvane::ProgramFolder(),
                                                          std::cout, std::cerr, environment)
                           : scribvane::RunGenerateCommand(arguments, scribvane::ProgramFolder(),
                                                           std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? status : 1;
}
