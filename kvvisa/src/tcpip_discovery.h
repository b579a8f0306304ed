// Network discovery of instruments: the pieces behind CSessionTCPIP::FindRsrc.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace kv {

// UDP ports of the discovery exchange: requests go to the instruments' port,
// replies come back to the port the searcher binds on each interface.
inline constexpr unsigned short kDiscoveryRequestPort = 8889;
inline constexpr unsigned short kDiscoveryReplyPort = 8890;

// Resolves an instrument's address to its host name on a thread of its own,
// started by the constructor. Link-local (169.254.x.x) and unparsable
// addresses are not looked up; a failed lookup keeps the address text.
class CGetHostByAddrThread final {
public:
    explicit CGetHostByAddrThread(std::string address);
    // Waits for the lookup to end.
    ~CGetHostByAddrThread();
    CGetHostByAddrThread(const CGetHostByAddrThread&) = delete;
    CGetHostByAddrThread& operator=(const CGetHostByAddrThread&) = delete;

    // True once the thread body has ended; never blocks.
    bool Finished() const { return finished_.load(std::memory_order_acquire); }
    // The host name, or the address text; waits for the lookup to end first.
    const std::string& Result();

private:
    void Run();

    std::string text_;  // touched only by the thread until it has ended
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

// Upper-cases a reply and strips blanks, CR and LF from both ends. The reply
// ends at its first zero byte.
std::string NormalizeReply(std::string_view datagram);

// Whether a normalized reply passes the search expression: an empty one keeps
// everything, otherwise the reply must contain it as given or upper-cased.
bool ReplyMatches(std::string_view reply, std::string_view expression);

// The three fields of an instrument's reply: address, tab, port, tab,
// description. `rest` keeps the second tab and everything after it.
struct DiscoveryReply {
    std::string address;
    std::string port;
    std::string rest;
};

// Splits a normalized reply; nothing when it has fewer than two tabs, as an
// entry cannot be built from it.
std::optional<DiscoveryReply> ParseDiscoveryReply(std::string_view reply);

// "TCPIP<k>::<host>::<port>::SOCKET<tab><description>". A host name that
// would make the resource name too long for the description buffer gives way
// to the reply's own address.
std::string BuildDiscoveryEntry(unsigned interfaceIndex, std::string_view host,
                                const DiscoveryReply& reply);

}  // namespace kv
