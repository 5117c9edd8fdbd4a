// The letter merge; see LetterGenerator.h.
#include "generation/LetterGenerator.h"

#include "generation/MergeSteps.h"
#include "generation/TemplateCatalogue.h"
#include "utils/FileIo.h"
#include "utils/LargeBuffers.h"
#include "utils/TextHelpers.h"

#include <cstring>
#include <vector>

namespace scribvane {
namespace {

// Every placeholder of the step table starts with "%%" and a byte other than '%'. The page
// keeps the positions where such a start stands (a candidate: '%', '%', then anything but
// '%'), so a step looks only at those instead of scanning the whole page, and a run of
// percent signs is one candidate rather than one per sign. The list is kept up to date as
// steps replace text, rescanning only what a step inserted and the two bytes before each
// insertion, where a new start can form across the join.
bool CanStartAt(std::string_view placeholder) {
    return placeholder.size() >= 3 && placeholder.starts_with("%%") && placeholder[2] != '%';
}

// Appends, in order, the candidates of `text` that start in [from, to).
void FindCandidates(std::string_view text, std::size_t from, std::size_t to,
                    std::vector<std::size_t>& candidates) {
    const char* const base = text.data();
    while (from < to) {
        const void* hit = std::memchr(base + from, '%', to - from);
        if (hit == nullptr) {
            return;
        }
        const auto first = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
        auto end = first + 1;
        while (end < text.size() && text[end] == '%') {
            ++end;
        }
        // Only the last two signs of a run can start a placeholder, and only when a byte
        // follows them; a run that began before `from` was seen by whoever scanned there.
        if (end - first >= 2 && end < text.size() && end - 2 < to) {
            candidates.push_back(end - 2);
        }
        from = end;
    }
}

class PageText {
public:
    explicit PageText(std::string text) : text_(std::move(text)) {
        FindCandidates(text_, 0, text_.size(), candidates_);
    }

    // The replacement rule: every occurrence, left to right, without overlap; what is put in
    // is not searched again by this call, but every later call sees it.
    void ReplaceAll(std::string_view placeholder, std::string value) {
        if (!CanStartAt(placeholder)) {
            ReplaceAllIn(text_, placeholder, value); // not a table placeholder: plain scan
            candidates_.clear();
            FindCandidates(text_, 0, text_.size(), candidates_);
            return;
        }
        hits_.clear();
        std::size_t next = 0;
        for (const std::size_t at : candidates_) {
            if (at >= next && text_.compare(at, placeholder.size(), placeholder) == 0) {
                hits_.push_back(at);
                next = at + placeholder.size();
            }
        }
        if (hits_.empty()) {
            return;
        }
        const std::size_t width = placeholder.size();
        const std::size_t valueSize = value.size();
        std::string page = Replaced(width, std::move(value));
        CarryCandidates(page, width, valueSize);
        text_ = std::move(page);
    }

    std::size_t size() const { return text_.size(); }
    std::string Take() && { return std::move(text_); }

private:
    // The page with every hit of `width` bytes replaced by `value`. New memory is what costs
    // most on a page of megabytes, so the page is changed where it is whenever its room allows
    // (a page that shrinks always fits), one hit is replaced in the value's own string when the
    // value is the larger part and has the room (the list blocks reserve it), and a page that
    // must move gets twice its size, so a run of growing steps moves it only now and then.
    std::string Replaced(std::size_t width, std::string value) {
        const std::size_t size = text_.size() - hits_.size() * width + hits_.size() * value.size();
        if (hits_.size() == 1 && value.size() >= text_.size() && value.capacity() >= size) {
            value.insert(0, text_, 0, hits_[0]);
            value.append(text_, hits_[0] + width, std::string::npos);
            return value;
        }
        if (size <= text_.size()) {
            ShrinkInPlace(width, value);
            return std::move(text_);
        }
        if (size <= text_.capacity()) {
            GrowInPlace(width, value, size);
            return std::move(text_);
        }
        std::string page;
        page.reserve(2 * size);
        PreferLargePages(page);
        std::size_t kept = 0;
        for (const std::size_t hit : hits_) {
            page.append(text_, kept, hit - kept).append(value);
            kept = hit + width;
        }
        page.append(text_, kept, std::string::npos);
        return page;
    }

    // Front to back: what is written never passes what is still to be read.
    void ShrinkInPlace(std::size_t width, std::string_view value) {
        char* const page = text_.data();
        std::size_t write = hits_.front();
        std::size_t read = hits_.front();
        for (const std::size_t hit : hits_) {
            std::memmove(page + write, page + read, hit - read);
            write += hit - read;
            std::memcpy(page + write, value.data(), value.size());
            write += value.size();
            read = hit + width;
        }
        std::memmove(page + write, page + read, text_.size() - read);
        text_.resize(write + text_.size() - read);
    }

    // Back to front, within the room the page already has.
    void GrowInPlace(std::size_t width, std::string_view value, std::size_t size) {
        std::size_t read = text_.size();
        text_.resize(size);
        char* const page = text_.data();
        std::size_t write = size;
        for (std::size_t i = hits_.size(); i-- > 0;) {
            const std::size_t kept = read - (hits_[i] + width);
            write -= kept;
            std::memmove(page + write, page + hits_[i] + width, kept);
            write -= value.size();
            std::memcpy(page + write, value.data(), value.size());
            read = hits_[i];
        }
    }

    // Carries the candidates over to the new page: those wholly inside a kept piece move with
    // it, the rest are found again in what was put in and the two bytes before it.
    void CarryCandidates(std::string_view page, std::size_t width, std::size_t valueSize) {
        std::vector<std::size_t> candidates;
        candidates.reserve(candidates_.size());
        std::size_t old = 0;  // next old candidate
        std::size_t from = 0; // where the current kept piece starts in the old page
        for (std::size_t i = 0; i < hits_.size(); ++i) {
            const std::size_t hit = hits_[i];
            const std::size_t moved = i * valueSize - i * width; // wraps back, never below 0
            while (old < candidates_.size() && candidates_[old] < from) {
                ++old;
            }
            while (old < candidates_.size() && candidates_[old] + 2 < hit) {
                candidates.push_back(candidates_[old++] + moved);
            }
            const std::size_t insertedAt = hit + moved;
            const std::size_t pieceStart = from + moved;
            FindCandidates(page, insertedAt >= pieceStart + 2 ? insertedAt - 2 : pieceStart,
                           insertedAt + valueSize, candidates);
            from = hit + width;
        }
        const std::size_t moved = hits_.size() * valueSize - hits_.size() * width;
        for (; old < candidates_.size(); ++old) {
            if (candidates_[old] >= from) {
                candidates.push_back(candidates_[old] + moved);
            }
        }
        candidates_ = std::move(candidates);
    }

    std::string text_;
    std::vector<std::size_t> candidates_; // ascending
    std::vector<std::size_t> hits_;       // scratch of one step
};

} // namespace

std::string ReadTemplateText(const std::filesystem::path& path) {
    return NormalizeLines(ReadFileBytes(path));
}

// Every step replaces its placeholder in the whole page, values inserted by earlier steps
// included; an empty value removes it.
std::string MergeLetter(std::string page, const LetterValues& values) {
    const auto steps = MergeSteps();
    // What the list steps still to come will put in, so a list can reserve room for them
    // (each placeholder taken to stand once; more or fewer only costs a copy).
    std::vector<std::size_t> roomAfter(steps.size() + 1, 0);
    for (std::size_t i = steps.size(); i-- > 0;) {
        roomAfter[i] =
            roomAfter[i + 1] +
            (steps[i].room != nullptr && steps[i].runs(values) ? steps[i].room(values) : 0);
    }
    PageText text(std::move(page));
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (steps[i].runs(values)) {
            text.ReplaceAll(steps[i].placeholder,
                            steps[i].value(values, text.size() + roomAfter[i + 1]));
        }
    }
    return std::move(text).Take();
}

std::string GenerateLetter(const LetterValues& values) {
    const auto templateFile = FindTemplateFile(values.templateFolder, values.templateName);
    if (!templateFile) {
        return {};
    }
    return MergeLetter(ReadTemplateText(*templateFile), values);
}

} // namespace scribvane
