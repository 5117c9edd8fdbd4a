// Reading whole files and replacing files atomically, with the user-facing failure texts.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace scribvane {

// Throws FileError "Cannot open file "path". reason".
std::string ReadFileBytes(const std::filesystem::path& path);

// Writes bytes to a temporary file in the target's folder and renames it over the target, so
// a failure never leaves a half-written or emptied file. On failure the temporary file is
// removed and FileError "Cannot create file "full path". reason" is thrown.
// An existing target the user may not write (or that has no write permission at all, which
// binds the superuser too) fails instead of being replaced. A symbolic link is written
// through to the file it names; the link stays.
// With a `backup` path, the file being replaced is kept there (one generation, replacing an
// older backup) once the new content is safely written, just before it takes its place.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         const std::filesystem::path& backup = {});

// The system calls the atomic write goes through. Tests install their own to inject a full
// disk or a failing rename without depending on the machine.
class FileLayer {
public:
    virtual ~FileLayer() = default;
    virtual ssize_t Write(int fd, const void* data, std::size_t size);
    virtual int Sync(int fd);
    virtual int Rename(const char* from, const char* to);
};

// Installs a layer for the lifetime of the guard (not thread-safe; tests only).
class ScopedFileLayer {
public:
    explicit ScopedFileLayer(FileLayer& layer);
    ~ScopedFileLayer();
    ScopedFileLayer(const ScopedFileLayer&) = delete;
    ScopedFileLayer& operator=(const ScopedFileLayer&) = delete;

private:
    FileLayer* previous_;
};

// The file system path that a text names. Text is Windows-1252 and file names here are UTF-8,
// so a folder named with accented letters, typed or chosen in the window, is still found.
std::filesystem::path PathFromText(std::string_view text);

// A path as Windows-1252 text, for messages; characters the code page lacks become '?'.
std::string TextFromPath(const std::filesystem::path& path);

// The folder of the running executable (from /proc/self/exe), where every data file lives.
std::filesystem::path ProgramFolder();

// The part of a path after its last separator ('/' here; also '\' and ':' on Windows), and the
// part up to and including it (empty when there is none).
std::string FileNamePart(std::string_view path);
std::string FolderPart(std::string_view path);

} // namespace scribvane
