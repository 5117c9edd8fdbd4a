// Shared text routines; see TextHelpers.h.
#include "utils/TextHelpers.h"

#include "utils/Errors.h"
#include "utils/TextCoding.h"
#include "utils/TextSink.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#ifdef __x86_64__
#include <immintrin.h>
#endif

namespace scribvane {
namespace {

// Where the next CR or LF stands in [from, end), or end. Lines of a configuration are short,
// so a search per line for each of the two bytes costs more in calls than in bytes; this
// looks at sixteen bytes at a time for either.
const char* FindLineBreak(const char* from, const char* end) {
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - from >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const int hits =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (hits != 0) {
            return from + __builtin_ctz(static_cast<unsigned>(hits));
        }
        from += 16;
    }
#endif
    while (from < end && *from != '\r' && *from != '\n') {
        ++from;
    }
    return from;
}

// Calls onLine(line) for every line of text; returns nothing. Shared by the two line readers
// so both agree on what a line break is; the text is scanned once for its breaks.
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine onLine) {
    if (const auto nul = text.find('\0'); nul != std::string_view::npos) {
        text = text.substr(0, nul);
    }
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* start = begin;
    while (start < end) {
        const char* const lineEnd = FindLineBreak(start, end);
        onLine(std::string_view(start, static_cast<std::size_t>(lineEnd - start)));
        if (lineEnd == end) {
            return;
        }
        start = lineEnd + ((*lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n') ? 2 : 1);
    }
}

// The state of a scan for line breaks that are not CR LF, and NULs. Configuration texts are
// megabytes of short lines, and looking at each pair of bytes costs more than the bytes:
// instead every LF found is checked to follow a CR, and then every CR is followed by an LF
// exactly when there are as many CRs as LFs. CRs and NULs are only counted and noted, a
// vector of bytes at a time.
template <typename OnLineEnd>
struct CrLfScan {
    std::string_view text;
    OnLineEnd& onLineEnd;
    std::size_t at = 0;
    std::size_t crs = 0;
    std::size_t lfs = 0;

    bool LineFeedAt(std::size_t lf) {
        if (lf == 0 || text[lf - 1] != '\r') {
            return false;
        }
        ++lfs;
        onLineEnd(lf - 1);
        return true;
    }

    // Hands every LF of a block's mask (a bit for each byte from `at`) to LineFeedAt.
    bool LineFeeds(std::uint32_t found) {
        for (; found != 0; found &= found - 1) {
            if (!LineFeedAt(at + static_cast<unsigned>(__builtin_ctz(found)))) {
                return false;
            }
        }
        return true;
    }

    // A byte lane counts at most 255 CRs before they are added up: where the blocks of
    // `width` bytes from `at` stop for that.
    std::size_t CountStop(std::size_t width) const {
        return at + std::min((text.size() - at) / width, std::size_t{255}) * width;
    }

    bool Rest() {
        for (; at < text.size(); ++at) {
            if (text[at] == '\0' || (text[at] == '\n' && !LineFeedAt(at))) {
                return false;
            }
            crs += text[at] == '\r' ? 1 : 0;
        }
        return crs == lfs;
    }
};

#ifdef __SSE2__
template <typename Scan>
bool ScanBlocksOf16(Scan& scan) {
    const __m128i zero = _mm_setzero_si128();
    while (scan.text.size() - scan.at >= 16) {
        const std::size_t stop = scan.CountStop(16);
        __m128i crCounts = zero;
        __m128i nuls = zero;
        for (; scan.at < stop; scan.at += 16) {
            const __m128i bytes =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(scan.text.data() + scan.at));
            crCounts = _mm_sub_epi8(crCounts, _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')));
            nuls = _mm_or_si128(nuls, _mm_cmpeq_epi8(bytes, zero));
            if (!scan.LineFeeds(static_cast<std::uint32_t>(
                    _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')))))) {
                return false;
            }
        }
        if (_mm_movemask_epi8(nuls) != 0) {
            return false;
        }
        const __m128i sums = _mm_sad_epu8(crCounts, zero);
        scan.crs += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                    static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
    return true;
}
#endif

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define SCRIBVANE_HAS_AVX2_SCAN 1
// The same 32 bytes at a time, on a processor that has the instructions.
template <typename Scan>
__attribute__((target("avx2"))) bool ScanBlocksOf32(Scan& scan) {
    const __m256i zero = _mm256_setzero_si256();
    while (scan.text.size() - scan.at >= 32) {
        const std::size_t stop = scan.CountStop(32);
        __m256i crCounts = zero;
        __m256i nuls = zero;
        for (; scan.at < stop; scan.at += 32) {
            const __m256i bytes =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(scan.text.data() + scan.at));
            crCounts = _mm256_sub_epi8(crCounts, _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('\r')));
            nuls = _mm256_or_si256(nuls, _mm256_cmpeq_epi8(bytes, zero));
            if (!scan.LineFeeds(static_cast<std::uint32_t>(
                    _mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('\n')))))) {
                return false;
            }
        }
        if (_mm256_movemask_epi8(nuls) != 0) {
            return false;
        }
        const __m256i sums = _mm256_sad_epu8(crCounts, zero);
        const __m128i halves =
            _mm_add_epi64(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
        scan.crs += static_cast<std::size_t>(_mm_cvtsi128_si64(halves)) +
                    static_cast<std::size_t>(_mm_cvtsi128_si64(_mm_srli_si128(halves, 8)));
    }
    return true;
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2") != 0;
    return has;
}
#endif

// Whether every line break of the text is a CR LF and it holds no NUL; calls
// onLineEnd(position of the CR) for every CR LF, in order.
template <typename OnLineEnd>
bool ScanCrLfBreaks(std::string_view text, OnLineEnd onLineEnd) {
    CrLfScan<OnLineEnd> scan{text, onLineEnd};
#ifdef SCRIBVANE_HAS_AVX2_SCAN
    if (HasAvx2() && !ScanBlocksOf32(scan)) {
        return false;
    }
#endif
#ifdef __SSE2__
    if (!ScanBlocksOf16(scan)) {
        return false;
    }
#endif
    return scan.Rest();
}

} // namespace

std::string ReplaceAll(std::string_view text, std::string_view pattern, std::string_view value) {
    if (pattern.empty()) {
        return std::string(text);
    }
    std::size_t hit = text.find(pattern);
    if (hit == std::string_view::npos) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size() + (value.size() > pattern.size() ? value.size() - pattern.size() : 0));
    std::size_t start = 0;
    while (hit != std::string_view::npos) {
        out.append(text, start, hit - start);
        out.append(value);
        start = hit + pattern.size();
        hit = text.find(pattern, start);
    }
    out.append(text, start, std::string_view::npos);
    return out;
}

void ReplaceAllIn(std::string& text, std::string_view pattern, std::string_view value) {
    if (!pattern.empty() && text.find(pattern) != std::string::npos) {
        text = ReplaceAll(text, pattern, value);
    }
}

void SplitByChar(char delimiter, std::string_view text, std::vector<std::string>& pieces) {
    pieces.clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == delimiter) {
            pieces.emplace_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    if (start < text.size()) {
        pieces.emplace_back(text.substr(start));
    }
}

std::string EncodeLineBreaks(std::string_view text) {
    if (text.ends_with("\r\n")) {
        text.remove_suffix(2);
    }
    return ReplaceAll(text, "\r\n", "$$");
}

ColorValue HtmlToColor(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        if (c != '#') {
            digits += c;
            if (digits.size() == 6) {
                break;
            }
        }
    }
    const auto part = [&](std::size_t from) {
        return from < digits.size() ? digits.substr(from, 2) : std::string();
    };
    const std::string joined = "$00" + part(4) + part(2) + part(0);
    ColorValue value = 0;
    for (std::size_t i = 1; i < joined.size(); ++i) {
        const int digit = HexDigitValue(joined[i]);
        if (digit < 0) {
            throw ConversionError("'" + joined + "' is not a valid integer value");
        }
        value = (value << 4) | static_cast<ColorValue>(digit);
    }
    return value;
}

std::string ColorToHtml(ColorValue color) {
    std::array<char, 8> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "#%02X%02X%02X", color & 0xFFu,
                  (color >> 8) & 0xFFu, (color >> 16) & 0xFFu);
    return std::string(buffer.data(), 7);
}

std::string StripEditorDocument(std::string_view markup) {
    static constexpr std::array<std::string_view, 11> kRemoved = {
        "<html>",
        "<head>",
        "<title></title>",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\" />",
        "</head>",
        "<body>",
        "</body>",
        "</html>",
        "\n",
        "  ",
        "\r",
    };
    std::string result(markup);
    for (const auto removed : kRemoved) {
        ReplaceAllIn(result, removed, "");
    }
    return result;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = LowerAscii(c);
    }
    return lower;
}

bool EqualsIgnoringAsciiCase(std::string_view left, std::string_view right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (LowerAscii(left[i]) != LowerAscii(right[i])) {
            return false;
        }
    }
    return true;
}

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

std::size_t FindIgnoringAsciiCase(std::string_view text, std::string_view needle,
                                  std::size_t from) {
    if (from > text.size()) {
        return std::string_view::npos;
    }
    const auto hit =
        std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), needle.begin(),
                    needle.end(), [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
    return hit == text.end() && !needle.empty() ? std::string_view::npos
                                                : static_cast<std::size_t>(hit - text.begin());
}

bool IsWebAddress(std::string_view text) {
    return StartsWithIgnoringAsciiCase(text, "http://") ||
           StartsWithIgnoringAsciiCase(text, "https://");
}

std::string AddressHost(std::string_view address) {
    const std::size_t scheme = address.find("://");
    if (scheme == std::string_view::npos) {
        return {};
    }
    const std::string_view rest = address.substr(scheme + 3);
    return LowerAscii(rest.substr(0, rest.find_first_of("/?#:")));
}

bool HostIsWithin(std::string_view host, std::string_view domain) {
    return host == domain || (host.size() > domain.size() && host.ends_with(domain) &&
                              host[host.size() - domain.size() - 1] == '.');
}

bool IsBlankText(std::string_view text) {
    return TrimBlanks(text).empty();
}

std::string_view TrimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string JoinPieces(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (const auto piece : pieces) {
        size += piece.size();
    }
    std::string joined;
    joined.reserve(size);
    for (const auto piece : pieces) {
        joined.append(piece);
    }
    return joined;
}

bool HasOnlyCrLfBreaks(std::string_view text) {
    return ScanCrLfBreaks(text, [](std::size_t) {});
}

bool HasNormalLines(std::string_view text) {
    return (text.empty() || text.ends_with("\r\n")) && HasOnlyCrLfBreaks(text);
}

std::string NormalizeLines(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16 + 2);
    StringSink sink(out);
    LineEndSink lines(sink);
    lines.Put(bytes);
    lines.Finish();
    return out;
}

void LineEndSink::Put(std::string_view text) {
    if (ended_ || text.empty()) {
        return;
    }
    if (pendingCr_) {
        next_.Put("\r\n");
        pendingCr_ = false;
        lineOpen_ = false;
        if (text.front() == '\n') {
            text.remove_prefix(1);
        }
    }
    if (const void* nul = std::memchr(text.data(), '\0', text.size())) {
        text =
            text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
        ended_ = true;
    }
    // `run` starts the bytes not yet passed on; they are all correct as they stand.
    const char* const end = text.data() + text.size();
    const char* run = text.data();
    const auto passOn = [&](const char* upTo) {
        if (upTo != run) {
            next_.Put(std::string_view(run, static_cast<std::size_t>(upTo - run)));
        }
    };
    for (const char* at = FindLineBreak(run, end); at != end; at = FindLineBreak(at, end)) {
        if (*at == '\r' && at + 1 < end && at[1] == '\n') {
            at += 2; // already right
            lineOpen_ = false;
            continue;
        }
        passOn(at);
        if (*at == '\r' && at + 1 == end) {
            pendingCr_ = true; // its LF may start the next piece
            run = end;
            lineOpen_ = false;
            break;
        }
        next_.Put("\r\n");
        lineOpen_ = false;
        run = ++at;
    }
    passOn(end);
    // Text after the last break keeps the line open.
    if (end != text.data() && end[-1] != '\n' && end[-1] != '\r') {
        lineOpen_ = true;
    }
    if (ended_) {
        Finish();
    }
}

void LineEndSink::Finish() {
    if (pendingCr_ || lineOpen_) {
        next_.Put("\r\n");
    }
    pendingCr_ = false;
    lineOpen_ = false;
    ended_ = true;
}

bool FindCrLfLineEnds(std::string_view text, std::vector<std::size_t>& ends) {
    ends.clear();
    const bool onlyCrLf = ScanCrLfBreaks(text, [&](std::size_t cr) { ends.push_back(cr); });
    if (!onlyCrLf) {
        ends.clear();
    }
    return onlyCrLf;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

} // namespace scribvane
