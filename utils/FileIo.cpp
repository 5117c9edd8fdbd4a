// POSIX implementation of whole-file reads and atomic replacement; see FileIo.h.
#include "utils/FileIo.h"

#include "utils/Errors.h"
#include "utils/Win1252.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace scribvane {
namespace {

FileLayer& DefaultLayer() {
    static FileLayer layer;
    return layer;
}

FileLayer* g_layer = &DefaultLayer();

std::string Reason(int error) {
    return std::strerror(error);
}

// The absolute path as Windows-1252 text: messages are single-byte text like everything the
// user reads.
std::string FullPath(const std::filesystem::path& path) {
    std::error_code ignored;
    const auto absolute = std::filesystem::absolute(path, ignored);
    return TextFromPath(absolute.empty() ? path : absolute);
}

[[noreturn]] void ThrowCannotCreate(const std::filesystem::path& path, int error) {
    throw FileError("Cannot create file \"" + FullPath(path) + "\". " + Reason(error));
}

constexpr std::string_view Separators() {
#ifdef _WIN32
    return "\\/:";
#else
    return "/";
#endif
}

// The mode a newly created file would get: the existing target's, or 0666 less the umask.
mode_t ModeFor(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        return info.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

ssize_t FileLayer::Write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

int FileLayer::Sync(int fd) {
    return ::fsync(fd);
}

int FileLayer::Rename(const char* from, const char* to) {
    return std::rename(from, to);
}

ScopedFileLayer::ScopedFileLayer(FileLayer& layer) : previous_(g_layer) {
    g_layer = &layer;
}

ScopedFileLayer::~ScopedFileLayer() {
    g_layer = previous_;
}

std::string ReadFileBytes(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = fd < 0 ? errno : (S_ISDIR(info.st_mode) ? EISDIR : errno);
        if (fd >= 0) {
            ::close(fd);
        }
        throw FileError("Cannot open file \"" + FullPath(path) + "\". " + Reason(error));
    }
    // A regular file is read straight into a string of its size; anything else, or a file that
    // grows while it is read, goes on in chunks until the end.
    std::string bytes;
    if (S_ISREG(info.st_mode) && info.st_size > 0) {
        bytes.resize(static_cast<std::size_t>(info.st_size));
    }
    std::size_t filled = 0;
    char buffer[1 << 16];
    for (;;) {
        const bool intoBytes = filled < bytes.size();
        char* const target = intoBytes ? bytes.data() + filled : buffer;
        const std::size_t room = intoBytes ? bytes.size() - filled : sizeof buffer;
        const ssize_t got = ::read(fd, target, room);
        if (got == 0) {
            break;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            throw FileError("Cannot open file \"" + FullPath(path) + "\". " + Reason(error));
        }
        if (intoBytes) {
            filled += static_cast<std::size_t>(got);
        } else {
            bytes.append(buffer, static_cast<std::size_t>(got));
            filled = bytes.size();
        }
    }
    bytes.resize(filled); // a file that shrank while it was read
    ::close(fd);
    return bytes;
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const auto folder = path.parent_path();
    std::string temp = (folder.empty() ? std::filesystem::path(".") : folder) /
                       ("." + path.filename().string() + ".XXXXXX");
    const mode_t mode = ModeFor(path);
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        ThrowCannotCreate(path, errno);
    }
    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temp.c_str());
        ThrowCannotCreate(path, error);
    };
    if (::fchmod(fd, mode) != 0) {
        fail(errno);
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = g_layer->Write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            fail(n == 0 ? ENOSPC : errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (g_layer->Sync(fd) != 0) {
        fail(errno);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        ThrowCannotCreate(path, error);
    }
    if (g_layer->Rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        ThrowCannotCreate(path, error);
    }
}

std::filesystem::path PathFromText(std::string_view text) {
    const std::string utf8 = AnsiToUtf8(text);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string TextFromPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return Utf8ToAnsi(std::string(utf8.begin(), utf8.end()));
}

std::filesystem::path ProgramFolder() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : exe.parent_path();
}

std::string FileNamePart(std::string_view path) {
    const auto last = path.find_last_of(Separators());
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string FolderPart(std::string_view path) {
    const auto last = path.find_last_of(Separators());
    return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

} // namespace scribvane
