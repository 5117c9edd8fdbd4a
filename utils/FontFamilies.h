// What a visitor's browser does with a font family the letter names: the families every
// visitor has, and the kind a family belongs to, so a page that names a family the visitor
// lacks falls back to one of the same kind (a serif for a serif) instead of any sans-serif.
#pragma once

#include <span>
#include <string_view>

namespace scribvane {

enum class FontKind { SansSerif, Serif, Monospace };

// By the families known of each kind, else by the words in the name ("Serif" without "Sans",
// "Mono", "Courier", "Code"); any other family counts as sans-serif.
FontKind KindOfFont(std::string_view family);

// The CSS to follow the family: ", Georgia, serif", ", 'Courier New', monospace" or
// ", sans-serif".
std::string_view FallbackFonts(FontKind kind);

// The families found on the systems almost all visitors use.
std::span<const std::string_view> FontsEveryVisitorHas();
bool EveryVisitorHas(std::string_view family); // letter case ignored

} // namespace scribvane
