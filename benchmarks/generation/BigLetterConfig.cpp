// Writes the configuration of a large letter for whole-process timing of scribvane-generate:
// the sample configuration with its feature and testimonial lists replaced by N entries each,
// the same entries the generation benchmark uses.
//
//   scribvane_big_letter_config SAMPLE_CONFIG COUNT OUTPUT
#include "BenchLetter.h"
#include "persistence/LetterConfiguration.h"

#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    using namespace scribvane;
    if (argc != 4) {
        std::cerr << "usage: scribvane_big_letter_config SAMPLE_CONFIG COUNT OUTPUT\n";
        return 2;
    }
    const std::int64_t count = std::strtoll(argv[2], nullptr, 10);
    LetterConfiguration config = ReadConfigurationFile(argv[1]);
    config.Set(Tag::Features, bench::Features(count));
    config.Set(Tag::Testimonials, bench::Testimonials(count));
    WriteConfigurationFile(argv[3], config);
    return 0;
}
