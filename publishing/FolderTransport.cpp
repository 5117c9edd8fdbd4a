// Publishing into a folder; see FolderTransport.h.
#include "publishing/FolderTransport.h"

#include "publishing/PublishError.h"

#include <cerrno>
#include <fstream>
#include <system_error>

namespace scribvane {
namespace {

[[noreturn]] void Fail(const std::error_code& error, const std::string& what) {
    const int code = error.value();
    PublishFailure failure = PublishFailure::Other;
    std::string message = "Could not " + what;
    if (code == EACCES || code == EPERM || code == EROFS) {
        failure = PublishFailure::NotAllowed;
        message = "The folder does not let us write in it";
    } else if (code == ENOSPC || code == EDQUOT) {
        failure = PublishFailure::DiskFull;
        message = "The disk is full";
    } else if (code == ENOENT || code == ENOTDIR) {
        failure = PublishFailure::NoSuchFolder;
        message = "No such folder";
    }
    throw PublishError(failure, message, error.message());
}

} // namespace

FolderTransport::FolderTransport(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::optional<std::string> FolderTransport::Fetch(const std::string& name, std::size_t limit) {
    const auto path = folder_ / name;
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > limit) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        return std::nullopt;
    }
    return bytes;
}

void FolderTransport::MakeFolder() {
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (error) {
        Fail(error, "create the folder");
    }
}

void FolderTransport::Put(const std::string& name, const std::filesystem::path& local) {
    const auto temporary = folder_ / TemporaryName(name);
    std::error_code error;
    std::filesystem::copy_file(local, temporary, std::filesystem::copy_options::overwrite_existing,
                               error);
    if (!error) {
        std::filesystem::rename(temporary, folder_ / name, error);
    }
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        Fail(error, "write " + name);
    }
}

void FolderTransport::Remove(const std::string& name) {
    std::error_code error;
    std::filesystem::remove(folder_ / name, error);
    if (error) {
        Fail(error, "remove " + name);
    }
}

} // namespace scribvane
