// Stands in for instruments answering the discovery request on UDP port 8889.
// Meant to run inside a test's network namespace.
//
//   discovery_responder [--only-to ADDRESS] [--device NAME] REPLY...
//
// Every request whose payload is "1" is answered with each REPLY, one
// datagram apiece, sent back to the request's source. --only-to answers only
// requests sent to that destination address (e.g. a directed broadcast);
// --device listens on one interface only. Prints "ready" once listening and
// runs until it is killed or its parent ends.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr unsigned short kRequestPort = 8889;

struct Options {
    std::optional<in_addr> onlyTo;
    std::string device;
    std::vector<std::string> replies;
};

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--only-to" && i + 1 < argc) {
            in_addr address{};
            if (inet_pton(AF_INET, argv[++i], &address) != 1) return std::nullopt;
            options.onlyTo = address;
        } else if (arg == "--device" && i + 1 < argc) {
            options.device = argv[++i];
        } else {
            options.replies.push_back(arg);
        }
    }
    return options;
}

int Fail(const char* what) {
    std::perror(what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const auto options = ParseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: %s [--only-to ADDRESS] [--device NAME] REPLY...\n", argv[0]);
        return 2;
    }
    // Never outlive the test that started us.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() == 1) return 1;

    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) return Fail("socket");
    const int on = 1;
    // Several responders may share the port; each receives every broadcast.
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) != 0) return Fail("IP_PKTINFO");
    if (!options->device.empty() &&
        setsockopt(fd, SOL_SOCKET, SO_BINDTODEVICE, options->device.c_str(),
                   static_cast<socklen_t>(options->device.size())) != 0) {
        return Fail("SO_BINDTODEVICE");
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(kRequestPort);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return Fail("bind");

    std::printf("ready\n");
    std::fflush(stdout);

    for (;;) {
        char payload[2048];
        sockaddr_in source{};
        iovec io{payload, sizeof payload};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
        msghdr message{};
        message.msg_name = &source;
        message.msg_namelen = sizeof source;
        message.msg_iov = &io;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t received = recvmsg(fd, &message, 0);
        if (received < 0) return Fail("recvmsg");
        if (received != 1 || payload[0] != '1') continue;

        if (options->onlyTo) {
            std::optional<in_addr> destination;
            for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
                if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
                    in_pktinfo info{};
                    std::memcpy(&info, CMSG_DATA(c), sizeof info);
                    destination = info.ipi_addr;
                }
            }
            if (!destination || destination->s_addr != options->onlyTo->s_addr) continue;
        }

        for (const auto& reply : options->replies) {
            sendto(fd, reply.data(), reply.size(), 0, reinterpret_cast<const sockaddr*>(&source),
                   sizeof source);
        }
    }
}
