// The dialog's instrument search, end to end through the VISA library. The
// search broadcasts on every interface, so it runs only in a network
// namespace of its own: the outer test re-runs this program under
// `unshare -n` with the inner test selected; the inner test refuses to search
// anywhere but in such a namespace.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "korvel/components/form_connect.h"
#include "netns/machine_namespace.h"
#include "support/child_process.h"
#include "support/namespace_requirement.h"
#include "widget_test_support.h"

namespace korvel {
namespace {

constexpr const char* kInnerTest = "FormSearchInNamespace.DISABLED_FindsTheAnsweringInstrument";
// The instrument's reply: a link-local address, which the library does not
// look up by name, so the entry is the same on every machine.
constexpr const char* kReply = "169.254.10.20\t8888\tZ5R test";

std::string Tool(std::initializer_list<const char*> candidates) {
    for (const char* path : candidates) {
        if (access(path, X_OK) == 0) return path;
    }
    return {};
}

std::string SelfPath() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

TEST(FormSearch, FindsAnInstrumentInsideItsOwnNetworkNamespace) {
    const std::string unshare = Tool({"/usr/bin/unshare", "/bin/unshare"});
    const std::string ip = Tool({"/usr/sbin/ip", "/sbin/ip", "/usr/bin/ip", "/bin/ip"});
    KV_REQUIRE_NAMESPACE_TOOLS(unshare.empty() || ip.empty() || geteuid() != 0
                                   ? "needs root, unshare and ip to build a network namespace"
                                   : "");
    kvtest::ChildProcess child({unshare, "-n", SelfPath(), "--gtest_also_run_disabled_tests",
                                std::string("--gtest_filter=") + kInnerTest});
    const std::string output = child.ReadRest(30000);
    EXPECT_EQ(child.Wait(30000), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

// Stands in for an instrument: answers every "1" on UDP port 8889.
class Responder {
public:
    Responder() {
        fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(8889);
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        bound_ = fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
        if (bound_) thread_ = std::thread([this]() { Run(); });
    }
    ~Responder() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (fd_ >= 0) close(fd_);
    }
    bool Bound() const { return bound_; }
    int Requests() const { return requests_; }

private:
    void Run() {
        pollfd polled{fd_, POLLIN, 0};
        while (!stop_) {
            if (poll(&polled, 1, 20) <= 0) continue;
            char payload[64];
            sockaddr_in source{};
            socklen_t length = sizeof source;
            const ssize_t received = recvfrom(fd_, payload, sizeof payload, 0,
                                              reinterpret_cast<sockaddr*>(&source), &length);
            if (received != 1 || payload[0] != '1') continue;
            ++requests_;
            sendto(fd_, kReply, std::strlen(kReply), 0, reinterpret_cast<sockaddr*>(&source),
                   length);
        }
    }

    int fd_ = -1;
    bool bound_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

bool Shell(const std::string& command) { return std::system(command.c_str()) == 0; }

TEST(FormSearchInNamespace, DISABLED_FindsTheAnsweringInstrument) {
    // Never broadcast on the machine's own network.
    ASSERT_FALSE(kvtest::InMachineNetworkNamespace())
        << "this test runs only inside a network namespace of its own";
    // The library skips loopback, so the search needs a real interface: a
    // veth pair that exists only in this namespace.
    ASSERT_TRUE(
        Shell("ip link set lo up && ip link add kvc0 type veth peer name kvc1 && "
              "ip addr add 10.213.250.1/24 dev kvc0 && ip link set kvc0 up && "
              "ip link set kvc1 up"));
    Responder responder;
    ASSERT_TRUE(responder.Bound());

    TFormConnect dialog(nullptr, QString(), QStringLiteral("Подключение"), QStringLiteral("Z5R"));
    dialog.SetSearchName(QStringLiteral("Z5R"));
    dialog.show();
    auto* progress = dialog.findChild<QProgressBar*>();
    ASSERT_NE(progress, nullptr);
    QPushButton* connectButton = nullptr;
    for (auto* button : dialog.findChildren<QPushButton*>()) {
        if (button->isDefault()) connectButton = button;
    }
    ASSERT_NE(connectButton, nullptr);
    int connectRequests = 0;
    dialog.OnConnect = [&connectRequests](const QString&) { ++connectRequests; };
    ASSERT_TRUE(dialog.StartSearch());
    EXPECT_TRUE(dialog.Searching());
    EXPECT_TRUE(progress->isVisible());
    EXPECT_FALSE(connectButton->isEnabled());  // no connecting while the search runs
    connectButton->click();
    EXPECT_EQ(connectRequests, 0);
    EXPECT_FALSE(dialog.StartSearch());  // one search at a time
    ASSERT_TRUE(test::WaitUntil([&dialog]() { return !dialog.Searching(); }, 20000));
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(connectButton->isEnabled());

    EXPECT_GE(responder.Requests(), 1);
    ASSERT_EQ(dialog.Found().size(), 1u);
    EXPECT_EQ(dialog.Found()[0].host, "169.254.10.20");
    EXPECT_EQ(dialog.Found()[0].port, "8888");
    EXPECT_EQ(dialog.Found()[0].description, "Z5R TEST");  // the library upper-cases replies
    auto* list = dialog.findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 1);
    EXPECT_TRUE(list->item(0)->text().contains("169.254.10.20"));
    EXPECT_EQ(dialog.Address(), "169.254.10.20");

    // A name nobody answers to finds nothing, and says so.
    dialog.SetSearchName(QStringLiteral("NOBODY"));
    ASSERT_TRUE(dialog.StartSearch());
    ASSERT_TRUE(test::WaitUntil([&dialog]() { return !dialog.Searching(); }, 20000));
    EXPECT_TRUE(dialog.Found().empty());
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(dialog.ErrorText().isEmpty());

    // Closing the dialog while a search runs waits for it instead of crashing.
    auto* closing = new TFormConnect(nullptr, QString(), QString(), QStringLiteral("Z5R"));
    ASSERT_TRUE(closing->StartSearch());
    delete closing;
}

}  // namespace
}  // namespace korvel
