#include "support/simulator_process.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>

#include "support/scripted_peer.h"

namespace kvtest {
namespace {

// What arrives first within `timeoutMs`: a line may come in any pieces.
std::string ReadSome(int fd, int timeoutMs) {
    pollfd pfd{fd, POLLIN, 0};
    if (poll(&pfd, 1, timeoutMs) <= 0) return {};
    char chunk[4096];
    const ssize_t got = recv(fd, chunk, sizeof chunk, 0);
    return got > 0 ? std::string(chunk, static_cast<std::size_t>(got)) : std::string();
}

}  // namespace

std::string SimulatorPath() {
    const std::string path = Z5R_SIM_PATH;
    return access(path.c_str(), X_OK) == 0 ? path : std::string();
}

CSimulator::CSimulator(const std::vector<std::string>& options)
    : CSimulator(options, ChildOptions{}) {}

CSimulator::CSimulator(const std::vector<std::string>& options, const ChildOptions& child) {
    const std::string path = SimulatorPath();
    if (path.empty()) return;
    std::vector<std::string> argv{path, "--address", "127.0.0.1", "--port", "0",
                                  "--discovery-port", "0", "--control-port", "0"};
    argv.insert(argv.end(), options.begin(), options.end());
    process_ = std::make_unique<ChildProcess>(argv, child);
    const auto ready = process_->ReadLine(10000);
    if (!ready) return;
    unsigned port = 0, discovery = 0, control = 0;
    int end = 0;
    if (std::sscanf(ready->c_str(), "z5r-sim ready port=%u discovery=%u control=%u%n", &port,
                    &discovery, &control, &end) != 3 ||
        static_cast<std::size_t>(end) != ready->size() || port > 65535 || control > 65535) {
        return;
    }
    port_ = static_cast<std::uint16_t>(port);
    controlPort_ = static_cast<std::uint16_t>(control);
}

CSimulator::~CSimulator() {
    if (control_ >= 0) close(control_);
    if (process_) {
        process_->Kill(SIGTERM);
        if (process_->Wait(5000) < 0) process_->Kill(SIGKILL);
    }
}

std::string CSimulator::Resource() const {
    return "TCPIP::127.0.0.1::" + std::to_string(port_) + "::SOCKET";
}

bool CSimulator::ConnectControl() {
    if (control_ >= 0) return true;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(controlPort_);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (fd >= 0) close(fd);
        return false;
    }
    control_ = fd;
    return true;
}

std::vector<std::string> CSimulator::Control(const std::string& command, std::string* error) {
    std::string ignored;
    if (error == nullptr) error = &ignored;
    error->clear();
    if (!Started() || !ConnectControl()) {
        *error = "no control channel";
        return {};
    }
    const std::string line = command + "\n";
    if (!WriteAll(control_, line.data(), line.size())) {
        *error = "control channel closed";
        return {};
    }
    std::vector<std::string> lines;
    for (;;) {
        const std::size_t end = pending_.find('\n');
        if (end == std::string::npos) {
            const std::string more = ReadSome(control_, 5000);
            if (more.empty()) {
                *error = "no answer to " + command;
                return {};
            }
            pending_ += more;
            continue;
        }
        std::string text = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text == "OK") return lines;
        if (text.starts_with("ERR")) {
            *error = text;
            return {};
        }
        lines.push_back(std::move(text));
    }
}

std::map<std::string, std::string> CSimulator::State() {
    std::map<std::string, std::string> state;
    for (const std::string& line : Control("state")) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) state[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return state;
}

void CSimulator::Kill() {
    if (!process_) return;
    process_->Kill(SIGKILL);
    process_->Wait(5000);
}

}  // namespace kvtest
