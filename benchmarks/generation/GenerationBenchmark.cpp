// Speed of the letter merge and of reading and writing config.dat as the feature and
// testimonial lists grow; every run should grow linearly with the list length.
#include "generation/LetterGenerator.h"
#include "lists/Records.h"
#include "persistence/ConfigFormat.h"
#include "persistence/LetterConfiguration.h"
#include "utils/FileIo.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <stdlib.h>
#include <string>

namespace scribvane {
namespace {

// A folder that lives as long as the benchmark that made it.
class BenchFolder {
public:
    BenchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "scribvane-bench-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::vector<std::string> Features(std::int64_t count) {
    std::vector<std::string> records;
    for (std::int64_t i = 0; i < count; ++i) {
        records.push_back(MakeFeatureRecord("Feature title " + std::to_string(i),
                                            "A body of two lines\r\nwith some words in it"));
    }
    return records;
}

std::vector<std::string> Testimonials(std::int64_t count) {
    std::vector<std::string> records;
    for (std::int64_t i = 0; i < count; ++i) {
        records.push_back(MakeTestimonialRecord("Customer " + std::to_string(i),
                                                "http://customer.test/",
                                                "Great product.\r\nWould buy again."));
    }
    return records;
}

LetterConfiguration Configuration(std::int64_t count) {
    LetterConfiguration config;
    config.Set(Tag::PageTitle, std::string("A title"));
    config.Set(Tag::prfEditor2, std::string("<p>An introduction paragraph of some length.</p>"));
    config.Set(Tag::Features, Features(count));
    config.Set(Tag::Testimonials, Testimonials(count));
    return config;
}

constexpr std::string_view kTemplate =
    "<html><head><title>%%PAGETITLE%%</title></head><body bgcolor=%%MAINBGCOLOR%%>\r\n"
    "%%HEADERPICTURE%%%%ORDERHEADLINE%%%%FROMFULLNAME%%%%CURRENTDATE%%%%ATTENTION%%\r\n"
    "%%OPENING%%%%INTRODUCTION%%%%FEATURES%%%%TESTIMONIALS%%%%CLOSING%%%%PS%%\r\n"
    "%%ORDERCODE%%%%CLICKBANKCODE%%%%PAYPALCODE%%%%AFFILIATEID%%%%FOOTERPICTURE%%\r\n"
    "</body></html>\r\n";

void BM_GenerateLetter(benchmark::State& state) {
    BenchFolder folder;
    WriteFileAtomically(folder.path() / "Classic.tem", kTemplate);
    LetterValues values;
    values.templateFolder = folder.path();
    values.templateName = "Classic";
    values.outputFileName = (folder.path() / "index.html").string();
    values.pageTitle = "A title";
    values.directLink = "http://shop.test/";
    values.clickBankName = "seller";
    values.features = Features(state.range(0));
    values.testimonials = Testimonials(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(GenerateLetter(values));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_GenerateLetter)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_ReadConfiguration(benchmark::State& state) {
    BenchFolder folder;
    const auto file = folder.path() / "config.dat";
    WriteConfigurationFile(file, Configuration(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadConfigurationFile(file));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadConfiguration)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The file write includes an fsync, whose cost depends on the disk, so the text is measured
// on its own as well.
void BM_WriteConfigurationText(benchmark::State& state) {
    const LetterConfiguration config = Configuration(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteConfiguration(config.ToTexts()));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WriteConfigurationText)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_WriteConfigurationFile(benchmark::State& state) {
    BenchFolder folder;
    const LetterConfiguration config = Configuration(state.range(0));
    for (auto _ : state) {
        WriteConfigurationFile(folder.path() / "config.dat", config);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WriteConfigurationFile)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
} // namespace scribvane

BENCHMARK_MAIN();
