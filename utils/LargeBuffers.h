// Asking the system to back a large buffer with large pages.
#pragma once

#include <string>

namespace scribvane {

// A text of megabytes is filled once, front to back, into fresh memory, and taking that memory
// a small page at a time is then most of what filling it costs. Asks for large pages over the
// whole-page part of `text`'s reserved room; does nothing for a small room or where the
// system has no such advice. The text itself is not changed.
void PreferLargePages(std::string& text);

} // namespace scribvane
