// The letter merge; see LetterGenerator.h.
#include "generation/LetterGenerator.h"

#include "generation/LetterOutput.h"
#include "generation/ListBlocks.h"
#include "generation/MergeSteps.h"
#include "generation/TemplateCatalogue.h"
#include "utils/FileIo.h"
#include "utils/LargeBuffers.h"
#include "utils/TextHelpers.h"
#include "utils/TextSink.h"

#include <cstring>
#include <memory>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace scribvane {
namespace {

// Where the next "%%" starts in [from, end), or end; sixteen bytes at a time where it can.
const char* FindPercentPair(const char* from, const char* end) {
#ifdef __SSE2__
    const __m128i percent = _mm_set1_epi8('%');
    while (end - from >= 17) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 1));
        const int pairs = _mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(here, percent), _mm_cmpeq_epi8(next, percent)));
        if (pairs != 0) {
            return from + __builtin_ctz(static_cast<unsigned>(pairs));
        }
        from += 16;
    }
#endif
    for (; end - from >= 2; ++from) {
        if (from[0] == '%' && from[1] == '%') {
            return from;
        }
    }
    return end;
}

// One step of the merge as a stage the page flows through on its way out: every occurrence of
// the placeholder, left to right and without overlap, is replaced by the step's value. What a
// stage puts in goes on to the later stages, which see it as page text, and never back
// through the stage itself; that is the replacement rule of one step, and chaining the stages
// in table order gives the merge without ever holding the page.
//
// A placeholder can be cut between two pieces. The bytes at a piece's end that could begin
// one are held until the next piece says whether they do.
class StepStage final : public TextSink {
public:
    // `nextStage` is `next` when that is the stage of a later step, else null.
    StepStage(const MergeStep& step, const MergeInput& input, std::string value, TextSink& next,
              StepStage* nextStage)
        : step_(step), input_(input), value_(std::move(value)), next_(next), nextStage_(nextStage) {
    }

    void Put(std::string_view text) override {
        if (held_.empty()) {
            Scan(text);
        } else {
            Resume(text, false);
        }
    }

    // Takes a piece already seen to hold no "%%" and not to end in '%': no placeholder of any
    // step can start inside it, so it is not searched again, only joined to bytes still held.
    // Most of a long list passes the later steps this way.
    void PutWithoutPairs(std::string_view text) {
        if (held_.empty()) {
            PassOnWithoutPairs(text);
        } else {
            Resume(text, true);
        }
    }

    // The page has ended: bytes still held were not a placeholder.
    void Finish() {
        PassOn(held_);
        held_.clear();
    }

private:
    std::string_view pattern() const { return step_.placeholder; }

    void PassOn(std::string_view text) {
        if (!text.empty()) {
            next_.Put(text);
        }
    }

    void PassOnWithoutPairs(std::string_view text) {
        if (nextStage_ == nullptr) {
            PassOn(text);
        } else if (!text.empty()) {
            nextStage_->PutWithoutPairs(text);
        }
    }

    void PutValue() {
        if (step_.write != nullptr) {
            step_.write(input_, next_);
        } else {
            PassOn(value_);
        }
    }

    // Every placeholder starts with "%%" and a byte other than '%', so only the last two signs
    // of a run of them can begin one: the search goes from pair to pair of signs, past the
    // single ones that pages are full of ("90%").
    void Scan(std::string_view text) {
        const std::size_t size = text.size();
        const std::size_t width = pattern().size();
        const char* const data = text.data();
        std::size_t passed = 0; // what comes before has been handed on
        std::size_t from = 0;
        bool pairs = false;
        while (from < size) {
            const char* const hit = FindPercentPair(data + from, data + size);
            if (hit == data + size) {
                break;
            }
            pairs = true;
            std::size_t end = static_cast<std::size_t>(hit - data) + 2;
            while (end < size && text[end] == '%') {
                ++end;
            }
            const std::size_t start = end - 2;
            if (end == size || size - start < width) {
                if (end == size || pattern().starts_with(text.substr(start))) {
                    // It may go on in the next piece.
                    PassOn(text.substr(passed, start - passed));
                    held_.assign(text.substr(start));
                    return;
                }
            } else if (text.compare(start, width, pattern()) == 0) {
                PassOn(text.substr(passed, start - passed));
                PutValue();
                passed = from = start + width;
                continue;
            }
            from = end;
        }
        // A last single sign may pair with the next piece's first byte.
        if (from < size && text.back() == '%') {
            PassOn(text.substr(passed, size - 1 - passed));
            held_ = "%";
            return;
        }
        if (pairs) {
            PassOn(text.substr(passed));
        } else {
            PassOnWithoutPairs(text);
        }
    }

    // The held bytes begin the placeholder; the first bytes of the new piece decide whether it
    // is one, or whether one begins later among the held bytes, or whether the piece is too
    // short to tell (and is held with them).
    void Resume(std::string_view text, bool withoutPairs) {
        const std::size_t held = held_.size();
        const std::size_t width = pattern().size();
        joined_.assign(held_).append(text.substr(0, width - 1));
        const std::string_view joined(joined_);
        for (std::size_t start = 0; start < held; ++start) {
            const std::string_view rest = joined.substr(start);
            if (rest.size() >= width) {
                if (rest.starts_with(pattern())) {
                    PassOn(joined.substr(0, start));
                    held_.clear();
                    PutValue();
                    ScanRest(text.substr(start + width - held), withoutPairs);
                    return;
                }
            } else if (pattern().starts_with(rest)) {
                // Only when the whole piece is in `joined`: it is held too.
                PassOn(joined.substr(0, start));
                held_.assign(rest);
                return;
            }
        }
        PassOn(held_);
        held_.clear();
        ScanRest(text, withoutPairs);
    }

    void ScanRest(std::string_view text, bool withoutPairs) {
        if (withoutPairs) {
            PassOnWithoutPairs(text);
        } else {
            Scan(text);
        }
    }

    const MergeStep& step_;
    const MergeInput& input_;
    const std::string value_;
    TextSink& next_;
    StepStage* const nextStage_;
    std::string held_; // a beginning of the placeholder, shorter than it
    std::string joined_;
};

} // namespace

std::string ReadTemplateText(const std::filesystem::path& path) {
    return TemplateTextAsAnsi(NormalizeLines(ReadFileBytes(path)));
}

// Every step replaces its placeholder in the whole page, values inserted by earlier steps
// included; an empty value removes it.
void MergePageInto(std::string_view page, const MergeInput& given, TextSink& out) {
    MergeInput input = given;
    input.templateText = page;
    const auto steps = LetterSteps(input.writer);
    // The values come first, in table order.
    std::vector<std::string> made(steps.size());
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const MergeStep& step = steps[i];
        if (step.value != nullptr && step.runs(input)) {
            made[i] = step.value(input);
        }
    }
    // Built back to front, each stage handing on to the one of the next step.
    std::vector<std::unique_ptr<StepStage>> stages;
    TextSink* next = &out;
    StepStage* nextStage = nullptr;
    for (std::size_t i = steps.size(); i-- > 0;) {
        if (steps[i].get().runs(input)) {
            stages.push_back(
                std::make_unique<StepStage>(steps[i], input, std::move(made[i]), *next, nextStage));
            next = nextStage = stages.back().get();
        }
    }
    if (!page.empty()) {
        next->Put(page);
    }
    for (auto stage = stages.rbegin(); stage != stages.rend(); ++stage) {
        (*stage)->Finish();
    }
}

void MergeLetterInto(std::string_view page, const LetterValues& values, TextSink& out) {
    // The template asks for its blocks; values inserted later cannot change that.
    const BlockWriter& writer = WriterForTemplate(page);
    const LetterPictures pictures = PlaceLetterPictures(values, writer.Markup().sizesPictures);
    WriteLetterFiles(pictures.files, values.outputFileName);
    MergePageInto(page, {values, pictures, writer}, out);
}

std::string MergePage(std::string_view page, const MergeInput& input) {
    // The window collects whole letters, of megabytes for long lists. Room for the page and
    // each list once is reserved up front and backed by large pages where the system has them,
    // so the letter is not moved as it grows and its memory comes in few large pieces; room
    // that stays unused costs address space only.
    const LetterValues& values = input.values;
    std::string merged;
    std::size_t room = page.size() + page.size() / 2 +
                       TestimonialsHtmlRoom(values.testimonials, values.testimonialStyle);
    if (!values.features.empty()) {
        room += FeaturesHtmlRoom(values.features, values.featureStyle);
    }
    merged.reserve(room);
    PreferLargePages(merged);
    StringSink sink(merged);
    MergePageInto(page, input, sink);
    return merged;
}

std::string MergeLetter(std::string page, const LetterValues& values) {
    const BlockWriter& writer = WriterForTemplate(page);
    const LetterPictures pictures = PlaceLetterPictures(values, writer.Markup().sizesPictures);
    WriteLetterFiles(pictures.files, values.outputFileName);
    return MergePage(page, {values, pictures, writer});
}

std::string GenerateLetter(const LetterValues& values) {
    return GenerateLetterPage(values).page;
}

GeneratedLetter GenerateLetterPage(const LetterValues& values) {
    const auto templateFile = FindTemplateFile(values.templateFolder, values.templateName);
    if (!templateFile) {
        return {};
    }
    const std::string text = ReadTemplateText(*templateFile);
    const PageEncoding encoding = PageEncodingOf(text);
    return {MergeLetter(text, values), encoding};
}

} // namespace scribvane
