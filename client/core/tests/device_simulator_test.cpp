// The driver session against the real driver plugin and the simulated
// instrument, checked through the simulator's control channel.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <map>
#include <memory>

#include "core/z5r_device.h"
#include "instrument_limits.h"
#include "korvel/com_registry.h"
#include "support/child_process.h"
#include "ui/scripted_prompt.h"

namespace coretest {
namespace {

const std::string kSimulator = std::string(KV_APP_DIR) + "/z5r-sim";
const std::string kPlugin = std::string(KV_APP_DIR) + "/libKorvelV8N.so";

// The value of "key=" in a ready line, or 0.
int ReadyValue(const std::string& line, const std::string& key) {
    const std::size_t at = line.find(" " + key + "=");
    return at == std::string::npos ? 0 : std::atoi(line.c_str() + at + key.size() + 2);
}

class CControlChannel {
public:
    explicit CControlChannel(int port) {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        timeval timeout{5, 0};
        setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        if (connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            close(fd_);
            fd_ = -1;
        }
    }
    ~CControlChannel() {
        if (fd_ >= 0) close(fd_);
    }
    bool Open() const { return fd_ >= 0; }

    // `state` as key → value; empty when no "OK" came.
    std::map<std::string, std::string> State() {
        std::map<std::string, std::string> values;
        const std::string request = "state\n";
        if (send(fd_, request.data(), request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(request.size()))
            return values;
        while (true) {
            const std::string line = ReadLine();
            if (line == "OK") return values;
            if (line.empty() || line.rfind("ERR", 0) == 0) return {};
            const std::size_t equals = line.find('=');
            if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }

private:
    std::string ReadLine() {
        while (true) {
            const std::size_t end = pending_.find('\n');
            if (end != std::string::npos) {
                std::string line = pending_.substr(0, end);
                pending_.erase(0, end + 1);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                return line;
            }
            char buffer[4096];
            const ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
            if (got <= 0) return {};
            pending_.append(buffer, static_cast<std::size_t>(got));
        }
    }

    int fd_ = -1;
    std::string pending_;
};

class DeviceSimulatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kSimulator) || !std::filesystem::exists(kPlugin))
            GTEST_SKIP() << "z5r-sim or the driver plugin is not built";
        std::string error;
        ASSERT_TRUE(korvel::RegisterPlugin(kPlugin, korvel::CLSID_KorvelV8N, &error)) << error;
        simulator_ = std::make_unique<kvtest::ChildProcess>(std::vector<std::string>{
            kSimulator, "--port", "0", "--discovery-port", "0", "--control-port", "0", "--address", "127.0.0.1"});
        const auto ready = simulator_->ReadLine(10000);
        ASSERT_TRUE(ready.has_value());
        port_ = ReadyValue(*ready, "port");
        control_ = std::make_unique<CControlChannel>(ReadyValue(*ready, "control"));
        ASSERT_NE(port_, 0) << *ready;
        ASSERT_TRUE(control_->Open()) << *ready;
        device_ = std::make_unique<z5r::CDevice>(prompt_, [this] { ++terminateRequests_; });
    }
    void TearDown() override {
        device_.reset();
        korvel::RevokeClass(korvel::CLSID_KorvelV8N);
        control_.reset();
        if (simulator_) {
            simulator_->Kill(SIGTERM);
            simulator_->Wait(5000);
        }
    }

    double StateNumber(const std::string& key) {
        const auto state = control_->State();
        const auto found = state.find(key);
        EXPECT_NE(found, state.end()) << key;
        return found == state.end() ? std::nan("") : std::stod(found->second);
    }

    void ConnectToSimulator() {
        ASSERT_EQ(device_->Connect("127.0.0.1", port_), "");
        device_->SetLinkLost(false);
    }

    std::unique_ptr<kvtest::ChildProcess> simulator_;
    std::unique_ptr<CControlChannel> control_;
    int port_ = 0;
    z5r::CScriptedPrompt prompt_{z5r::EPromptResult::No};
    int terminateRequests_ = 0;
    std::unique_ptr<z5r::CDevice> device_;
};

TEST_F(DeviceSimulatorTest, LimitDiscoveryFindsTheInstrumentsLimits) {
    ConnectToSimulator();
    EXPECT_TRUE(device_->IsConnected());
    double low = 0, high = 0, points = 0;
    device_->GetFreqRange(low, high, points);
    EXPECT_EQ(low, double(z5rsim::kMinFrequencyHz));
    EXPECT_EQ(high, double(z5rsim::kMaxFrequencyHz));
    EXPECT_EQ(points, double(z5rsim::kMaxSweepPoints));
    device_->GetPowRange(low, high, points);
    EXPECT_DOUBLE_EQ(low, z5rsim::kMinLevelCdb / 100.0);
    const auto cw = static_cast<std::int64_t>(StateNumber("CwFrequency"));
    EXPECT_DOUBLE_EQ(high, z5rsim::MaxLevelCdbAt(cw) / 100.0);
    std::string serial;
    device_->GetSerial(serial);
    EXPECT_FALSE(serial.empty());
    EXPECT_FALSE(device_->IsSecure());
    EXPECT_TRUE(device_->HasPulseMod());
    EXPECT_TRUE(prompt_.Shown().empty());
}

TEST_F(DeviceSimulatorTest, FixedFrequencyLevelAndRfReachTheInstrument) {
    ConnectToSimulator();
    EXPECT_EQ(device_->SetSweepMode(z5r::omFixed), 0);
    EXPECT_EQ(StateNumber("SweepMode"), 0.0);
    double frequency = 1.5e9 + 0.4, level = -10;
    EXPECT_EQ(device_->SetFixFreqPow(frequency, level), 0);
    EXPECT_EQ(StateNumber("CwFrequency"), 1500000000.0);
    EXPECT_DOUBLE_EQ(StateNumber("Level"), -10.0);

    double start = 2.5e9 + 0.5, stop = 0;
    EXPECT_EQ(device_->SetFreq(start, stop, 1), 0);
    EXPECT_EQ(start, 2500000001.0);
    EXPECT_EQ(StateNumber("CwFrequency"), 2500000001.0);
    double pow = -200, powStop = -200;
    EXPECT_EQ(device_->SetPow(pow, powStop, 1), 0);
    EXPECT_DOUBLE_EQ(pow, z5rsim::kMinLevelCdb / 100.0);  // clamped and read back

    bool on = true;
    EXPECT_EQ(device_->SetRf(on), 0);
    EXPECT_TRUE(on);
    EXPECT_TRUE(device_->IsRfOn());
    EXPECT_EQ(StateNumber("RfOutputEnabled"), 1.0);
    on = false;
    EXPECT_EQ(device_->SetRf(on), 0);
    EXPECT_EQ(StateNumber("RfOutputEnabled"), 0.0);
    EXPECT_TRUE(prompt_.Shown().empty());
}

TEST_F(DeviceSimulatorTest, ASweepOutsideTheRangeAndAnOverlongListAreCutBack) {
    ConnectToSimulator();
    double start = 1e6, stop = 30e9;
    EXPECT_EQ(device_->SetFreq(start, stop, 100), 0);  // still mode 1 from the discovery
    EXPECT_EQ(start, double(z5rsim::kMinFrequencyHz));
    EXPECT_EQ(stop, double(z5rsim::kMaxFrequencyHz));

    EXPECT_EQ(device_->SetSweepMode(z5r::omListSweep), 0);
    std::vector<double> frequencies(z5rsim::kMaxListPoints + 20);
    std::vector<double> levels(frequencies.size(), -5.0);
    for (std::size_t i = 0; i < frequencies.size(); ++i) frequencies[i] = 1e9 + 1e3 * double(i);
    EXPECT_EQ(device_->SetLists(frequencies, levels), 0);
    EXPECT_EQ(frequencies.size(), std::size_t(z5rsim::kMaxListPoints));
    EXPECT_EQ(levels.size(), std::size_t(z5rsim::kMaxListPoints));
    EXPECT_EQ(frequencies.back(), 1e9 + 1e3 * double(z5rsim::kMaxListPoints - 1));
    EXPECT_TRUE(prompt_.Shown().empty());
}

TEST_F(DeviceSimulatorTest, DisconnectSwitchesTheOutputOff) {
    ConnectToSimulator();
    bool on = true;
    device_->SetRf(on);
    ASSERT_EQ(StateNumber("RfOutputEnabled"), 1.0);
    device_->Disconnect();
    EXPECT_FALSE(device_->IsConnected());
    EXPECT_EQ(StateNumber("RfOutputEnabled"), 0.0);
}

}  // namespace
}  // namespace coretest
