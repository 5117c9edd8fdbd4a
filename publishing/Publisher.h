// Publishing a letter: it is generated into a staging folder with its pictures copied beside
// it, then the files that changed since the last publish go up, pictures first and the page
// last, and the manifest after them. A failure at any point leaves the last published letter
// complete.
#pragma once

#include "generation/LetterValues.h"
#include "publishing/PublishAddress.h"
#include "publishing/PublishTransport.h"

#include <functional>
#include <string>

namespace scribvane {

struct PublishProgress {
    std::string file;      // being sent
    std::size_t index = 0; // of the files to send, from 0
    std::size_t total = 0; // files to send
};

struct PublishResult {
    std::size_t sent = 0;
    std::size_t unchanged = 0;
    std::string address; // as shown to the user
};

using ProgressFunction = std::function<void(const PublishProgress&)>;

// The remote page's name: the file name of the letter's output name, else "index.html".
// Throws PublishError when that name cannot be a file in the remote folder.
std::string RemotePageName(const std::string& outputFileName);

// Publishes the letter of `values` (merged from `templateText`) to `address`. The values'
// output name only names the remote page; placement is copy-beside unless embedding was chosen.
// Throws PublishError (or FileError for the staging folder) and leaves the remote letter as it
// was.
PublishResult PublishLetter(LetterValues values, const std::string& templateText,
                            const PublishAddress& address, const TransportSettings& settings,
                            const ProgressFunction& progress = {});

// The "Published N files (M unchanged) to ADDRESS" line.
std::string PublishedMessage(const PublishResult& result);

// Checks that the folder can be written: makes it when missing, puts a small probe file there
// and removes it again. Throws PublishError naming what failed.
void TestPublishConnection(const PublishAddress& address, const TransportSettings& settings);

} // namespace scribvane
