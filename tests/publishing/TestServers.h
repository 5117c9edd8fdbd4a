// What the publishing tests run on loopback: a server program started as a child of the test
// on a free port (stopped when the test ends), a WebDAV server over http or https, a proxy that
// drops the connection after some bytes, and a listener that answers with nothing or with
// garbage.
#pragma once

#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace scribvane::testing {

// A port on 127.0.0.1 that nothing listens on right now.
int FreePort();

// Waits until something accepts connections on the port (false after `seconds`).
bool WaitForPort(int port, int seconds);

// A program running as a child of the test; terminated (then killed) when destroyed. Its
// output goes to `log`.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& arguments, const std::filesystem::path& log,
                 const std::filesystem::path& workingFolder = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

private:
    int pid_ = -1;
};

// lighttpd with mod_webdav serving `root` on a free port, for the user "writer" with `password`
// (basic authentication); over https with a certificate made for it when `tls`. Writes under
// "/readonly/" are refused. Its configuration and log lie in `folder`.
class WebDavServer {
public:
    WebDavServer(const std::filesystem::path& folder, const std::filesystem::path& root, bool tls,
                 const std::string& password);
    // Whether lighttpd and its modules (and openssl, for tls) are installed.
    static bool Installed(bool tls);
    int port() const { return port_; }
    // The certificate's SHA-256 fingerprint as "AB:CD:..."; empty over http or when it could not
    // be made.
    const std::string& fingerprint() const { return fingerprint_; }

private:
    int port_ = 0;
    std::string fingerprint_;
    std::unique_ptr<ChildProcess> process_;
};

// OpenSSH's sshd with internal-sftp on a free port, for the user nobody, who may log in only
// with the key made for it in home()/.ssh (no password). It serves the file system; root() is a
// folder nobody owns, with a readonly/ in it. Its host key, configuration and log lie in
// `folder`. Needs root: sshd runs the session as nobody.
class SftpServer {
public:
    explicit SftpServer(const std::filesystem::path& folder);
    // Whether sshd and ssh-keygen are installed.
    static bool Installed();
    int port() const { return port_; }
    // The host key's fingerprint as "SHA256:..." (as ssh-keygen -l prints it).
    const std::string& fingerprint() const { return fingerprint_; }
    std::filesystem::path root() const { return folder_ / "srv"; }
    std::filesystem::path home() const { return folder_ / "home"; }

private:
    std::filesystem::path folder_;
    int port_ = 0;
    std::string fingerprint_;
    std::unique_ptr<ChildProcess> process_;
};

// Listens on a free port and answers every connection in one way, on a thread of its own.
class HostileServer {
public:
    enum class Answer { Nothing, TenMegabytes };
    explicit HostileServer(Answer answer);
    ~HostileServer();
    HostileServer(const HostileServer&) = delete;
    HostileServer& operator=(const HostileServer&) = delete;
    int port() const { return port_; }

private:
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Answers each HTTP request on a free port with the status given for its method ("507
// Insufficient Storage"), else "404 Not Found", one request per connection, reading the whole
// request first; keeps "METHOD path" of every request.
class ScriptedHttpServer {
public:
    explicit ScriptedHttpServer(std::map<std::string, std::string> statusByMethod);
    ~ScriptedHttpServer();
    ScriptedHttpServer(const ScriptedHttpServer&) = delete;
    ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;
    int port() const { return port_; }
    std::vector<std::string> requests() const;

private:
    std::map<std::string, std::string> statusByMethod_;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A minimal FTP server on a free port: logs anyone in, finds every folder, has no files, and
// answers STOR with `storeReply` ("452 ..."); keeps every command it got.
class ScriptedFtpServer {
public:
    explicit ScriptedFtpServer(std::string storeReply);
    ~ScriptedFtpServer();
    ScriptedFtpServer(const ScriptedFtpServer&) = delete;
    ScriptedFtpServer& operator=(const ScriptedFtpServer&) = delete;
    int port() const { return port_; }
    std::vector<std::string> commands() const;

private:
    std::string storeReply_;
    mutable std::mutex mutex_;
    std::vector<std::string> commands_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Forwards one port to another and cuts every connection once `dropAfter` bytes went from
// the client to the server (never, when it is 0).
class DroppingProxy {
public:
    DroppingProxy(int targetPort, std::size_t dropAfter);
    ~DroppingProxy();
    DroppingProxy(const DroppingProxy&) = delete;
    DroppingProxy& operator=(const DroppingProxy&) = delete;
    int port() const { return port_; }

private:
    int listener_ = -1;
    int port_ = 0;
    int target_ = 0;
    std::size_t dropAfter_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace scribvane::testing
