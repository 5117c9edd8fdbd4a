// The template catalogue: which "*.tem" files a template folder offers, in which order, under
// which names, and how a name leads back to its template or preview file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scribvane {

// The regular files (links followed) whose names end in ".tem" in any ASCII letter case, in
// catalogue order. Names beginning with "." are hidden and left out. A missing or unreadable
// folder gives an empty list.
std::vector<std::string> ListTemplateFiles(const std::filesystem::path& folder);

// The listed name of a template file: every exact ".tem" removed, then a first character a-z
// upper-cased. "my.template.tem" is "Myplate"; "Sales.TEM" keeps its extension.
std::string TemplateNameOf(std::string_view fileName);

// The names of ListTemplateFiles, in the same order; a name may repeat.
std::vector<std::string> TemplateCatalogue(const std::filesystem::path& folder);

// Catalogue order: file names compared byte by byte with A-Z folded to lower case, names equal
// after folding ordered by their raw bytes.
bool CatalogueLess(std::string_view left, std::string_view right);

// The regular file of the folder named `fileName` without regard to ASCII letter case; the
// first in catalogue order when several match.
std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& folder,
                                                          std::string_view fileName);

// name + ".tem" and name + ".jpg", looked up as above.
std::optional<std::filesystem::path> FindTemplateFile(const std::filesystem::path& folder,
                                                      std::string_view name);
std::optional<std::filesystem::path> FindPreviewFile(const std::filesystem::path& folder,
                                                     std::string_view name);

// The template a letter uses when no name is given: the stored one when the folder holds it,
// else the first of the catalogue; empty when the catalogue is empty.
std::string ChosenTemplate(const std::vector<std::string>& catalogue,
                           const std::filesystem::path& folder, std::string_view stored);

} // namespace scribvane
