// Picture tags and copies; see LetterPictures.h.
#include "generation/LetterPictures.h"

#include "utils/Errors.h"
#include "utils/FileIo.h"
#include "utils/Log.h"
#include "utils/TextCoding.h"
#include "utils/TextHelpers.h"

#include <array>
#include <cctype>
#include <filesystem>
#include <optional>

namespace scribvane {
namespace {

std::string LowerExtension(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    return LowerAscii(dot == std::string_view::npos ? std::string_view() : fileName.substr(dot));
}

} // namespace

std::string_view PictureMimeType(std::string_view fileName, std::string_view bytes) {
    // The bytes decide first: a renamed picture still shows with its real type.
    struct Signature {
        std::string_view start;
        std::string_view mime;
    };
    constexpr std::array<Signature, 6> kSignatures = {{
        {"\x89PNG\r\n\x1A\n", "image/png"},
        {"\xFF\xD8\xFF", "image/jpeg"},
        {"GIF8", "image/gif"},
        {"BM", "image/bmp"},
        {std::string_view("\0\0\1\0", 4), "image/x-icon"},
        {"<svg", "image/svg+xml"},
    }};
    for (const auto& signature : kSignatures) {
        if (bytes.starts_with(signature.start)) {
            return signature.mime;
        }
    }
    if (bytes.size() >= 12 && bytes.substr(0, 4) == "RIFF" && bytes.substr(8, 4) == "WEBP") {
        return "image/webp";
    }
    const std::string extension = LowerExtension(fileName);
    struct Extension {
        std::string_view extension;
        std::string_view mime;
    };
    constexpr std::array<Extension, 9> kExtensions = {{
        {".png", "image/png"},
        {".jpg", "image/jpeg"},
        {".jpeg", "image/jpeg"},
        {".gif", "image/gif"},
        {".bmp", "image/bmp"},
        {".webp", "image/webp"},
        {".svg", "image/svg+xml"},
        {".ico", "image/x-icon"},
        {".avif", "image/avif"},
    }};
    for (const auto& known : kExtensions) {
        if (extension == known.extension) {
            return known.mime;
        }
    }
    return "application/octet-stream";
}

std::string FileAddressOf(std::string_view picture) {
    std::error_code error;
    auto path = std::filesystem::absolute(PathFromText(picture), error);
    if (error) {
        path = PathFromText(picture);
    }
    const std::string bytes = path.lexically_normal().string();
    std::string address = "file://";
    address.reserve(address.size() + bytes.size());
    constexpr std::string_view kHex = "0123456789ABCDEF";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) != 0 || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            address += c;
        } else {
            address += '%';
            address += kHex[u >> 4];
            address += kHex[u & 15];
        }
    }
    return address;
}

bool IsLocalPicture(std::string_view picture) {
    std::error_code error;
    return !picture.empty() && std::filesystem::is_regular_file(PathFromText(picture), error);
}

void CopyPicture(const std::filesystem::path& source, const std::filesystem::path& destination) {
    std::error_code error;
    if (std::filesystem::equivalent(source, destination, error)) {
        return; // copying a file onto itself would empty it
    }
    // A write-protected copy stays as it is, as a plain copy would leave it: the atomic write
    // refuses to replace a file the user may not write.
    try {
        WriteFileAtomically(destination, ReadFileBytes(source), {}, Durability::Replaced);
    } catch (const Error& failure) {
        // A failed copy changes nothing else: the tag still names the file.
        LogNote(LogTopic::Generation,
                "The picture \"" + source.string() + "\" was not copied: " + failure.what());
    }
}

std::optional<std::string> DataAddressOf(std::string_view picture) {
    try {
        const std::string bytes = ReadFileBytes(PathFromText(picture));
        return "data:" + std::string(PictureMimeType(FileNamePart(picture), bytes)) + ";base64," +
               EncodeBase64(bytes);
    } catch (const Error& failure) {
        LogNote(LogTopic::Generation,
                "The picture \"" + std::string(picture) + "\" was not embedded: " + failure.what());
    }
    return std::nullopt;
}

} // namespace scribvane
