// A scripted instrument on 127.0.0.1 for tests: it listens on a free port
// and runs one script per accepted connection, on a thread of its own.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kvtest {

class ScriptedPeer {
public:
    // Runs with the accepted socket (blocking); the peer closes it when the
    // script returns. Connection i runs scripts[min(i, size-1)].
    using Script = std::function<void(int fd)>;

    explicit ScriptedPeer(Script script);
    explicit ScriptedPeer(std::vector<Script> scripts);
    ~ScriptedPeer();
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

    std::uint16_t Port() const { return port_; }
    // "TCPIP::127.0.0.1::<port>::SOCKET"
    std::string Resource() const;
    // Connections accepted so far.
    int Accepted() const { return accepted_.load(); }
    // Stops accepting: later connects are refused. Running scripts go on.
    void StopListening();
    // Listens again on the same port.
    void ResumeListening();
    // Waits until `n` connections were accepted and their scripts finished,
    // or `timeoutMs` passed; true when they did.
    bool WaitFinished(int n, int timeoutMs = 5000) const;

private:
    void Listen();
    void AcceptLoop();

    std::vector<Script> scripts_;
    std::uint16_t port_ = 0;
    int listener_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::atomic<int> accepted_{0};
    std::atomic<int> finished_{0};
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::thread acceptor_;
    std::vector<std::thread> workers_;
};

// Blocking helpers for scripts. Both give up after `timeoutMs`.
// Reads exactly `n` bytes; false on close, error or time-out.
bool ReadExactly(int fd, void* buf, std::size_t n, int timeoutMs = 5000);
// Reads up to `n` bytes that arrive within `timeoutMs`; what arrived.
std::vector<std::uint8_t> ReadAvailable(int fd, std::size_t n, int timeoutMs);
bool WriteAll(int fd, const void* buf, std::size_t n);
// Waits until the other side closes the connection; true if it did.
bool WaitForClose(int fd, int timeoutMs = 5000);

}  // namespace kvtest
