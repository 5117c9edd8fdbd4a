// Reading whole files and replacing files atomically, with the user-facing failure texts.
#pragma once

#include "utils/TextSink.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace scribvane {

// Throws FileError "Cannot open file "path". reason".
std::string ReadFileBytes(const std::filesystem::path& path);

// A file's bytes, mapped from the system's file cache instead of copied into fresh memory,
// which is most of what reading a file of megabytes costs. Fails as
// ReadFileBytes does; anything that cannot be mapped (an empty file, a pipe) is read instead.
// A mapped file that another program cuts short while it is mapped ends the process with a
// bus error, so only a short run that holds no unsaved work (the headless command) uses it.
class MappedFile {
public:
    explicit MappedFile(const std::filesystem::path& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::string_view bytes() const { return bytes_; }

private:
    void* map_ = nullptr; // of bytes_.size() bytes
    std::string read_;    // when not mapped
    std::string_view bytes_;
};

// How far a replacement goes before it counts as done.
enum class Durability {
    // Forced to the disk before it takes the old file's place, so even a power cut leaves the
    // old file or the new one. For the user's own work: the configuration and its autosave.
    Flushed,
    // Takes the old file's place all at once, but leaves the moment its bytes reach the disk to
    // the system. For files made from the user's work (the letter, copies of pictures), which
    // can be made again; forcing megabytes to the disk would cost more than making them.
    Replaced,
};

// Writes a file through a temporary file in the target's folder, renamed over the target once
// everything is written, so a failure never leaves a half-written or emptied file. On failure
// the temporary file is removed and FileError "Cannot create file "full path". reason" is
// thrown; a writer destroyed before Commit removes it too.
// An existing target the user may not write (or that has no write permission at all, which
// binds the superuser too) fails instead of being replaced. A symbolic link is written
// through to the file it names; the link stays.
class AtomicFileWriter final : public TextSink {
public:
    explicit AtomicFileWriter(const std::filesystem::path& path);
    ~AtomicFileWriter() override;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Small pieces are gathered and written in large blocks; a large piece is written as it is.
    void Put(std::string_view text) override;
    // Puts the file in the target's place. With a `backup` path, the file being replaced is
    // kept there (one generation, replacing an older backup) once the new content is safely
    // written, just before it takes its place.
    void Commit(Durability durability, const std::filesystem::path& backup = {});

private:
    void Write(const char* data, std::size_t size);
    void WriteGathered();
    [[noreturn]] void Fail(int error);

    std::filesystem::path path_;   // as the user named it, for messages
    std::filesystem::path target_; // where the bytes go once links are followed
    std::string temp_;
    int fd_ = -1;
    std::string gathered_;
};

// The whole of `bytes` through an AtomicFileWriter.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         const std::filesystem::path& backup = {},
                         Durability durability = Durability::Flushed);

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
// so a folder named with accented letters, typed or chosen in the window, is still found; a
// reference to a character the code page cannot hold ("&#321;" for "Ł") names that character.
std::filesystem::path PathFromText(std::string_view text);

// A path as Windows-1252 text; characters the code page lacks become references, so
// PathFromText gives the same path back.
std::string TextFromPath(const std::filesystem::path& path);

// The folder of the running executable (from /proc/self/exe), where every data file lives.
std::filesystem::path ProgramFolder();

// The part of a path after its last separator ('/' here; also '\' and ':' on Windows), and the
// part up to and including it (empty when there is none).
std::string FileNamePart(std::string_view path);
std::string FolderPart(std::string_view path);

} // namespace scribvane
