// Speed of the letter merge and of reading and writing config.dat as the feature and
// testimonial lists grow, and as one value grows; every run should grow linearly with the list
// length or the value size. The byte-moving cases beside them give the floor to compare with.
#include "BenchLetter.h"
#include "generation/LetterCheck.h"
#include "generation/LetterGenerator.h"
#include "generation/LetterValues.h"
#include "persistence/ConfigFormat.h"
#include "persistence/LetterConfiguration.h"
#include "utils/FileIo.h"

#include <benchmark/benchmark.h>
#include <cstring>
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

using bench::Features;
using bench::Testimonials;

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

// 100 to 10,000 features and testimonials, fitted to a line: every run should grow linearly.
void EntryCounts(benchmark::internal::Benchmark* run) {
    run->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

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
BENCHMARK(BM_GenerateLetter)->Apply(EntryCounts);

// Reads the configuration of state.range(0) features and testimonials from a file, each time.
template <typename Read>
void ReadEachTime(benchmark::State& state, Read read) {
    BenchFolder folder;
    const auto file = folder.path() / "config.dat";
    WriteConfigurationFile(file, Configuration(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(read(file));
    }
    state.SetComplexityN(state.range(0));
}

void BM_ReadConfiguration(benchmark::State& state) {
    ReadEachTime(state, ReadConfigurationFile);
}
BENCHMARK(BM_ReadConfiguration)->Apply(EntryCounts);

// The headless command's read: the file mapped rather than copied.
void BM_ReadMappedConfiguration(benchmark::State& state) {
    ReadEachTime(state, ReadMappedConfigurationFile);
}
BENCHMARK(BM_ReadMappedConfiguration)->Apply(EntryCounts);

// The floor for reading a configuration: its bytes into memory, and a plain copy of them.
void BM_ReadConfigurationBytes(benchmark::State& state) {
    ReadEachTime(state, ReadFileBytes);
}
BENCHMARK(BM_ReadConfigurationBytes)->Apply(EntryCounts);

void BM_CopyConfigurationBytes(benchmark::State& state) {
    const std::string bytes = WriteConfiguration(Configuration(state.range(0)).ToTexts());
    for (auto _ : state) {
        std::string copy(bytes.size(), '\0');
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::DoNotOptimize(copy);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CopyConfigurationBytes)->Apply(EntryCounts);

// The shipped sample letter as the preview merges it: the template already read, the values
// of the sample configuration.
void BM_MergeSampleLetter(benchmark::State& state) {
    const std::filesystem::path templates = SCRIBVANE_TEMPLATES_DIR;
    const std::string page = ReadTemplateText(templates / "Classic.tem");
    const LetterValues values =
        LetterValuesFromConfiguration(ReadConfigurationFile(templates / "sample-config.dat"),
                                      templates, "Classic", "letter.html");
    for (auto _ : state) {
        benchmark::DoNotOptimize(MergeLetter(page, values));
    }
}
BENCHMARK(BM_MergeSampleLetter)->Unit(benchmark::kMicrosecond);

// The letter check of the sample letter, as step 8 and the preview run it.
void BM_CheckSampleLetter(benchmark::State& state) {
    const std::filesystem::path templates = SCRIBVANE_TEMPLATES_DIR;
    const std::string page = ReadTemplateText(templates / "Classic.tem");
    const LetterValues values =
        LetterValuesFromConfiguration(ReadConfigurationFile(templates / "sample-config.dat"),
                                      templates, "Classic", "letter.html");
    for (auto _ : state) {
        benchmark::DoNotOptimize(CheckLetter(values, {page, true, {}}));
    }
}
BENCHMARK(BM_CheckSampleLetter)->Unit(benchmark::kMicrosecond);

// One value of N bytes put in several places, and holding a later step's placeholder, so
// every later step scans it.
void BM_MergeLargeValue(benchmark::State& state) {
    const std::string page(kTemplate);
    LetterValues values;
    values.pageTitle = std::string(static_cast<std::size_t>(state.range(0)), 'x') + "%%FULLNAME%%";
    values.fullName = "Ann";
    values.paypalCode = std::string(static_cast<std::size_t>(state.range(0)), '%');
    values.outputFileName = "letter.html";
    for (auto _ : state) {
        benchmark::DoNotOptimize(MergeLetter(page, values));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_MergeLargeValue)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Arg(16 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// A configuration whose one passage is N bytes.
void BM_ReadConfigurationLargeValue(benchmark::State& state) {
    BenchFolder folder;
    const auto file = folder.path() / "config.dat";
    LetterConfiguration config;
    config.Set(Tag::prfEditor2, std::string(static_cast<std::size_t>(state.range(0)), 'x'));
    WriteConfigurationFile(file, config);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadConfigurationFile(file));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadConfigurationLargeValue)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Arg(16 << 20)
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
BENCHMARK(BM_WriteConfigurationText)->Apply(EntryCounts);

void BM_WriteConfigurationFile(benchmark::State& state) {
    BenchFolder folder;
    const LetterConfiguration config = Configuration(state.range(0));
    for (auto _ : state) {
        WriteConfigurationFile(folder.path() / "config.dat", config);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WriteConfigurationFile)->Apply(EntryCounts);

} // namespace
} // namespace scribvane

BENCHMARK_MAIN();
