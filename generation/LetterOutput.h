// Writing a generated letter to its output file.
#pragma once

#include "generation/LetterValues.h"
#include "generation/PageEncoding.h"

#include <string_view>

namespace scribvane {

// Writes the page with every line ending in CR LF (nothing after a NUL byte), replacing an
// existing file only once the whole page is written. Throws FileError "Cannot create file
// "full path". reason" and leaves any previous file whole.
// The letter is made again from the configuration at any time, so its file is replaced all at
// once but not forced to the disk first. A UTF-8 page is converted from the merged
// Windows-1252 text as it is written.
void WriteLetter(std::string_view outputFileName, std::string_view page,
                 PageEncoding encoding = PageEncoding::Windows1252);

// The same for the merge of a template text with the values, written as it is merged: a letter
// of megabytes is never held whole, in the encoding the template declares. The output file is
// opened first, so a name that cannot be written fails before any picture is copied.
void WriteMergedLetter(std::string_view outputFileName, std::string_view templateText,
                       const LetterValues& values);

} // namespace scribvane
