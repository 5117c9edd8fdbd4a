// What belongs beside a letter's page besides the page itself, and what a letter tells its
// visitors it collects about them. Preparing a letter lists these once, so saving, publishing
// and embedding all take the same files.
#pragma once

#include <filesystem>
#include <string>

namespace scribvane {

// A file written into the page's folder: a picture copied or converted for the web, a policy
// page. Its bytes are either those of `source`, taken as they are, or `bytes`.
struct LetterFile {
    std::string name;             // a bare file name, relative to the page's folder
    std::filesystem::path source; // empty when `bytes` holds the content
    std::string bytes;
    // The name carries a hash of the bytes (pictures made for the web): a file of that name and
    // size already in the folder holds them, and is left as it is.
    bool namedByContent = false;
};

// One service or form of the letter that collects something about visitors, for the privacy
// page and the consent notice.
struct DataUse {
    std::string service;           // "Plausible Analytics", "E-mail sign-up"
    std::string purpose;           // what it is for, in the visitor's words
    std::string privacyAddress;    // the provider's privacy policy; may be empty
    bool storesIdentifier = false; // cookies or the like: loads only after consent
};

} // namespace scribvane
