// Pictures made for the web: a letter in an html5 template never ships a local picture as it
// was taken. Each one is turned upright, into sRGB, stripped of its metadata (position,
// camera, owner) and written in the widths its slot needs as WebP, with a JPEG or PNG fallback,
// named after a hash of its content. This half decides widths, names and what the page names,
// and keeps made pictures in a cache; the pixels are the work of a PictureMaker, which lives in
// a library of its own so that the headless command can start without the picture libraries.
#pragma once

#include "generation/LetterFiles.h"
#include "generation/PictureSize.h"
#include "generation/PlacedPictures.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace scribvane {

// The largest CSS width each picture slot of a template is shown at. A template declares them
// in a comment of its head: <!-- picture widths: header 800, cover 424, footer 800 -->; a slot
// it leaves out keeps its default.
struct PictureSlotWidths {
    unsigned header = 960;
    unsigned cover = 480;
    unsigned footer = 960;

    unsigned Of(PictureRole role) const;
};
PictureSlotWidths SlotWidthsOfTemplate(std::string_view templateText);

// The widths a picture is written in for a slot shown at most `slotWidth` CSS pixels wide:
// from 480 up to twice the slot's width for sharp screens, never wider than the original.
std::vector<unsigned> WebWidths(unsigned slotWidth, unsigned originalWidth);

// The width a browser picks from those for a phone (Lighthouse's: 412 CSS pixels at 1.75
// device pixels each) and for a wide screen with a sharp display.
unsigned PhoneWidth(const std::vector<unsigned>& widths, unsigned slotWidth);

// What to make of one picture.
struct WebPictureOrder {
    PictureRole role = PictureRole::Header;
    unsigned slotWidth = 960;
    bool share = false; // also a JPEG 1200 pixels wide for link previews

    // Everything that changes the bytes made, for the cache's key.
    std::string Settings() const;
};

// One file made for the web.
struct WebPictureFile {
    unsigned width = 0;
    std::string name; // "header-960-3f9a1c.webp"
    // The bytes, or the cached file holding them.
    std::string bytes;
    std::filesystem::path source;

    std::uintmax_t Size() const;
    std::string Bytes() const; // throws FileError when the cached file is gone
};

// What became of a picture.
struct WebPicture {
    PictureSize size;                       // upright, as browsers show it
    bool keptAsIs = false;                  // an SVG or an animation: it goes as it is
    std::string kind;                       // "Photo", "Picture", "Animation", "Drawing"
    std::vector<WebPictureFile> webp;       // by ascending width
    std::optional<WebPictureFile> fallback; // JPEG, or PNG for a picture with transparency
    std::optional<WebPictureFile> share;    // the JPEG for link previews, when asked for
};

// A picture that cannot be made: the reason is for the user (Windows-1252).
class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class PictureMaker {
public:
    virtual ~PictureMaker() = default;
    // Reads the picture's header first and refuses a picture too large to decode before any
    // pixel is read. `bytes` are the original's. Throws PictureError.
    virtual WebPicture Make(std::string_view bytes, const WebPictureOrder& order) const = 0;
};

// Made pictures, kept between letters in a folder (by default the user's cache folder) under
// the SHA-256 of the original and the settings, so that a letter made again after a text change
// does no picture work. The folder is kept below a size by dropping what was used longest ago.
// A folder that cannot be written only means nothing is kept. Safe to use from two threads.
class PictureCache {
public:
    explicit PictureCache(std::filesystem::path folder,
                          std::uintmax_t limit = std::uintmax_t{512} << 20);
    // $XDG_CACHE_HOME/scribvane/pictures, else ~/.cache/scribvane/pictures.
    static std::filesystem::path DefaultFolder();

    // The key of a picture file with `order`: reads and hashes the file unless its name, size
    // and modification time are those of a file hashed before. Throws FileError.
    std::string KeyOf(const std::filesystem::path& original, const WebPictureOrder& order);
    std::optional<WebPicture> Find(const std::string& key) const;
    // Keeps `picture` and returns it naming the kept files; as it was when nothing can be kept.
    WebPicture Store(const std::string& key, WebPicture picture);
    // A picture the maker refused, remembered for this run so it is not tried again and again
    // (a changed file has another key).
    void Refused(const std::string& key, std::string reason);
    std::optional<std::string> RefusalOf(const std::string& key);

    const std::filesystem::path& Folder() const { return folder_; }

private:
    void Trim() const;

    std::filesystem::path folder_;
    std::uintmax_t limit_;
    struct Hashed {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified{};
        std::string digest;
    };
    // The digests of originals hashed before, by this run or an earlier one (kept in the
    // folder), so a letter made again does not read its photos at all.
    void LoadDigests();
    void KeepDigest(const std::filesystem::path& original, const Hashed& hashed);

    std::mutex mutex_;
    bool digestsLoaded_ = false;
    std::map<std::filesystem::path, Hashed> hashed_;
    std::map<std::string, std::string> refused_;
};

// What became of each picture field of a letter, for the check and the window.
enum class PictureOutcome {
    None,       // no local picture
    AsIs,       // goes as it was taken: a template without the html5 marker, or the user's choice
    Made,       // made for the web
    Pending,    // to be made: no maker was at hand and the cache does not have it
    Unreadable, // cannot be read as a picture; it goes as it is
};

struct PictureReport {
    PictureOutcome outcome = PictureOutcome::None;
    std::string reason; // Unreadable: why, for the user
    std::string kind;   // Made: "Photo", "Picture", ...
    std::uintmax_t originalBytes = 0;
    std::optional<PictureSize> size; // upright
    // What a visitor loads of it on a phone and on a wide, sharp screen.
    std::uintmax_t phoneBytes = 0;
    std::uintmax_t wideBytes = 0;
};

// The name of a file made for the web: its slot, its width and a hash of its bytes, so a
// changed picture gets a new name and an unchanged one keeps it ("header-960-3f9a1c.webp").
std::string WebPictureName(PictureRole role, unsigned width, std::string_view bytes,
                           std::string_view extension);

// Whether a picture file is of a kind that only some browsers show (HEIC, HEIF, TIFF), judged
// by its leading bytes.
bool BrowsersCannotShow(std::string_view leadingBytes);

// "1.8 MB", "64 KB", "512 bytes".
std::string ByteCountText(std::uintmax_t bytes);

} // namespace scribvane
