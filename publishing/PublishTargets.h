// The publish targets a user has set up, kept in publish.dat beside the program. The file is
// ours alone; it never holds a password (those live in the desktop's secret store).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scribvane {

struct PublishTarget {
    std::string name;          // UTF-8, any characters but line breaks and ']'
    std::string address;       // as FormatPublishAddress writes it
    std::string publicAddress; // where visitors find the folder ("https://example.com/offer/")
    std::vector<std::string> trusted; // fingerprints the user accepted for this server
};

// Reads publish.dat. A missing file gives no targets; lines that make no sense are passed over,
// so a damaged file loses only what is damaged.
std::vector<PublishTarget> ReadPublishTargets(const std::filesystem::path& file);

// Writes publish.dat atomically. Throws FileError as every file write does.
void WritePublishTargets(const std::filesystem::path& file,
                         const std::vector<PublishTarget>& targets);

// Whether a target may carry this name (not empty, no line break, no ']', at most 200 bytes).
bool IsValidTargetName(std::string_view name);

const PublishTarget* FindTarget(const std::vector<PublishTarget>& targets, std::string_view name);

} // namespace scribvane
