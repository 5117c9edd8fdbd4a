// Entry point of scribvane-publish, which scribvane-generate starts for --publish with the
// same arguments.
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
    const int status = scribvane::RunPublishCommand(arguments, scribvane::ProgramFolder(),
                                                    std::cout, std::cerr, environment);
    std::cout.flush();
    return std::cout ? status : 1;
}
