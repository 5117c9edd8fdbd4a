// Writes an editing area's document in the one fixed text form that the configuration file and
// the letter carry: lower-case names, quoted attributes, blocks on their own indented lines,
// the fixed head, and Windows-1252 text in which nothing is lost.
//
// The form is built so that StripEditorDocument (utils/TextHelpers.h) never changes its
// meaning: the form's own line breaks and indentation carry nothing, ordinary text never holds
// two spaces in a row, and where line breaks or space runs do matter (pre, textarea, attribute
// values) they are written as numeric references. Serializing a document set from a stripped
// result therefore gives the same text again.
#pragma once

#include <string>
#include <string_view>

namespace scribvane {

// The whole document: "<html>", the fixed head, the body, "</html>", lines ending in CR LF.
// Takes markup as UTF-8 (the engine's outerHTML), gives Windows-1252 text. Markup the parser
// would read back differently is written as a reload of it reads, so the result is stable.
// Comments, scripts, style sheets and head content are left out.
std::string SerializeDocument(std::string_view utf8Html);

// The body element alone in the same form; a body without visible content gives exactly
// "<body>&nbsp;</body>".
std::string SerializeBody(std::string_view utf8Html);

// A stored fragment as a whole document: markup that names no html, head or body element is
// wrapped so that all of it lands in the body; anything else is returned unchanged. Works on
// any ASCII-compatible encoding.
std::string FragmentToDocument(std::string_view fragment);

} // namespace scribvane
