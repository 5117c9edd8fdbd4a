// What publishing needs from a protocol: read a small file, make the folder, put a file in
// place as a whole, remove a file. Each protocol's transport says how it keeps a visitor from
// ever seeing half a file.
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace scribvane {

struct PublishAddress;

// What a transport may need besides the address.
struct TransportSettings {
    std::string password;                      // or the S3 secret key
    std::string keyId;                         // S3 only
    std::vector<std::string> trusted;          // fingerprints the user accepted
    std::filesystem::path sshKeyFolder;        // where the user's SSH keys lie (~/.ssh)
    long timeoutSeconds = 20;                  // to connect, and for a transfer that stops moving
    const std::atomic<bool>* cancel = nullptr; // set from another thread to stop
};

class PublishTransport {
public:
    virtual ~PublishTransport() = default;

    // The bytes of `name` in the remote folder; nothing when there is no such file, the folder
    // is missing, or the file is larger than `limit` (so a hostile file cannot fill the memory).
    virtual std::optional<std::string> Fetch(const std::string& name, std::size_t limit) = 0;
    // Creates the remote folder (and its parents) when missing.
    virtual void MakeFolder() = 0;
    // Puts the local file at `name`, sent under a temporary name first and renamed into place
    // where the protocol can, so the old file stays whole until the new one is complete.
    virtual void Put(const std::string& name, const std::filesystem::path& local) = 0;
    // Removes `name`; a missing file is not a failure.
    virtual void Remove(const std::string& name) = 0;
};

// The transport for the address: one per protocol family over libcurl, the file system for
// folders.
std::unique_ptr<PublishTransport> MakeTransport(const PublishAddress& address,
                                                const TransportSettings& settings);

// The temporary name a file is sent under before it is renamed into place.
std::string TemporaryName(const std::string& name);

// The media type a file is sent with over HTTP, by its ending.
std::string ContentType(const std::string& name);

// Whether `name` may be written in the remote folder: a plain file name, never "..", a path or
// a control character, so nothing is ever written outside the folder.
bool IsSafeRemoteName(const std::string& name);

} // namespace scribvane
