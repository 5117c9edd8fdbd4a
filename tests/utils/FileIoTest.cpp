// Whole-file reads and atomic replacement: a failed write leaves the previous file whole.
#include "utils/FileIo.h"

#include "tests/support/TempDir.h"
#include "utils/Errors.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace scribvane {
namespace {

using testing::TempDir;

std::size_t FilesIn(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

TEST(ReadFileBytes, ReadsEveryByteIncludingNul) {
    TempDir dir;
    const std::string bytes("a\0b\r\n\xFF", 6);
    EXPECT_EQ(ReadFileBytes(dir.Write("f", bytes)), bytes);
}

TEST(ReadFileBytes, MissingFileOrFolderFailsWithTheOpenMessage) {
    TempDir dir;
    for (const auto& path : {dir / "missing.dat", dir.path()}) {
        try {
            ReadFileBytes(path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const FileError& error) {
            EXPECT_EQ(
                std::string(error.what()).rfind("Cannot open file \"" + path.string() + "\". ", 0),
                0u)
                << error.what();
        }
    }
}

TEST(WriteFileAtomically, CreatesAndReplacesWholeFiles) {
    TempDir dir;
    const auto target = dir / "config.dat";
    WriteFileAtomically(target, "first version, longer");
    EXPECT_EQ(TempDir::Read(target), "first version, longer");
    WriteFileAtomically(target, "second");
    EXPECT_EQ(TempDir::Read(target), "second");
    WriteFileAtomically(target, "");
    EXPECT_EQ(TempDir::Read(target), "");
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(WriteFileAtomically, MissingFolderFailsWithTheCreateMessage) {
    TempDir dir;
    const auto target = dir / "no-such-folder" / "letter.html";
    try {
        WriteFileAtomically(target, "x");
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create file \"" + target.string() + "\". No such file or directory");
    }
}

// Fails the chosen system call the way a full disk or a broken device would.
class FailingLayer : public FileLayer {
public:
    enum class Fail { FirstWrite, SecondWrite, ShortWrites, Sync, Rename };
    explicit FailingLayer(Fail fail) : fail_(fail) {}

    ssize_t Write(int fd, const void* data, std::size_t size) override {
        ++writes_;
        if ((fail_ == Fail::FirstWrite && writes_ == 1) ||
            (fail_ == Fail::SecondWrite && writes_ == 2)) {
            errno = ENOSPC;
            return -1;
        }
        // Short writes force the loop to continue; the second one fails.
        if (fail_ == Fail::ShortWrites || fail_ == Fail::SecondWrite) {
            return FileLayer::Write(fd, data, size < 3 ? size : 3);
        }
        return FileLayer::Write(fd, data, size);
    }
    int Sync(int fd) override {
        if (fail_ == Fail::Sync) {
            errno = EIO;
            return -1;
        }
        return FileLayer::Sync(fd);
    }
    int Rename(const char* from, const char* to) override {
        if (fail_ == Fail::Rename) {
            errno = EACCES;
            return -1;
        }
        return FileLayer::Rename(from, to);
    }

private:
    Fail fail_;
    int writes_ = 0;
};

TEST(WriteFileAtomically, AFailurePartWayKeepsThePreviousFileAndLeavesNoTemporary) {
    using Fail = FailingLayer::Fail;
    for (const auto fail : {Fail::FirstWrite, Fail::SecondWrite, Fail::Sync, Fail::Rename}) {
        TempDir dir;
        const auto target = dir / "config.dat";
        WriteFileAtomically(target, "previous content");
        FailingLayer layer(fail);
        ScopedFileLayer guard(layer);
        EXPECT_THROW(WriteFileAtomically(target, "new content that never lands"), FileError);
        EXPECT_EQ(TempDir::Read(target), "previous content");
        EXPECT_EQ(FilesIn(dir.path()), 1u) << "a temporary file was left behind";
    }
}

TEST(WriteFileAtomically, ShortWritesStillWriteEverything) {
    TempDir dir;
    FailingLayer layer(FailingLayer::Fail::ShortWrites);
    ScopedFileLayer guard(layer);
    WriteFileAtomically(dir / "f", "0123456789");
    EXPECT_EQ(TempDir::Read(dir / "f"), "0123456789");
}

// What a replacing write does to what was there: the backup keeps the old content, a file
// marked read-only is refused and kept, a link keeps pointing at the file that changes.
TEST(WriteFileAtomically, ProtectsWhatItReplaces) {
    struct Case {
        const char* name;
        bool readOnly;
        bool link;
        bool withBackup;
        const char* error; // empty when the write succeeds
    };
    const Case cases[] = {
        {"the replaced file goes to the backup", false, false, true, ""},
        {"a read-only file stays", true, false, true, "Permission denied"},
        {"a link is written through", false, true, false, ""},
        {"a link is written through and its target backed up", false, true, true, ""},
        {"a link to a read-only file stays", true, true, false, "Permission denied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const auto real = dir.Write("real.dat", "old");
        const auto target = dir / "config.dat";
        if (c.link) {
            std::filesystem::create_symlink("real.dat", target);
        } else {
            std::filesystem::rename(real, target);
        }
        const auto file = c.link ? real : target;
        if (c.readOnly) {
            std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                                   std::filesystem::perms::group_read);
        }
        const auto backup = c.withBackup ? dir / "config.bak" : std::filesystem::path();
        std::string error;
        try {
            WriteFileAtomically(target, "new", backup);
        } catch (const FileError& failure) {
            error = failure.what();
        }
        if (*c.error != '\0') {
            EXPECT_EQ(error, "Cannot create file \"" + target.string() + "\". " + c.error);
        } else {
            EXPECT_EQ(error, "");
        }
        EXPECT_EQ(TempDir::Read(file), *c.error != '\0' ? "old" : "new");
        EXPECT_EQ(std::filesystem::is_symlink(target), c.link);
        EXPECT_EQ(std::filesystem::exists(dir / "config.bak"), c.withBackup && *c.error == '\0');
        if (c.withBackup && *c.error == '\0') {
            EXPECT_EQ(TempDir::Read(dir / "config.bak"), "old");
            WriteFileAtomically(target, "newer", backup); // one generation: the backup moves on
            EXPECT_EQ(TempDir::Read(dir / "config.bak"), "new");
        }
        EXPECT_EQ(FilesIn(dir.path()), (c.link ? 2u : 1u) + (c.withBackup && !*c.error ? 1u : 0u))
            << "a temporary file was left behind";
    }
}

TEST(WriteFileAtomically, ABackupIsOnlyMadeOnceTheNewContentIsWritten) {
    TempDir dir;
    const auto target = dir / "config.dat";
    WriteFileAtomically(target, "previous");
    FailingLayer layer(FailingLayer::Fail::FirstWrite);
    ScopedFileLayer guard(layer);
    EXPECT_THROW(WriteFileAtomically(target, "never lands", dir / "config.bak"), FileError);
    EXPECT_EQ(TempDir::Read(target), "previous");
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(PathFromText, Windows1252TextNamesUtf8FilesAndMessagesComeBackAsText) {
    TempDir dir;
    dir.Write("caf\xC3\xA9.dat", "x");
    const auto path = PathFromText(dir.path().string() + "/caf\xE9.dat");
    EXPECT_EQ(ReadFileBytes(path), "x");
    EXPECT_EQ(TextFromPath(path), dir.path().string() + "/caf\xE9.dat");
    try {
        WriteFileAtomically(PathFromText(dir.path().string() + "/no\xEBl/letter.html"), "x");
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("/no\xEBl/letter.html\""), std::string::npos)
            << error.what();
    }
}

TEST(FileNameParts, SplitAtTheLastSeparator) {
    const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        {"/tmp/site/index.html", "/tmp/site/", "index.html"},
        {"index.html", "", "index.html"},
        {"/logo.gif", "/", "logo.gif"},
        {"dir/", "dir/", ""},
        {"", "", ""},
    };
    for (const auto& [path, folder, name] : cases) {
        EXPECT_EQ(FolderPart(path), folder);
        EXPECT_EQ(FileNamePart(path), name);
    }
}

} // namespace
} // namespace scribvane
