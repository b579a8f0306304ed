// Runs z5r-sim inside a network namespace of its own and asks it who it is,
// the way a discovery search does:
//
//   z5rsim_discovery_probe IP_TOOL SIM [FIND_PROBE]
//
// Brings lo up, starts SIM with free ports (discovery on 8889 when
// FIND_PROBE is given), sends stray datagrams and then "1" to 127.0.0.1,
// a "1" broadcast on lo, connects to the instrument port the reply names;
// with FIND_PROBE also adds a veth link (10.9.0.1/24) and runs the
// library's search through FIND_PROBE. Output lines (escaped: \t \r \n):
//   ready port=P discovery=D
//   reply TEXT               the first datagram after the stray ones
//   broadcast-reply TEXT
//   tcp status=S id=I        KV_TEST through the instrument port
//   find: LINE               FIND_PROBE's output
//   exit=N                   the simulator's exit code after SIGTERM
// Refuses to run (exit code 3) in the machine's own network namespace.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "kvproto/packet.h"
#include "netns/machine_namespace.h"
#include "support/child_process.h"
#include "support/scripted_peer.h"

namespace {

constexpr int kRefused = 3;

std::string Escape(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\t') out += "\\t";
        else if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

bool Run(const std::vector<std::string>& argv) {
    kvtest::ChildProcess child(argv);
    child.ReadRest();
    return child.Wait() == 0;
}

sockaddr_in Address(const char* ip, std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, ip, &address.sin_addr);
    return address;
}

void SendTo(int fd, const std::string& payload, const sockaddr_in& to) {
    sendto(fd, payload.data(), payload.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

std::optional<std::string> Receive(int fd, int timeoutMs) {
    pollfd pfd{fd, POLLIN, 0};
    if (poll(&pfd, 1, timeoutMs) <= 0) return std::nullopt;
    char buffer[2048];
    const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
    if (got < 0) return std::nullopt;
    return std::string(buffer, static_cast<std::size_t>(got));
}

void AskOverUdp(std::uint16_t discoveryPort) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const sockaddr_in sim = Address("127.0.0.1", discoveryPort);
    // None of these is a request; only the "1" after them is.
    for (const std::string& stray : {std::string(), std::string("2"), std::string("11"), std::string("1\0", 2),
                                    std::string(3000, '1')}) {
        SendTo(fd, stray, sim);
    }
    SendTo(fd, "1", sim);
    if (const auto reply = Receive(fd, 5000)) std::printf("reply %s\n", Escape(*reply).c_str());

    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    SendTo(fd, "1", Address("127.255.255.255", discoveryPort));
    if (const auto reply = Receive(fd, 5000)) std::printf("broadcast-reply %s\n", Escape(*reply).c_str());
    close(fd);
}

void TestOverTcp(std::uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in sim = Address("127.0.0.1", port);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&sim), sizeof sim) == 0) {
        kvproto::PacketHeader request;
        request.command = kvproto::KV_TEST;
        request.id = 77;
        const auto bytes = kvproto::EncodeHeader(request);
        std::uint8_t answer[kvproto::kHeaderSize];
        if (kvtest::WriteAll(fd, bytes.data(), bytes.size()) && kvtest::ReadExactly(fd, answer, sizeof answer)) {
            const kvproto::PacketHeader header = kvproto::DecodeHeader(answer);
            std::printf("tcp status=%d id=%u\n", header.status, header.id);
        }
    }
    close(fd);
}

void SearchThroughLibrary(const std::string& ip, const std::string& findProbe) {
    if (!Run({ip, "link", "add", "v0", "type", "veth", "peer", "name", "v1"}) ||
        !Run({ip, "addr", "add", "10.9.0.1/24", "dev", "v0"}) || !Run({ip, "link", "set", "v0", "up"}) ||
        !Run({ip, "link", "set", "v1", "up"})) {
        std::printf("find: no veth link\n");
        return;
    }
    kvtest::ChildProcess probe({findProbe, ""});
    while (const auto line = probe.ReadLine(20000)) std::printf("find: %s\n", line->c_str());
    probe.Wait();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s IP_TOOL SIM [FIND_PROBE]\n", argv[0]);
        return 2;
    }
    if (kvtest::InMachineNetworkNamespace()) {
        std::fprintf(stderr, "refusing to run in the machine's own network namespace\n");
        return kRefused;
    }
    const std::string ip = argv[1];
    const bool search = argc > 3;
    if (!Run({ip, "link", "set", "lo", "up"})) return 1;

    kvtest::ChildProcess sim({argv[2], "--port", "0", "--discovery-port", search ? "8889" : "0",
                              "--control-port", "0"});
    const auto ready = sim.ReadLine();
    unsigned port = 0;
    unsigned discovery = 0;
    if (!ready || std::sscanf(ready->c_str(), "z5r-sim ready port=%u discovery=%u", &port, &discovery) != 2) {
        return 1;
    }
    std::printf("ready port=%u discovery=%u\n", port, discovery);
    std::fflush(stdout);

    AskOverUdp(static_cast<std::uint16_t>(discovery));
    TestOverTcp(static_cast<std::uint16_t>(port));
    if (search) SearchThroughLibrary(ip, argv[3]);

    sim.Kill(SIGTERM);
    std::printf("exit=%d\n", sim.Wait());
    return 0;
}
