// The small text routines every subsystem shares: record splitting, line-break encoding,
// colour text, the editor fragment, and the one replacement rule used for every merge.
//
// All text is single-byte Windows-1252 in std::string; positions are bytes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace scribvane {

// A colour as the colour choosers hold it: red in bits 0-7, green 8-15, blue 16-23.
using ColorValue = std::uint32_t;

// Replaces every occurrence of `pattern` (exact case) in one left-to-right pass without
// overlap; the inserted text is not scanned again. An empty pattern changes nothing.
std::string ReplaceAll(std::string_view text, std::string_view pattern, std::string_view value);

// The same rule on the text itself; a text that does not hold the pattern is left untouched
// rather than copied, which matters when many steps run over a large page.
void ReplaceAllIn(std::string& text, std::string_view pattern, std::string_view value);

// Clears `pieces` and fills it with the text between delimiters. A leading delimiter gives an
// empty first piece, adjacent delimiters an empty piece between them, and a final piece is
// only added when it is not empty.
void SplitByChar(char delimiter, std::string_view text, std::vector<std::string>& pieces);

// Drops one trailing CR LF, then stores every CR LF as "$$" (records are one line each).
std::string EncodeLineBreaks(std::string_view text);

// Reads HTML colour text ("#RRGGBB", either case, '#' anywhere ignored). Short texts follow the
// join rule ("#FF00" is red). Throws ConversionError naming the joined hexadecimal text.
ColorValue HtmlToColor(std::string_view text);

// "#RRGGBB" with upper-case digits; the top byte of the value is ignored.
std::string ColorToHtml(ColorValue color);

// Reduces an editing area's document markup to the stored fragment: the fixed wrapper tags,
// every LF, every pair of spaces and every CR are removed, in that order.
std::string StripEditorDocument(std::string_view markup);

// A-Z lowered; every other byte, accented letters included, stays as it is. File formats of
// this program compare names this way.
char LowerAscii(char c);
std::string LowerAscii(std::string_view text);
bool EqualsIgnoringAsciiCase(std::string_view left, std::string_view right);
bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);
// Where `needle` first stands in `text` at or after `from`, ASCII letter case ignored; npos
// when it does not.
std::size_t FindIgnoringAsciiCase(std::string_view text, std::string_view needle,
                                  std::size_t from = 0);

// Whether the text is an address on the web: it starts with "http://" or "https://", in any
// letter case.
bool IsWebAddress(std::string_view text);

// The host of an absolute address ("https://Shop.example:8080/x" gives "shop.example"),
// lower-case; empty for a relative one.
std::string AddressHost(std::string_view address);
// Whether `host` is `domain` or a name under it ("eu.shop.example" under "shop.example"), not
// merely ending in its letters ("notshop.example").
bool HostIsWithin(std::string_view host, std::string_view domain);

// Whether the text holds nothing but blanks (spaces and tabs).
bool IsBlankText(std::string_view text);

// The text without blanks (spaces and tabs) at either end.
std::string_view TrimBlanks(std::string_view text);

// The pieces one after the other, with nothing between them: the blocks a letter is built
// from are written as tables of pieces.
std::string JoinPieces(std::initializer_list<std::string_view> pieces);

// Splits bytes into lines (CR LF, lone CR and lone LF each end a line; the first NUL ends the
// text) and joins them again with CR LF after every line.
std::string NormalizeLines(std::string_view bytes);

// Whether every line break of the text is a CR LF and it holds no NUL: a piece of a text
// with normal lines.
bool HasOnlyCrLfBreaks(std::string_view text);

// Whether NormalizeLines would give the text back unchanged: no NUL, every line break a CR LF,
// and a non-empty text ends with one. Lets a caller keep a text instead of copying it.
bool HasNormalLines(std::string_view text);

// Where every line of the text ends (the position of its CR), for a reader that keeps the
// text whole instead of copying each line out; a last line without a line break adds
// nothing. False, with `ends` cleared, when the text holds a NUL, a lone CR or a lone LF:
// such a text needs SplitLines.
bool FindCrLfLineEnds(std::string_view text, std::vector<std::size_t>& ends);

// Splits a text into lines at CR LF, lone CR or lone LF. A final line break adds no empty
// line; an empty text gives no lines.
std::vector<std::string> SplitLines(std::string_view text);

} // namespace scribvane
