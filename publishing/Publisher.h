// Publishing a prepared letter: its page and the files that belong with it; those that changed
// since the last publish go up, pictures first and the page last, and the manifest after them.
// A failure at any point leaves the last published letter complete.
#pragma once

#include "publishing/PublishAddress.h"
#include "publishing/PublishTransport.h"

#include <functional>
#include <string>

namespace scribvane {

struct PreparedLetter;

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

// Publishes `letter` (prepared with its pictures beside it or inside it) to `address`. Its
// output name only names the remote page. Throws PublishError (or FileError for the staging
// folder) and leaves the remote letter as it was.
PublishResult PublishLetter(const PreparedLetter& letter, const PublishAddress& address,
                            const TransportSettings& settings,
                            const ProgressFunction& progress = {});

// The "Published N files (M unchanged) to ADDRESS" line.
std::string PublishedMessage(const PublishResult& result);

// Checks that the folder can be written: makes it when missing, puts a small probe file there
// and removes it again. Throws PublishError naming what failed.
void TestPublishConnection(const PublishAddress& address, const TransportSettings& settings);

} // namespace scribvane
