// Loopback servers for the publishing tests; see TestServers.h.
#include "TestServers.h"

#include <arpa/inet.h>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace scribvane::testing {
namespace {

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A listening socket on a free loopback port.
int Listen(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(fd, 16);
    socklen_t size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    port = ntohs(address.sin_port);
    return fd;
}

int Connect(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(port);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Waits for a connection for a tenth of a second; -1 when none came.
int AcceptSoon(int listener) {
    pollfd wait{listener, POLLIN, 0};
    if (::poll(&wait, 1, 100) <= 0) {
        return -1;
    }
    return ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
}

} // namespace

int FreePort() {
    int port = 0;
    ::close(Listen(port));
    return port;
}

bool WaitForPort(int port, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (const int fd = Connect(port); fd >= 0) {
            ::close(fd);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

ChildProcess::ChildProcess(const std::vector<std::string>& arguments,
                           const std::filesystem::path& log,
                           const std::filesystem::path& workingFolder) {
    pid_ = ::fork();
    if (pid_ == 0) {
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, 1);
        ::dup2(out, 2);
        if (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0) {
            ::_exit(127);
        }
        std::vector<char*> argv;
        for (const auto& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ <= 0) {
        return;
    }
    ::kill(pid_, SIGTERM);
    for (int i = 0; i < 40; ++i) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
}

bool WebDavServer::Installed(bool tls) {
    return ::access("/usr/sbin/lighttpd", X_OK) == 0 &&
           std::filesystem::exists("/usr/lib/lighttpd/mod_webdav.so") &&
           (!tls || (std::filesystem::exists("/usr/lib/lighttpd/mod_openssl.so") &&
                     ::access("/usr/bin/openssl", X_OK) == 0));
}

WebDavServer::WebDavServer(const std::filesystem::path& folder, const std::filesystem::path& root,
                           bool tls, const std::string& password) {
    port_ = FreePort();
    std::string ssl;
    if (tls) {
        const std::string key = (folder / "key.pem").string();
        const std::string cert = (folder / "cert.pem").string();
        const std::string make = "/usr/bin/openssl req -x509 -newkey rsa:2048 -nodes -keyout '" +
                                 key + "' -out '" + cert +
                                 "' -days 2 -subj /CN=127.0.0.1 2>/dev/null && "
                                 "/usr/bin/openssl x509 -noout -fingerprint -sha256 -in '" +
                                 cert + "'";
        if (FILE* pipe = ::popen(make.c_str(), "r")) {
            char line[256] = {};
            if (std::fgets(line, sizeof line, pipe)) {
                fingerprint_ = line;
            }
            ::pclose(pipe);
        }
        // "sha256 Fingerprint=AB:CD:..." as openssl prints it: the part after '=', without the
        // line end.
        while (!fingerprint_.empty() &&
               std::isspace(static_cast<unsigned char>(fingerprint_.back()))) {
            fingerprint_.pop_back();
        }
        fingerprint_.erase(0, fingerprint_.find('=') + 1); // nothing to erase when there is none
        ssl = "server.modules += (\"mod_openssl\")\nssl.engine = \"enable\"\nssl.pemfile = \"" +
              cert + "\"\nssl.privkey = \"" + key + "\"\n";
    }
    std::ofstream(folder / "users") << "writer:" << password << '\n';
    std::ofstream(folder / "lighttpd.conf")
        << "server.modules = (\"mod_webdav\", \"mod_auth\", \"mod_authn_file\")\n"
        << ssl << "server.document-root = \"" << root.string()
        << "\"\nserver.bind = \"127.0.0.1\"\nserver.port = "
        << port_
        // The tests change files behind the server's back.
        << "\nserver.stat-cache-engine = \"disable\"\nserver.errorlog = \""
        << (folder / "error.log").string() << "\"\nserver.upload-dirs = (\"" << folder.string()
        << "\")\nwebdav.activate = \"enable\"\nauth.backend = \"plain\"\n"
           "auth.backend.plain.userfile = \""
        << (folder / "users").string()
        << "\"\nauth.require = (\"/\" => (\"method\" => \"basic\", \"realm\" => \"letters\", "
           "\"require\" => \"valid-user\"))\n"
           "$HTTP[\"url\"] =~ \"^/readonly/\" { webdav.is-readonly = \"enable\" }\n";
    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/sbin/lighttpd", "-D", "-f",
                                 (folder / "lighttpd.conf").string()},
        folder / "lighttpd.log");
}

bool SftpServer::Installed() {
    return ::access("/usr/sbin/sshd", X_OK) == 0 && ::access("/usr/bin/ssh-keygen", X_OK) == 0;
}

SftpServer::SftpServer(const std::filesystem::path& folder) : folder_(folder), port_(FreePort()) {
    std::filesystem::permissions(folder, std::filesystem::perms(0755));
    std::filesystem::create_directories("/run/sshd"); // sshd's privilege separation
    std::filesystem::create_directories(root() / "readonly");
    if (::chown(root().c_str(), 65534, 65534) != 0) {
        return; // not root: the server is not started, and the test finds no port open
    }
    const std::string keys = "/usr/bin/ssh-keygen -q -t ed25519 -N '' -f '";
    std::filesystem::create_directories(home() / ".ssh");
    const auto user = home() / ".ssh/id_ed25519";
    if (std::system((keys + (folder / "host").string() + "'").c_str()) != 0 ||
        std::system((keys + user.string() + "'").c_str()) != 0) {
        return;
    }
    std::filesystem::copy_file(user.string() + ".pub", folder / "authorized_keys");
    const std::string print = "/usr/bin/ssh-keygen -l -f '" + (folder / "host.pub").string() + "'";
    if (FILE* pipe = ::popen(print.c_str(), "r")) {
        char line[256] = {};
        if (std::fgets(line, sizeof line, pipe)) {
            // "256 SHA256:... comment (ED25519)": the second word.
            std::string text = line;
            const auto start = text.find(' ') + 1;
            fingerprint_ = text.substr(start, text.find(' ', start) - start);
        }
        ::pclose(pipe);
    }
    std::ofstream(folder / "sshd_config")
        << "ListenAddress 127.0.0.1\nHostKey " << (folder / "host").string()
        << "\nPidFile none\nUsePAM no\nStrictModes no\nAuthorizedKeysFile "
        << (folder / "authorized_keys").string()
        << "\nPasswordAuthentication no\nKbdInteractiveAuthentication no\n"
           "Subsystem sftp internal-sftp\nForceCommand internal-sftp\nAllowUsers nobody\n";
    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/sbin/sshd", "-D", "-e", "-f",
                                 (folder / "sshd_config").string(), "-p", std::to_string(port_)},
        folder / "sshd.log");
}

HostileServer::HostileServer(Answer answer) {
    listener_ = Listen(port_);
    thread_ = std::thread([this, answer] {
        std::vector<int> open;
        const std::string garbage(1024 * 1024, 'X');
        while (!stop_) {
            const int client = AcceptSoon(listener_);
            if (client < 0) {
                continue;
            }
            if (answer == Answer::TenMegabytes) {
                for (int i = 0; i < 10 && !stop_; ++i) {
                    if (::send(client, garbage.data(), garbage.size(), MSG_NOSIGNAL) < 0) {
                        break;
                    }
                }
                ::close(client);
            } else {
                open.push_back(client); // kept open, never answered
            }
        }
        for (const int client : open) {
            ::close(client);
        }
    });
}

HostileServer::~HostileServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

ScriptedHttpServer::ScriptedHttpServer(std::map<std::string, std::string> statusByMethod)
    : statusByMethod_(std::move(statusByMethod)) {
    listener_ = Listen(port_);
    thread_ = std::thread([this] {
        while (!stop_) {
            const int client = AcceptSoon(listener_);
            if (client < 0) {
                continue;
            }
            // The head, then as much body as it announces (a second at most per read).
            std::string request;
            std::size_t headEnd = std::string::npos;
            std::size_t length = 0;
            char buffer[16384];
            for (;;) {
                pollfd wait{client, POLLIN, 0};
                if (::poll(&wait, 1, 1000) <= 0) {
                    break;
                }
                const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
                if (got <= 0) {
                    break;
                }
                request.append(buffer, static_cast<std::size_t>(got));
                if (headEnd == std::string::npos &&
                    (headEnd = request.find("\r\n\r\n")) != std::string::npos) {
                    std::string head = request.substr(0, headEnd);
                    for (char& c : head) {
                        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                    }
                    if (const auto at = head.find("\r\ncontent-length:"); at != std::string::npos) {
                        length = std::strtoul(head.c_str() + at + 17, nullptr, 10);
                    }
                }
                if (headEnd != std::string::npos && request.size() >= headEnd + 4 + length) {
                    break;
                }
            }
            const std::string line = request.substr(0, request.find(" HTTP/"));
            const auto found = statusByMethod_.find(line.substr(0, line.find(' ')));
            const std::string status =
                found == statusByMethod_.end() ? "404 Not Found" : found->second;
            const std::string body = "<html><title>" + status + "</title></html>";
            const std::string answer =
                "HTTP/1.1 " + status +
                "\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
                "\r\nConnection: close\r\n\r\n" + body;
            ::send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
            ::close(client);
            const std::lock_guard lock(mutex_);
            requests_.push_back(line);
        }
    });
}

ScriptedHttpServer::~ScriptedHttpServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

std::vector<std::string> ScriptedHttpServer::requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

ScriptedFtpServer::ScriptedFtpServer(std::string storeReply) : storeReply_(std::move(storeReply)) {
    listener_ = Listen(port_);
    thread_ = std::thread([this] {
        while (!stop_) {
            const int client = AcceptSoon(listener_);
            if (client < 0) {
                continue;
            }
            // A passive data port is listened on but never served: the kernel completes the
            // client's connection, and no transfer is ever started.
            int dataPort = 0;
            const int data = Listen(dataPort);
            const auto reply = [client](const std::string& line) {
                const std::string text = line + "\r\n";
                ::send(client, text.data(), text.size(), MSG_NOSIGNAL);
            };
            reply("220 Scripted server ready");
            std::string pending;
            char buffer[4096];
            bool open = true;
            while (open && !stop_) {
                pollfd wait{client, POLLIN, 0};
                if (::poll(&wait, 1, 100) <= 0) {
                    continue;
                }
                const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
                if (got <= 0) {
                    break;
                }
                pending.append(buffer, static_cast<std::size_t>(got));
                for (auto end = pending.find("\r\n"); end != std::string::npos;
                     end = pending.find("\r\n")) {
                    const std::string line = pending.substr(0, end);
                    pending.erase(0, end + 2);
                    {
                        const std::lock_guard lock(mutex_);
                        commands_.push_back(line);
                    }
                    std::string verb = line.substr(0, line.find(' '));
                    for (char& c : verb) {
                        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                    }
                    if (verb == "USER") {
                        reply("331 Password please");
                    } else if (verb == "PASS") {
                        reply("230 Logged in");
                    } else if (verb == "PWD") {
                        reply("257 \"/\" is the current folder");
                    } else if (verb == "CWD" || verb == "TYPE" || verb == "MKD") {
                        reply("250 OK");
                    } else if (verb == "EPSV") {
                        reply("229 Entering Extended Passive Mode (|||" + std::to_string(dataPort) +
                              "|)");
                    } else if (verb == "SIZE" || verb == "RETR" || verb == "MDTM") {
                        reply("550 No such file");
                    } else if (verb == "STOR") {
                        reply(storeReply_);
                    } else if (verb == "QUIT") {
                        reply("221 Bye");
                        open = false;
                    } else {
                        reply("502 Not implemented");
                    }
                }
            }
            ::close(data);
            ::close(client);
        }
    });
}

ScriptedFtpServer::~ScriptedFtpServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

std::vector<std::string> ScriptedFtpServer::commands() const {
    const std::lock_guard lock(mutex_);
    return commands_;
}

DroppingProxy::DroppingProxy(int targetPort, std::size_t dropAfter)
    : target_(targetPort), dropAfter_(dropAfter) {
    listener_ = Listen(port_);
    thread_ = std::thread([this] {
        while (!stop_) {
            const int client = AcceptSoon(listener_);
            if (client < 0) {
                continue;
            }
            const int server = Connect(target_);
            std::size_t sent = 0;
            char buffer[16384];
            while (!stop_ && server >= 0) {
                pollfd both[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
                if (::poll(both, 2, 100) < 0) {
                    break;
                }
                if (both[0].revents) {
                    const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
                    if (got <= 0) {
                        break;
                    }
                    std::size_t pass = static_cast<std::size_t>(got);
                    if (dropAfter_ != 0 && sent + pass > dropAfter_) {
                        pass = dropAfter_ - sent;
                    }
                    ::send(server, buffer, pass, MSG_NOSIGNAL);
                    sent += pass;
                    if (dropAfter_ != 0 && sent >= dropAfter_) {
                        break; // the line goes dead half-way
                    }
                }
                if (both[1].revents) {
                    const ssize_t got = ::recv(server, buffer, sizeof buffer, 0);
                    if (got <= 0) {
                        break;
                    }
                    ::send(client, buffer, static_cast<std::size_t>(got), MSG_NOSIGNAL);
                }
            }
            ::close(client);
            if (server >= 0) {
                ::close(server);
            }
        }
    });
}

DroppingProxy::~DroppingProxy() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

} // namespace scribvane::testing
