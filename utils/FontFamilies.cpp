// Font families and their fallbacks; see FontFamilies.h.
#include "utils/FontFamilies.h"

#include "utils/TextHelpers.h"

#include <array>

namespace scribvane {
namespace {

constexpr std::array<std::string_view, 8> kEverywhere = {
    "Arial",  "Courier New",     "Georgia",      "Helvetica",
    "Tahoma", "Times New Roman", "Trebuchet MS", "Verdana"};

constexpr std::array<std::string_view, 16> kSerifs = {"Times New Roman",
                                                      "Times",
                                                      "Georgia",
                                                      "Garamond",
                                                      "Palatino",
                                                      "Palatino Linotype",
                                                      "Book Antiqua",
                                                      "Baskerville",
                                                      "Cambria",
                                                      "Constantia",
                                                      "Didot",
                                                      "Bodoni MT",
                                                      "Merriweather",
                                                      "Playfair Display",
                                                      "Lora",
                                                      "Century Schoolbook"};

bool Contains(std::string_view text, std::string_view word) {
    return FindIgnoringAsciiCase(text, word) != std::string_view::npos;
}

bool IsOneOf(std::string_view family, std::span<const std::string_view> names) {
    for (const std::string_view name : names) {
        if (family.size() == name.size() && StartsWithIgnoringAsciiCase(family, name)) {
            return true;
        }
    }
    return false;
}

} // namespace

FontKind KindOfFont(std::string_view family) {
    for (const std::string_view word : {"mono", "courier", "consol", "code", "typewriter"}) {
        if (Contains(family, word)) {
            return FontKind::Monospace;
        }
    }
    if (IsOneOf(family, kSerifs) || (Contains(family, "serif") && !Contains(family, "sans"))) {
        return FontKind::Serif;
    }
    return FontKind::SansSerif;
}

std::string_view FallbackFonts(FontKind kind) {
    switch (kind) {
    case FontKind::Serif:
        return ", Georgia, serif";
    case FontKind::Monospace:
        return ", 'Courier New', monospace";
    case FontKind::SansSerif:
        break;
    }
    return ", sans-serif";
}

std::span<const std::string_view> FontsEveryVisitorHas() {
    return kEverywhere;
}

bool EveryVisitorHas(std::string_view family) {
    return IsOneOf(family, kEverywhere);
}

} // namespace scribvane
