// Writing a letter: its page to the output file and what belongs beside it into its folder.
#pragma once

#include "generation/LetterFiles.h"
#include "generation/LetterValues.h"
#include "generation/PageEncoding.h"

#include <string_view>
#include <vector>

namespace scribvane {

struct PreparedLetter;

// Writes the page with every line ending in CR LF (nothing after a NUL byte), replacing an
// existing file only once the whole page is written. Throws FileError "Cannot create file
// "full path". reason" and leaves any previous file whole.
// The letter is made again from the configuration at any time, so its file is replaced all at
// once but not forced to the disk first. A UTF-8 page is converted from the merged
// Windows-1252 text as it is written.
void WriteLetter(std::string_view outputFileName, std::string_view page,
                 PageEncoding encoding = PageEncoding::Windows1252);

// Writes the files that belong beside the page into the output name's folder, in order. A
// file taken from elsewhere (a picture) that cannot be copied is passed over and logged, as
// the page still names it; a file made for the letter that cannot be written throws
// FileError.
void WriteLetterFiles(const std::vector<LetterFile>& files, std::string_view outputFileName);

// Writes a prepared letter as it is merged, never holding a page of megabytes whole, in the
// encoding its template declares, its files beside it. The output file is opened first, so a
// name that cannot be written fails before any file is copied. Without a template nothing is
// written.
void WritePreparedLetter(const PreparedLetter& letter);

} // namespace scribvane
