// Listing and look-up of template files; see TemplateCatalogue.h.
#include "generation/TemplateCatalogue.h"

#include "utils/TextHelpers.h"

#include <algorithm>

namespace scribvane {
namespace {

// Bytes compare unsigned, so accented letters sort after ASCII ones.
unsigned char Folded(char c) {
    return static_cast<unsigned char>(LowerAscii(c));
}

bool HasTemplateExtension(std::string_view fileName) {
    constexpr std::string_view kExtension = ".tem";
    return fileName.size() >= kExtension.size() &&
           EqualsIgnoringAsciiCase(fileName.substr(fileName.size() - kExtension.size()),
                                   kExtension);
}

bool IsHidden(std::string_view fileName) {
#ifdef _WIN32
    (void)fileName;
    return false;
#else
    return fileName.starts_with('.');
#endif
}

// Names of the folder's regular files that pass `keep`, in catalogue order. Entries that
// vanish or cannot be examined while the folder is walked are passed over.
template <typename Keep>
std::vector<std::string> RegularFiles(const std::filesystem::path& folder, Keep keep) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    if (error) {
        return names;
    }
    for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
        if (error) {
            break;
        }
        std::string name = it->path().filename().string();
        std::error_code statError;
        if (keep(name) && std::filesystem::is_regular_file(it->path(), statError)) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end(), CatalogueLess);
    return names;
}

} // namespace

bool CatalogueLess(std::string_view left, std::string_view right) {
    const auto folded =
        std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                     [](char a, char b) { return Folded(a) < Folded(b); });
    if (folded || !EqualsIgnoringAsciiCase(left, right)) {
        return folded;
    }
    return std::lexicographical_compare(
        left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
            return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
        });
}

std::vector<std::string> ListTemplateFiles(const std::filesystem::path& folder) {
    return RegularFiles(folder, [](std::string_view name) {
        return !IsHidden(name) && HasTemplateExtension(name);
    });
}

std::string TemplateNameOf(std::string_view fileName) {
    std::string name = ReplaceAll(fileName, ".tem", "");
    if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') {
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
    }
    return name;
}

std::vector<std::string> TemplateCatalogue(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& fileName : ListTemplateFiles(folder)) {
        names.push_back(TemplateNameOf(fileName));
    }
    return names;
}

std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& folder,
                                                          std::string_view fileName) {
    // Hidden files are found too: the look-up asks whether the file exists, as the window's
    // preview and generator always have; only the listing leaves them out.
    const auto matches = RegularFiles(
        folder, [&](std::string_view name) { return EqualsIgnoringAsciiCase(name, fileName); });
    if (matches.empty()) {
        return std::nullopt;
    }
    return folder / matches.front();
}

std::optional<std::filesystem::path> FindTemplateFile(const std::filesystem::path& folder,
                                                      std::string_view name) {
    return FindFileIgnoringCase(folder, std::string(name) + ".tem");
}

std::optional<std::filesystem::path> FindPreviewFile(const std::filesystem::path& folder,
                                                     std::string_view name) {
    return FindFileIgnoringCase(folder, std::string(name) + ".jpg");
}

std::string ChosenTemplate(const std::vector<std::string>& catalogue,
                           const std::filesystem::path& folder, std::string_view stored) {
    if (!stored.empty() && FindTemplateFile(folder, stored)) {
        return std::string(stored);
    }
    return catalogue.empty() ? std::string() : catalogue.front();
}

} // namespace scribvane
