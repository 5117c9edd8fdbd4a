// Which blocks the merge inserts: the ones every template has always had, or the html5 ones a
// template asks for with the generator line in its head.
#pragma once

#include <string_view>

namespace scribvane {

enum class BlockDialect {
    Specified, // font tags, tables and script buttons, byte for byte as always
    Html5,     // valid, accessible markup that needs no script
};

// The line a template carries to get the html5 dialect.
inline constexpr std::string_view kHtml5Marker =
    R"(<meta name="generator" content="Scribvane html5">)";

// Html5 when the template text holds the marker before its body, else Specified.
BlockDialect DialectOf(std::string_view templateText);

} // namespace scribvane
