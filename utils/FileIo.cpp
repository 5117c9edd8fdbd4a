// POSIX implementation of whole-file reads and atomic replacement; see FileIo.h.
#include "utils/FileIo.h"

#include "utils/Errors.h"
#include "utils/Win1252.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
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

// The file a path names once symbolic links are followed; a dangling link names the file it
// would create. Relative link targets count from the link's folder.
std::filesystem::path ResolveLinks(std::filesystem::path path) {
    constexpr int kMaxLinks = 40; // as the kernel's own limit, so a loop ends
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) {
            return path;
        }
        const auto target = std::filesystem::read_symlink(path, error);
        if (error) {
            return path;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

// An existing file that must not be replaced: the user may not write it, or it is marked
// read-only for everyone. Renaming over it would succeed in a writable folder and silently
// drop the protection.
bool IsWriteProtected(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return false;
    }
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// Keeps the file about to be replaced at `backup`: a hard link costs nothing and cannot fail
// half-way; where the file system has none, a copy written atomically (which throws its own
// FileError). Gives 0 or an errno.
int KeepBackup(const std::filesystem::path& target, const std::filesystem::path& backup) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return 0; // nothing to keep
    }
    std::string link = backup.parent_path() / ("." + backup.filename().string() + ".XXXXXX");
    const int fd = ::mkstemp(link.data());
    if (fd < 0) {
        return errno;
    }
    ::close(fd);
    ::unlink(link.c_str());
    if (::link(target.c_str(), link.c_str()) == 0) {
        if (g_layer->Rename(link.c_str(), backup.c_str()) == 0) {
            return 0;
        }
        const int error = errno;
        ::unlink(link.c_str());
        return error;
    }
    WriteFileAtomically(backup, ReadFileBytes(target));
    return 0;
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

namespace {

[[noreturn]] void ThrowCannotOpen(const std::filesystem::path& path, int error) {
    throw FileError("Cannot open file \"" + FullPath(path) + "\". " + Reason(error));
}

// Opens a file to read; a folder fails as the system fails opening one for its contents.
int OpenToRead(const std::filesystem::path& path, struct stat& info) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = fd < 0 ? errno : (S_ISDIR(info.st_mode) ? EISDIR : errno);
        if (fd >= 0) {
            ::close(fd);
        }
        ThrowCannotOpen(path, error);
    }
    return fd;
}

// Reads to the end and closes the file.
std::string ReadOpenFile(const std::filesystem::path& path, int fd, const struct stat& info) {
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
            ThrowCannotOpen(path, error);
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

} // namespace

std::string ReadFileBytes(const std::filesystem::path& path) {
    struct stat info {};
    const int fd = OpenToRead(path, info);
    return ReadOpenFile(path, fd, info);
}

MappedFile::MappedFile(const std::filesystem::path& path) {
    struct stat info {};
    const int fd = OpenToRead(path, info);
    if (S_ISREG(info.st_mode) && info.st_size > 0) {
        const auto size = static_cast<std::size_t>(info.st_size);
        void* const map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (map != MAP_FAILED) {
            ::close(fd);
            map_ = map;
            bytes_ = std::string_view(static_cast<const char*>(map), size);
            return;
        }
    }
    read_ = ReadOpenFile(path, fd, info);
    bytes_ = read_;
}

MappedFile::~MappedFile() {
    if (map_ != nullptr) {
        ::munmap(map_, bytes_.size());
    }
}

AtomicFileWriter::AtomicFileWriter(const std::filesystem::path& path)
    : path_(path), target_(ResolveLinks(path)) {
    // Messages name the path the user knows; the bytes go where a link leads.
    if (IsWriteProtected(target_)) {
        ThrowCannotCreate(path_, EACCES);
    }
    const auto folder = target_.parent_path();
    temp_ = (folder.empty() ? std::filesystem::path(".") : folder) /
            ("." + target_.filename().string() + ".XXXXXX");
    const mode_t mode = ModeFor(target_);
    fd_ = ::mkstemp(temp_.data());
    if (fd_ < 0) {
        ThrowCannotCreate(path_, errno);
    }
    if (::fchmod(fd_, mode) != 0) {
        Fail(errno);
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temp_.c_str());
    }
}

void AtomicFileWriter::Fail(int error) {
    ::close(fd_);
    fd_ = -1;
    ::unlink(temp_.c_str());
    ThrowCannotCreate(path_, error);
}

void AtomicFileWriter::Write(const char* data, std::size_t size) {
    std::size_t written = 0;
    while (written < size) {
        const ssize_t n = g_layer->Write(fd_, data + written, size - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            Fail(n == 0 ? ENOSPC : errno);
        }
        written += static_cast<std::size_t>(n);
    }
}

void AtomicFileWriter::WriteGathered() {
    Write(gathered_.data(), gathered_.size());
    gathered_.clear();
}

void AtomicFileWriter::Put(std::string_view text) {
    // Large enough that a letter takes few system calls, small enough to stay in the cache; a
    // piece of a quarter of that or more is written as it is rather than copied first.
    constexpr std::size_t kBlock = std::size_t{128} << 10;
    if (text.size() >= kBlock / 4) {
        WriteGathered();
        Write(text.data(), text.size());
        return;
    }
    if (gathered_.size() + text.size() > kBlock) {
        WriteGathered();
    }
    if (gathered_.capacity() < kBlock) {
        gathered_.reserve(kBlock);
    }
    gathered_.append(text);
}

void AtomicFileWriter::Commit(Durability durability, const std::filesystem::path& backup) {
    WriteGathered();
    if (durability == Durability::Flushed && g_layer->Sync(fd_) != 0) {
        Fail(errno);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        ThrowCannotCreate(path_, error);
    }
    if (!backup.empty()) {
        int error = 0;
        try {
            error = KeepBackup(target_, backup);
        } catch (const FileError&) {
            ::unlink(temp_.c_str());
            throw;
        }
        if (error != 0) {
            ::unlink(temp_.c_str());
            ThrowCannotCreate(backup, error);
        }
    }
    if (g_layer->Rename(temp_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        ThrowCannotCreate(path_, error);
    }
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         const std::filesystem::path& backup, Durability durability) {
    AtomicFileWriter file(path);
    file.Put(bytes);
    file.Commit(durability, backup);
}

std::filesystem::path PathFromText(std::string_view text) {
    // A name with characters outside the code page comes as references; the file system
    // knows it by its characters.
    const std::string utf8 = AnsiToShownUtf8(text);
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
