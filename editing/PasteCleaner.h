// Cleans rich text that the user pastes into an editing area: what the formatting toolbar can
// make stays (bold, italic, underline, lists, indentation, alignment, font name, size and
// colours, line breaks, links), everything else goes (classes, style sheets, comments,
// scripts, pictures, word processor and editor namespaces, empty spans). A word processor or a
// web page copies its whole look as markup and inline styles; the letter must carry only what
// the user can see and change in the area.
#pragma once

#include <string>
#include <string_view>

namespace scribvane {

// Takes clipboard HTML as UTF-8 (a fragment or a whole document), gives a UTF-8 fragment
// for the area to insert. Text is never lost: markup that is dropped keeps its text, except
// for content that is not text (scripts, style sheets, head content, pictures, objects).
// Inline styles become the toolbar's own markup: <b>, <i>, <u>, <font face size color> and a
// background-colour span; a block keeps only its alignment.
std::string CleanPastedHtml(std::string_view utf8Html);

} // namespace scribvane
