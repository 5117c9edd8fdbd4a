// Publishing a letter; see Publisher.h.
#include "publishing/Publisher.h"

#include "generation/LetterOutput.h"
#include "generation/LetterPreparation.h"
#include "publishing/Digest.h"
#include "publishing/PublishError.h"
#include "publishing/PublishManifest.h"
#include "utils/FileIo.h"

#include <cstdlib>
#include <map>
#include <unistd.h>

namespace scribvane {
namespace {

// A manifest lists a letter's few files; anything larger is not one of ours.
constexpr std::size_t kLargestManifest = std::size_t{1024} * 1024;

// A folder of our own under the system's temporary folder, removed with everything in it.
class StagingFolder {
public:
    StagingFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "scribvane-publish-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            throw FileError("Cannot create a staging folder in \"" +
                            std::filesystem::temp_directory_path().string() + "\".");
        }
        path_ = pattern;
    }
    ~StagingFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

void CheckCancel(const TransportSettings& settings) {
    if (settings.cancel && settings.cancel->load()) {
        throw PublishError(PublishFailure::Cancelled, "Publishing was cancelled");
    }
}

} // namespace

std::string RemotePageName(const std::string& outputFileName) {
    const std::string part = FileNamePart(outputFileName);
    if (part.empty()) {
        return "index.html";
    }
    std::string name = PathFromText(part).filename().string();
    if (!IsSafeRemoteName(name)) {
        throw PublishError(PublishFailure::BadAddress,
                           "The output name \"" + name + "\" cannot name a file on the server");
    }
    return name;
}

PublishResult PublishLetter(const PreparedLetter& letter, const PublishAddress& address,
                            const TransportSettings& settings, const ProgressFunction& progress) {
    if (!letter.HasTemplate() || letter.templateText.empty()) {
        throw PublishError(PublishFailure::LocalFile, "The letter could not be generated");
    }
    const std::string page = RemotePageName(letter.values.outputFileName);
    // The page and the files made for it are written here; pictures go up from where they lie.
    StagingFolder staging;
    std::map<std::string, std::filesystem::path> local;
    for (const LetterFile& file : letter.files) {
        // Names in the letter are its text; on the server they are the UTF-8 file names.
        const std::filesystem::path name = PathFromText(file.name);
        const std::string remote = name.string();
        if (!IsSafeRemoteName(remote) || remote == page || remote == kManifestName) {
            continue;
        }
        if (!file.source.empty()) {
            local[remote] = file.source;
        } else {
            WriteFileAtomically(staging.path() / name, file.bytes, {}, Durability::Replaced);
            local[remote] = staging.path() / name;
        }
    }
    const std::filesystem::path pageFile = staging.path() / page;
    WriteLetter(TextFromPath(pageFile), letter.Page(), letter.encoding);
    local[page] = pageFile;

    Manifest files;
    for (const auto& [name, path] : local) {
        files[name] = Sha256HexOfFile(path);
    }
    CheckCancel(settings);

    const auto transport = MakeTransport(address, settings);
    const auto previous = transport->Fetch(std::string(kManifestName), kLargestManifest);
    const UploadPlan plan =
        MakeUploadPlan(files, page, previous ? ParseManifest(*previous) : Manifest());
    PublishResult result{plan.send.size(), plan.unchanged, FormatPublishAddress(address)};
    if (plan.send.empty()) {
        return result;
    }
    transport->MakeFolder();
    for (std::size_t i = 0; i < plan.send.size(); ++i) {
        CheckCancel(settings);
        if (progress) {
            progress({plan.send[i], i, plan.send.size()});
        }
        transport->Put(plan.send[i], local.at(plan.send[i]));
    }
    // The manifest goes last: if it fails, the next publish sends everything again.
    const auto manifestFile = staging.path() / std::string(kManifestName);
    WriteFileAtomically(manifestFile, FormatManifest(plan.next), {}, Durability::Replaced);
    transport->Put(std::string(kManifestName), manifestFile);
    return result;
}

std::string PublishedMessage(const PublishResult& result) {
    return "Published " + std::to_string(result.sent) + " files (" +
           std::to_string(result.unchanged) + " unchanged) to " + result.address;
}

void TestPublishConnection(const PublishAddress& address, const TransportSettings& settings) {
    StagingFolder staging;
    const std::string probe = ".scribvane-probe";
    WriteFileAtomically(staging.path() / probe, "Scribvane checks that it may write here.\n", {},
                        Durability::Replaced);
    const auto transport = MakeTransport(address, settings);
    transport->MakeFolder();
    transport->Put(probe, staging.path() / probe);
    transport->Remove(probe);
}

} // namespace scribvane
