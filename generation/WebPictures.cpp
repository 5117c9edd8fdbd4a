// Pictures made for the web, the half without pixels; see WebPictures.h.
#include "generation/WebPictures.h"

#include "utils/Errors.h"
#include "utils/FileIo.h"
#include "utils/Log.h"
#include "utils/Sha256.h"
#include "utils/TextHelpers.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <unistd.h>

namespace scribvane {
namespace {

// Bumped whenever the maker's recipe (quality, widths, formats) changes what it writes, so a
// cache made before is not taken for the new recipe's output.
constexpr std::string_view kRecipe = "recipe 1";
constexpr std::string_view kManifestName = "manifest";
constexpr std::string_view kDigestsName = "originals";
constexpr std::string_view kManifestHeader = "scribvane pictures 1";
constexpr unsigned kSmallestWidth = 480;

// Reads a decimal number after `at` in `text`, skipping blanks, '=' and ':'.
std::optional<unsigned> NumberAfter(std::string_view text, std::size_t at) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '=' || text[at] == ':')) {
        ++at;
    }
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() + at || value == 0) {
        return std::nullopt;
    }
    return value;
}

std::uintmax_t FileSizeOr0(const std::filesystem::path& file) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    return error ? 0 : size;
}

std::string_view RoleName(PictureRole role) {
    static constexpr std::string_view kRoles[] = {"header", "cover", "footer"};
    return kRoles[static_cast<std::size_t>(role)];
}

std::string ManifestLine(std::string_view what, const WebPictureFile& file) {
    return std::string(what) + ' ' + std::to_string(file.width) + ' ' + file.name + '\n';
}

} // namespace

unsigned PictureSlotWidths::Of(PictureRole role) const {
    switch (role) {
    case PictureRole::Header:
        return header;
    case PictureRole::Cover:
        return cover;
    case PictureRole::Footer:
        break;
    }
    return footer;
}

PictureSlotWidths SlotWidthsOfTemplate(std::string_view templateText) {
    PictureSlotWidths widths;
    const std::size_t at = FindIgnoringAsciiCase(templateText, "picture widths:");
    if (at == std::string_view::npos) {
        return widths;
    }
    const std::size_t end = templateText.find("-->", at);
    const std::string_view declaration = templateText.substr(at, end - at);
    const std::pair<std::string_view, unsigned*> slots[] = {
        {"header", &widths.header}, {"cover", &widths.cover}, {"footer", &widths.footer}};
    for (const auto& [name, width] : slots) {
        const std::size_t slot = FindIgnoringAsciiCase(declaration, name);
        if (slot == std::string_view::npos) {
            continue;
        }
        // A width beyond any screen is a slip of the template's author, not a request.
        if (const auto value = NumberAfter(declaration, slot + name.size());
            value && *value <= 4000) {
            *width = *value;
        }
    }
    return widths;
}

std::vector<unsigned> WebWidths(unsigned slotWidth, unsigned originalWidth) {
    const unsigned largest = std::min(2 * std::max(slotWidth, 1u), originalWidth);
    std::vector<unsigned> widths;
    for (unsigned width = kSmallestWidth; width < largest; width += kSmallestWidth) {
        widths.push_back(width);
    }
    if (largest > 0) {
        widths.push_back(largest);
    }
    return widths;
}

unsigned PhoneWidth(const std::vector<unsigned>& widths, unsigned slotWidth) {
    // 412 CSS pixels, at most the slot's, at 1.75 device pixels each.
    const unsigned wanted = std::min(slotWidth, 412u) * 7 / 4;
    for (const unsigned width : widths) {
        if (width >= wanted) {
            return width;
        }
    }
    return widths.empty() ? 0 : widths.back();
}

std::string WebPictureOrder::Settings() const {
    return std::string(kRecipe) + " " + std::string(RoleName(role)) + " slot " +
           std::to_string(slotWidth) + (share ? " share" : "");
}

std::uintmax_t WebPictureFile::Size() const {
    return source.empty() ? bytes.size() : FileSizeOr0(source);
}

std::string WebPictureFile::Bytes() const {
    return source.empty() ? bytes : ReadFileBytes(source);
}

PictureCache::PictureCache(std::filesystem::path folder, std::uintmax_t limit)
    : folder_(std::move(folder)), limit_(limit) {}

std::filesystem::path PictureCache::DefaultFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    std::filesystem::path base;
    if (cache != nullptr && *cache == '/') {
        base = cache;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        base = std::filesystem::path(home) / ".cache";
    } else {
        base = std::filesystem::temp_directory_path();
    }
    return base / "scribvane" / "pictures";
}

void PictureCache::LoadDigests() {
    digestsLoaded_ = true;
    std::string index;
    try {
        index = ReadFileBytes(folder_ / kDigestsName);
    } catch (const Error&) {
        return; // none kept yet
    }
    std::istringstream lines(index);
    std::string line;
    while (std::getline(lines, line)) {
        // "SIZE MODIFIED DIGEST PATH", the path last as it may hold blanks.
        std::istringstream words(line);
        Hashed hashed;
        long long modified = 0;
        words >> hashed.size >> modified >> hashed.digest >> std::ws;
        std::string path;
        std::getline(words, path);
        if (hashed.digest.size() == 64 && !path.empty()) {
            hashed.modified = std::filesystem::file_time_type(
                std::filesystem::file_time_type::duration(modified));
            hashed_[path] = std::move(hashed);
        }
    }
}

void PictureCache::KeepDigest(const std::filesystem::path& original, const Hashed& hashed) {
    if (original.string().find('\n') != std::string::npos) {
        return; // the index holds one original a line
    }
    const std::string line = std::to_string(hashed.size) + ' ' +
                             std::to_string(hashed.modified.time_since_epoch().count()) + ' ' +
                             hashed.digest + ' ' + original.string() + '\n';
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    // One short append per photo; an index grown past its use starts again.
    const auto path = folder_ / kDigestsName;
    const bool restart = std::filesystem::file_size(path, error) > (std::uintmax_t{1} << 20);
    if (std::FILE* file = std::fopen(path.c_str(), restart ? "w" : "a")) {
        std::fwrite(line.data(), 1, line.size(), file);
        std::fclose(file);
    }
}

std::string PictureCache::KeyOf(const std::filesystem::path& original,
                                const WebPictureOrder& order) {
    std::error_code error;
    const auto size = std::filesystem::file_size(original, error);
    const auto modified = std::filesystem::last_write_time(original, error);
    std::string digest;
    {
        const std::lock_guard lock(mutex_);
        if (!digestsLoaded_) {
            LoadDigests();
        }
        const auto known = hashed_.find(original);
        if (!error && known != hashed_.end() && known->second.size == size &&
            known->second.modified == modified) {
            digest = known->second.digest;
        }
    }
    if (digest.empty()) {
        digest = Sha256Of(ReadFileBytes(original));
        if (!error) {
            const std::lock_guard lock(mutex_);
            hashed_[original] = Hashed{size, modified, digest};
            KeepDigest(original, hashed_[original]);
        }
    }
    return Sha256Of(digest + '\n' + order.Settings());
}

void PictureCache::Refused(const std::string& key, std::string reason) {
    const std::lock_guard lock(mutex_);
    refused_[key] = std::move(reason);
}

std::optional<std::string> PictureCache::RefusalOf(const std::string& key) {
    const std::lock_guard lock(mutex_);
    const auto refused = refused_.find(key);
    return refused == refused_.end() ? std::nullopt : std::optional(refused->second);
}

std::optional<WebPicture> PictureCache::Find(const std::string& key) const {
    const std::filesystem::path entry = folder_ / key;
    std::string manifest;
    try {
        manifest = ReadFileBytes(entry / kManifestName);
    } catch (const Error&) {
        return std::nullopt;
    }
    std::istringstream lines(manifest);
    std::string line;
    if (!std::getline(lines, line) || line != kManifestHeader) {
        return std::nullopt;
    }
    WebPicture picture;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string what;
        words >> what;
        if (what == "size") {
            words >> picture.size.width >> picture.size.height;
        } else if (what == "kind") {
            std::getline(words >> std::ws, picture.kind);
        } else if (what == "kept") {
            picture.keptAsIs = true;
        } else {
            WebPictureFile file;
            words >> file.width >> file.name;
            file.source = entry / file.name;
            if (file.name.empty() || file.name.find('/') != std::string::npos ||
                !std::filesystem::is_regular_file(file.source)) {
                return std::nullopt; // half gone: made again
            }
            if (what == "webp") {
                picture.webp.push_back(std::move(file));
            } else if (what == "fallback") {
                picture.fallback = std::move(file);
            } else if (what == "share") {
                picture.share = std::move(file);
            }
        }
    }
    if (picture.size.width == 0 || (!picture.keptAsIs && picture.webp.empty())) {
        return std::nullopt;
    }
    // Marks the entry as used now, so trimming drops the ones used longest ago.
    std::error_code ignored;
    std::filesystem::last_write_time(entry / kManifestName,
                                     std::filesystem::file_time_type::clock::now(), ignored);
    return picture;
}

WebPicture PictureCache::Store(const std::string& key, WebPicture picture) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path entry = folder_ / key;
    const std::filesystem::path draft =
        folder_ / (key + ".draft-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    std::vector<WebPictureFile*> files;
    for (auto& file : picture.webp) {
        files.push_back(&file);
    }
    for (auto* file : {&picture.fallback, &picture.share}) {
        if (*file) {
            files.push_back(&**file);
        }
    }
    try {
        std::filesystem::create_directories(draft);
        std::string manifest = std::string(kManifestHeader) + '\n';
        manifest += "size " + std::to_string(picture.size.width) + ' ' +
                    std::to_string(picture.size.height) + '\n';
        manifest += "kind " + picture.kind + '\n';
        if (picture.keptAsIs) {
            manifest += "kept\n";
        }
        for (const auto& file : picture.webp) {
            manifest += ManifestLine("webp", file);
        }
        if (picture.fallback) {
            manifest += ManifestLine("fallback", *picture.fallback);
        }
        if (picture.share) {
            manifest += ManifestLine("share", *picture.share);
        }
        for (const WebPictureFile* file : files) {
            WriteFileAtomically(draft / file->name, file->bytes, {}, Durability::Replaced);
        }
        WriteFileAtomically(draft / kManifestName, manifest, {}, Durability::Replaced);
        std::error_code exists;
        std::filesystem::rename(draft, entry, exists);
        if (exists) {
            // Another letter kept the same picture first: the same bytes, so its copy serves.
            std::filesystem::remove_all(draft, exists);
        }
    } catch (const std::exception& failure) {
        std::error_code ignored;
        std::filesystem::remove_all(draft, ignored);
        LogNote(LogTopic::Generation, "A picture made for the web was not kept in the cache: " +
                                          std::string(failure.what()));
        return picture;
    }
    for (WebPictureFile* file : files) {
        file->source = entry / file->name;
        file->bytes.clear();
        file->bytes.shrink_to_fit();
    }
    Trim();
    return picture;
}

void PictureCache::Trim() const {
    struct Entry {
        std::filesystem::file_time_type used;
        std::uintmax_t size;
        std::filesystem::path folder;
    };
    std::vector<Entry> entries;
    std::uintmax_t total = 0;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(folder_, error)) {
        std::error_code itemError;
        if (!item.is_directory(itemError)) {
            continue;
        }
        Entry entry{std::filesystem::last_write_time(item.path() / kManifestName, itemError), 0,
                    item.path()};
        if (itemError) {
            continue; // a draft being written
        }
        for (const auto& file : std::filesystem::directory_iterator(item.path(), itemError)) {
            entry.size += FileSizeOr0(file.path());
        }
        total += entry.size;
        entries.push_back(std::move(entry));
    }
    if (total <= limit_) {
        return;
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.used < b.used; });
    for (const Entry& entry : entries) {
        if (total <= limit_) {
            break;
        }
        std::filesystem::remove_all(entry.folder, error);
        total -= entry.size;
    }
}

bool BrowsersCannotShow(std::string_view bytes) {
    if (bytes.starts_with(std::string_view("II*\0", 4)) ||
        bytes.starts_with(std::string_view("MM\0*", 4))) {
        return true; // TIFF
    }
    if (bytes.size() < 12 || bytes.substr(4, 4) != "ftyp") {
        return false;
    }
    const std::string_view brand = bytes.substr(8, 4);
    for (const std::string_view heif :
         {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1"}) {
        if (brand == heif) {
            return true;
        }
    }
    return false;
}

std::string ByteCountText(std::uintmax_t bytes) {
    char text[32];
    if (bytes >= 1000000u) {
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
    } else if (bytes >= 1000) {
        std::snprintf(text, sizeof text, "%u KB", static_cast<unsigned>((bytes + 500) / 1000));
    } else {
        std::snprintf(text, sizeof text, "%u bytes", static_cast<unsigned>(bytes));
    }
    return text;
}

std::string WebPictureName(PictureRole role, unsigned width, std::string_view bytes,
                           std::string_view extension) {
    return std::string(RoleName(role)) + "-" + std::to_string(width) + "-" +
           Sha256Of(bytes).substr(0, 6) + "." + std::string(extension);
}

} // namespace scribvane
