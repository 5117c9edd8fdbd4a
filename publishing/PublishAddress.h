// Where a letter is published: the address of a remote (or local) folder, read from the text a
// user types or keeps in publish.dat, and turned back into the addresses a transfer needs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scribvane {

enum class Protocol { Sftp, Ftps, Ftp, WebDavHttps, WebDavHttp, S3, Folder };

struct PublishAddress {
    Protocol protocol = Protocol::Folder;
    std::string user; // from the address; never a password
    std::string host;
    int port = 0;       // 0: the protocol's own
    std::string folder; // decoded, starts and ends with '/', never holds a ".." segment
    // S3 only: the service's address ("https://host:port"), its region and the bucket; the
    // folder is then the key prefix inside the bucket.
    std::string endpoint;
    std::string region;
    std::string bucket;
};

// Reads "sftp://user@host:port/folder/", "ftps://", "ftp://", "webdav+https://",
// "webdav+http://", "s3://bucket/prefix/?endpoint=https://host:port&region=R" or
// "file:///folder/". Returns the reason in `problem` when the text is not such an address
// (a password in it, a ".." segment, an unknown scheme, a bad port...).
std::optional<PublishAddress> ParsePublishAddress(std::string_view text, std::string& problem);

// The address as it is shown to the user and parsed again (no password, folder encoded).
std::string FormatPublishAddress(const PublishAddress& address);

// Whether the protocol sends the password unencrypted (plain ftp, WebDAV over http).
bool SendsPasswordInClear(Protocol protocol);

} // namespace scribvane
