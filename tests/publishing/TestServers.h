// What the publishing tests run on loopback: a server program started as a child of the test
// on a free port (stopped when the test ends), a proxy that drops the connection after some
// bytes, and a listener that answers with nothing or with garbage.
#pragma once

#include <atomic>
#include <filesystem>
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
