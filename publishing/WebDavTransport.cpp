// WebDAV; see WebDavTransport.h.
#include "publishing/WebDavTransport.h"

#include "utils/TextCoding.h"

namespace scribvane {

WebDavTransport::WebDavTransport(const PublishAddress& address, const TransportSettings& settings)
    : address_(address), session_(address.host, address.port, settings) {
    origin_ = (address_.protocol == Protocol::WebDavHttps ? "https://" : "http://") + address_.host;
    if (address_.port != 0) {
        origin_ += ":" + std::to_string(address_.port);
    }
    session_.SetLogin(address_.user, settings.password, CURLAUTH_BASIC | CURLAUTH_DIGEST);
}

std::string WebDavTransport::UrlOf(const std::string& path) const {
    return origin_ + EncodePercent(path, "/");
}

void WebDavTransport::Prepare(const std::string& url) {
    session_.Prepare(url);
    // Offered HTTP/2, a WebDAV server may take it and then break off every upload ("Stream
    // error in the HTTP/2 framing layer"); a letter's few files gain nothing from it, so
    // WebDAV speaks HTTP/1.1 over https as it does over plain http.
    curl_easy_setopt(session_.handle(), CURLOPT_HTTP_VERSION,
                     static_cast<long>(CURL_HTTP_VERSION_1_1));
}

std::optional<std::string> WebDavTransport::Fetch(const std::string& name, std::size_t limit) {
    Prepare(UrlOf(address_.folder + name));
    session_.KeepAnswer(limit);
    const long status = session_.Perform("read the folder");
    if (session_.answerTooLarge() || status == 404) {
        return std::nullopt; // too large to be ours, or nothing was published there yet
    }
    if (status != 200) {
        session_.FailHttp(status, "read the folder");
    }
    return session_.TakeAnswer();
}

void WebDavTransport::MakeFolder() {
    // MKCOL makes one folder whose parent must exist: each level from the top, "already
    // there" (405) being fine.
    std::size_t start = 1;
    while (start < address_.folder.size()) {
        const std::size_t end = address_.folder.find('/', start);
        Prepare(UrlOf(address_.folder.substr(0, end + 1)));
        start = end + 1;
        curl_easy_setopt(session_.handle(), CURLOPT_CUSTOMREQUEST, "MKCOL");
        curl_easy_setopt(session_.handle(), CURLOPT_NOBODY, 0L);
        const long status = session_.Perform("create the folder");
        if (status != 201 && status != 405 && status != 200 && status != 204) {
            session_.FailHttp(status, "create the folder");
        }
    }
}

void WebDavTransport::Put(const std::string& name, const std::filesystem::path& local) {
    const std::string temporary = UrlOf(address_.folder + TemporaryName(name));
    Prepare(temporary);
    session_.UploadFrom(local);
    session_.SetList(CURLOPT_HTTPHEADER, {"Content-Type: " + ContentType(name)});
    const long status = session_.Perform("write in the folder");
    if (status / 100 != 2) {
        session_.FailHttp(status, "write in the folder");
    }
    // MOVE with Overwrite puts the whole file in place at once.
    Prepare(temporary);
    session_.SetList(CURLOPT_HTTPHEADER,
                     {"Destination: " + UrlOf(address_.folder + name), "Overwrite: T"});
    curl_easy_setopt(session_.handle(), CURLOPT_CUSTOMREQUEST, "MOVE");
    const long moved = session_.Perform("rename a file");
    if (moved / 100 != 2) {
        session_.FailHttp(moved, "rename a file");
    }
}

void WebDavTransport::Remove(const std::string& name) {
    Prepare(UrlOf(address_.folder + name));
    curl_easy_setopt(session_.handle(), CURLOPT_CUSTOMREQUEST, "DELETE");
    const long status = session_.Perform("remove a file");
    if (status / 100 != 2 && status != 404) {
        session_.FailHttp(status, "remove a file");
    }
}

} // namespace scribvane
