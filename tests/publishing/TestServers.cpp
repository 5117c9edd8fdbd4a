// Loopback servers for the publishing tests; see TestServers.h.
#include "TestServers.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
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
