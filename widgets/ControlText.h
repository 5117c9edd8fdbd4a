// The one place where the window's Unicode controls meet the core's single-byte text: edits
// and multi-line edits read as Windows-1252 with CR LF line breaks, and set back from it.
#pragma once

#include "widgets/QtText.h"

#include <QString>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace scribvane {

// A multi-line edit's whole text, its lines joined by CR LF (no line break after the last).
std::string MemoText(const QPlainTextEdit& memo);

// Replaces a multi-line edit's text: one line per CR LF, lone CR or lone LF.
void SetMemoText(QPlainTextEdit& memo, std::string_view ansi);

} // namespace scribvane
