#include "tcpip_discovery.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <system_error>
#include <utility>
#include <vector>

#include "find_list.h"
#include "resource_name.h"
#include "session_tcpip.h"

namespace kv {

// ---- reverse lookup ---------------------------------------------------------

CGetHostByAddrThread::CGetHostByAddrThread(std::string address) : text_(std::move(address)) {
    try {
        thread_ = std::thread(&CGetHostByAddrThread::Run, this);
    } catch (const std::system_error&) {
        // No thread to be had: the entry keeps the address, as after a failed lookup.
        finished_.store(true, std::memory_order_release);
    }
}

CGetHostByAddrThread::~CGetHostByAddrThread() {
    if (thread_.joinable()) thread_.join();
}

const std::string& CGetHostByAddrThread::Result() {
    if (thread_.joinable()) thread_.join();
    return text_;
}

void CGetHostByAddrThread::Run() {
    try {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(kDiscoveryRequestPort);
        if (inet_pton(AF_INET, text_.c_str(), &address.sin_addr) == 1) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(&address.sin_addr.s_addr);
            // Link-local instruments have no name anywhere; asking would only wait.
            const bool linkLocal = bytes[0] == 169 && bytes[1] == 254;
            if (!linkLocal) {
                char host[NI_MAXHOST];
                char service[NI_MAXSERV];
                if (getnameinfo(reinterpret_cast<const sockaddr*>(&address), sizeof address, host,
                                sizeof host, service, sizeof service,
                                NI_NAMEREQD | NI_NUMERICSERV) == 0) {
                    text_ = host;
                }
            }
        }
    } catch (...) {
        // Out of memory while storing the name: the address text stays.
    }
    finished_.store(true, std::memory_order_release);
}

// ---- replies and entries ----------------------------------------------------

std::string NormalizeReply(std::string_view datagram) {
    datagram = datagram.substr(0, datagram.find('\0'));
    constexpr std::string_view kStripped = " \r\n";
    const auto first = datagram.find_first_not_of(kStripped);
    if (first == std::string_view::npos) return {};
    const auto last = datagram.find_last_not_of(kStripped);
    return ToUpper(datagram.substr(first, last - first + 1));
}

bool ReplyMatches(std::string_view reply, std::string_view expression) {
    if (expression.empty()) return true;
    return reply.find(expression) != std::string_view::npos ||
           reply.find(ToUpper(expression)) != std::string_view::npos;
}

std::optional<DiscoveryReply> ParseDiscoveryReply(std::string_view reply) {
    const auto firstTab = reply.find('\t');
    if (firstTab == std::string_view::npos) return std::nullopt;
    const auto secondTab = reply.find('\t', firstTab + 1);
    if (secondTab == std::string_view::npos) return std::nullopt;
    return DiscoveryReply{std::string(reply.substr(0, firstTab)),
                          std::string(reply.substr(firstTab + 1, secondTab - firstTab - 1)),
                          std::string(reply.substr(secondTab))};
}

std::string BuildDiscoveryEntry(unsigned interfaceIndex, std::string_view host,
                                const DiscoveryReply& reply) {
    const auto resourceName = [&](std::string_view hostPart) {
        std::string name = "TCPIP" + std::to_string(interfaceIndex) + "::";
        name.append(hostPart).append("::").append(reply.port).append("::SOCKET");
        return name;
    };
    // The name, its zero byte and the annotation's zero byte must fit the
    // caller's VI_FIND_BUFLEN bytes, or the name could not be opened again.
    constexpr size_t kLongestName = VI_FIND_BUFLEN - 2;
    std::string name = resourceName(host);
    if (name.size() > kLongestName) name = resourceName(reply.address);
    return name + reply.rest;
}

// ---- the search -------------------------------------------------------------

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kMinimumWindow = std::chrono::milliseconds(200);
constexpr auto kBetweenBroadcasts = std::chrono::milliseconds(50);
constexpr int kPollSliceMs = 5;
constexpr size_t kLargestDatagram = 65536;

class UniqueSocket {
public:
    explicit UniqueSocket(int fd) : fd_(fd) {}
    ~UniqueSocket() {
        if (fd_ >= 0) ::close(fd_);
    }
    UniqueSocket(UniqueSocket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueSocket& operator=(UniqueSocket&&) = delete;
    UniqueSocket(const UniqueSocket&) = delete;
    UniqueSocket& operator=(const UniqueSocket&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

struct NetworkInterface {
    std::string name;
    in_addr address{};
    std::optional<in_addr> directedBroadcast;
};

// Every IPv4 interface that is up and reaches a network, in the platform's
// order. The loopback address is left out: instruments are never found there.
std::vector<NetworkInterface> ListInterfaces() {
    std::vector<NetworkInterface> interfaces;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return interfaces;
    for (const ifaddrs* it = list; it != nullptr; it = it->ifa_next) {
        if (it->ifa_addr == nullptr || it->ifa_addr->sa_family != AF_INET) continue;
        if ((it->ifa_flags & IFF_UP) == 0) continue;
        if ((it->ifa_flags & IFF_BROADCAST) == 0 && it->ifa_netmask == nullptr) continue;
        NetworkInterface entry;
        entry.name = it->ifa_name != nullptr ? it->ifa_name : "";
        entry.address = reinterpret_cast<const sockaddr_in*>(it->ifa_addr)->sin_addr;
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &entry.address, text, sizeof text);
        if (std::string_view(text) == "127.0.0.1") continue;
        if (it->ifa_netmask != nullptr) {
            const in_addr mask = reinterpret_cast<const sockaddr_in*>(it->ifa_netmask)->sin_addr;
            entry.directedBroadcast = in_addr{entry.address.s_addr | ~mask.s_addr};
        }
        interfaces.push_back(std::move(entry));
    }
    freeifaddrs(list);
    return interfaces;
}

void SendRequest(int fd, in_addr destination) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(kDiscoveryRequestPort);
    to.sin_addr = destination;
    // A request that cannot leave only means nobody answers on that path.
    (void)::sendto(fd, "1", 1, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

void SetBroadcast(int fd, bool on) {
    const int value = on ? 1 : 0;
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &value, sizeof value);
}

// The reply socket of one interface, after it has sent the requests; invalid
// when the socket cannot be created or bound.
UniqueSocket OpenAndAsk(const NetworkInterface& interface) {
    UniqueSocket socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!socket.valid()) return socket;
    const int fd = socket.get();

    const timeval receiveTimeout{0, 100 * 1000};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &receiveTimeout, sizeof receiveTimeout);
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    // Pins the limited broadcast to this interface; needs privileges, and
    // without it the bound address still chooses the interface on Linux.
    const std::string device = interface.name.substr(0, interface.name.find(':'));
    setsockopt(fd, SOL_SOCKET, SO_BINDTODEVICE, device.c_str(),
               static_cast<socklen_t>(device.size()));

    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(kDiscoveryReplyPort);
    local.sin_addr = interface.address;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        return UniqueSocket(-1);
    }

    SetBroadcast(fd, true);
    SendRequest(fd, in_addr{htonl(INADDR_BROADCAST)});
    std::this_thread::sleep_for(kBetweenBroadcasts);
    // Linux refuses any broadcast destination, directed ones included, while
    // SO_BROADCAST is off, so it is switched off only after the second request.
    if (interface.directedBroadcast) SendRequest(fd, *interface.directedBroadcast);
    SetBroadcast(fd, false);
    return socket;
}

struct KeptReply {
    std::string text;  // normalized, for spotting duplicates
    DiscoveryReply fields;
    unsigned interfaceIndex;
    std::unique_ptr<CGetHostByAddrThread> lookup;
};

class ReplyCollector {
public:
    explicit ReplyCollector(std::string_view expression) : expression_(expression) {}

    void Take(std::string_view datagram, unsigned interfaceIndex) {
        std::string text = NormalizeReply(datagram);
        if (!ReplyMatches(text, expression_)) return;
        auto fields = ParseDiscoveryReply(text);
        if (!fields) return;
        const bool seen = std::any_of(kept_.begin(), kept_.end(),
                                      [&](const KeptReply& r) { return r.text == text; });
        if (seen) return;
        auto lookup = std::make_unique<CGetHostByAddrThread>(fields->address);
        kept_.push_back({std::move(text), std::move(*fields), interfaceIndex, std::move(lookup)});
    }

    bool LookupsFinished() const {
        return std::all_of(kept_.begin(), kept_.end(),
                           [](const KeptReply& r) { return r.lookup->Finished(); });
    }

    std::vector<std::string> Entries() {
        std::vector<std::string> entries;
        entries.reserve(kept_.size());
        for (auto& reply : kept_) {
            entries.push_back(
                BuildDiscoveryEntry(reply.interfaceIndex, reply.lookup->Result(), reply.fields));
        }
        return entries;
    }

private:
    std::string_view expression_;
    std::vector<KeptReply> kept_;
};

// Listens on every reply socket for at least the minimum window and until
// every reverse lookup has ended.
void CollectReplies(const std::vector<UniqueSocket>& sockets, ReplyCollector& collector) {
    std::vector<pollfd> polled;
    polled.reserve(sockets.size());
    for (const auto& socket : sockets) polled.push_back({socket.get(), POLLIN, 0});
    std::vector<char> datagram(kLargestDatagram);

    const auto start = Clock::now();
    bool lookupsFinished = false;
    while (!(lookupsFinished && Clock::now() - start >= kMinimumWindow)) {
        if (::poll(polled.data(), polled.size(), kPollSliceMs) > 0) {
            for (size_t i = 0; i < polled.size(); ++i) {
                if ((polled[i].revents & (POLLIN | POLLERR)) == 0) continue;
                const ssize_t received =
                    ::recv(polled[i].fd, datagram.data(), datagram.size(), MSG_DONTWAIT);
                if (received < 0) continue;
                collector.Take(std::string_view(datagram.data(), static_cast<size_t>(received)),
                               static_cast<unsigned>(i + 1));
            }
        }
        lookupsFinished = collector.LookupsFinished();
    }
}

}  // namespace

ViStatus CSessionTCPIP::FindRsrc(ViConstString expr, CSessionFindList* list, ViPFindList,
                                 ViPUInt32 retCnt, ViChar* desc) {
    std::string_view expression = expr != nullptr ? expr : "";
    if (expression == "TCPIP") expression = {};

    std::vector<UniqueSocket> sockets;
    for (const auto& interface : ListInterfaces()) {
        UniqueSocket socket = OpenAndAsk(interface);
        if (!socket.valid()) return VI_ERROR_RSRC_NFOUND;
        sockets.push_back(std::move(socket));
    }

    ReplyCollector collector(expression);
    CollectReplies(sockets, collector);
    const std::vector<std::string> entries = collector.Entries();
    DeliverEntries(entries, list, retCnt, desc);
    return VI_SUCCESS;
}

}  // namespace kv
