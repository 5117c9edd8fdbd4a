// S3-compatible storage; see S3Transport.h.
#include "publishing/S3Transport.h"

#include "publishing/Digest.h"
#include "publishing/PublishError.h"
#include "utils/FileIo.h"
#include "utils/TextCoding.h"

namespace scribvane {
namespace {

// The host of an endpoint "https://host:port", which its certificate must name.
std::string EndpointHost(const std::string& endpoint) {
    std::string host = endpoint.substr(endpoint.find("://") + 3);
    host = host.substr(0, host.find('/'));
    if (host.starts_with('[')) {
        return host.substr(0, host.find(']') + 1);
    }
    return host.substr(0, host.find(':'));
}

} // namespace

S3Transport::S3Transport(const PublishAddress& address, const TransportSettings& settings)
    : address_(address), session_(EndpointHost(address.endpoint), 0, settings),
      awsProvider_("aws:amz:" + address.region + ":s3") {
    session_.SetLogin(settings.keyId, settings.password);
}

void S3Transport::Prepare(const std::string& name, const std::string& bodyDigest,
                          std::vector<std::string> headers) {
    session_.Prepare(address_.endpoint + "/" + address_.bucket +
                     EncodePercent(address_.folder + name, "/"));
    curl_easy_setopt(session_.handle(), CURLOPT_AWS_SIGV4, awsProvider_.c_str());
    headers.push_back("x-amz-content-sha256: " + bodyDigest);
    session_.SetList(CURLOPT_HTTPHEADER, headers);
}

void S3Transport::Fail(long status, const std::string& what) {
    const std::string& answer = session_.answer();
    if (status == 403 && (answer.find("InvalidAccessKeyId") != std::string::npos ||
                          answer.find("SignatureDoesNotMatch") != std::string::npos)) {
        session_.FailHttp(401, what); // S3's way of saying the key is wrong
    }
    session_.FailHttp(status, what);
}

std::optional<std::string> S3Transport::Fetch(const std::string& name, std::size_t limit) {
    Prepare(name, Sha256Hex(""));
    session_.KeepAnswer(limit);
    const long status = session_.Perform("read the folder");
    if (session_.answerTooLarge() || status == 404) {
        return std::nullopt; // too large to be ours, or nothing was published there yet
    }
    if (status != 200) {
        Fail(status, "read the folder");
    }
    return session_.TakeAnswer();
}

void S3Transport::MakeFolder() {
    // S3 has no folders: a key's prefix is all there is.
}

void S3Transport::Put(const std::string& name, const std::filesystem::path& local) {
    // The body is signed, so it is read first (letters and their pictures are small).
    std::string body;
    try {
        body = ReadFileBytes(local);
    } catch (const Error&) {
        throw PublishError(PublishFailure::LocalFile, "Cannot read " + local.string());
    }
    Prepare(name, Sha256Hex(body), {"Content-Type: " + ContentType(name)});
    CURL* curl = session_.handle();
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "PUT");
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    const long status = session_.Perform("write in the folder");
    if (status / 100 != 2) {
        Fail(status, "write in the folder");
    }
}

void S3Transport::Remove(const std::string& name) {
    Prepare(name, Sha256Hex(""));
    curl_easy_setopt(session_.handle(), CURLOPT_CUSTOMREQUEST, "DELETE");
    const long status = session_.Perform("remove a file");
    if (status / 100 != 2 && status != 404) {
        Fail(status, "remove a file");
    }
}

} // namespace scribvane
