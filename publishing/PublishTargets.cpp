// publish.dat; see PublishTargets.h.
#include "publishing/PublishTargets.h"

#include "utils/FileIo.h"

#include <algorithm>
#include <fstream>

namespace scribvane {
namespace {

// publish.dat is small and read once; anything beyond this is not ours.
constexpr std::uintmax_t kLargestFile = std::uintmax_t{1024} * 1024;

bool IsSafeValue(std::string_view value) {
    return std::none_of(value.begin(), value.end(),
                        [](char c) { return c == '\n' || c == '\r' || c == '\0'; });
}

} // namespace

bool IsValidTargetName(std::string_view name) {
    return !name.empty() && name.size() <= 200 && IsSafeValue(name) &&
           name.find(']') == std::string_view::npos &&
           name.find_first_not_of(" \t") != std::string_view::npos;
}

std::vector<PublishTarget> ReadPublishTargets(const std::filesystem::path& file) {
    std::vector<PublishTarget> targets;
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error || size > kLargestFile) {
        return targets;
    }
    std::ifstream in(file, std::ios::binary);
    std::string line;
    PublishTarget* current = nullptr;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const std::string name = line.substr(1, line.size() - 2);
            current = nullptr;
            if (IsValidTargetName(name) && !FindTarget(targets, name)) {
                current = &targets.emplace_back();
                current->name = name;
            }
            continue;
        }
        const auto equals = line.find('=');
        if (!current || equals == std::string::npos) {
            continue;
        }
        const std::string key = line.substr(0, equals);
        std::string value = line.substr(equals + 1);
        if (key == "address") {
            current->address = std::move(value);
        } else if (key == "public") {
            current->publicAddress = std::move(value);
        } else if (key == "trust" && !value.empty()) {
            current->trusted.push_back(std::move(value));
        }
    }
    std::erase_if(targets, [](const PublishTarget& target) { return target.address.empty(); });
    return targets;
}

void WritePublishTargets(const std::filesystem::path& file,
                         const std::vector<PublishTarget>& targets) {
    std::string text = "# Scribvane publish targets (no passwords are kept here)\n";
    for (const auto& target : targets) {
        if (!IsValidTargetName(target.name) || !IsSafeValue(target.address) ||
            !IsSafeValue(target.publicAddress)) {
            continue;
        }
        text += "[" + target.name + "]\naddress=" + target.address +
                "\npublic=" + target.publicAddress + "\n";
        for (const auto& fingerprint : target.trusted) {
            if (IsSafeValue(fingerprint)) {
                text += "trust=" + fingerprint + "\n";
            }
        }
    }
    WriteFileAtomically(file, text);
}

const PublishTarget* FindTarget(const std::vector<PublishTarget>& targets, std::string_view name) {
    const auto found =
        std::find_if(targets.begin(), targets.end(),
                     [&](const PublishTarget& target) { return target.name == name; });
    return found == targets.end() ? nullptr : &*found;
}

} // namespace scribvane
