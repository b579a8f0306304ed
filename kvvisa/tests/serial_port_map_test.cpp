// The port map file and the default rule: which device ASRLn::INSTR opens.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "serial_port_map.h"

namespace {

struct MapCase {
    const char* text;
    kv::SerialPortNumber port;
    std::optional<std::string> device;  // what the map gives that port
    std::size_t skipped;
};

class MapFileReading : public testing::TestWithParam<MapCase> {};

TEST_P(MapFileReading, GivesThePortsDevice) {
    const MapCase& c = GetParam();
    const kv::SerialPortMap map = kv::ParseSerialPortMap(c.text);
    const auto it = map.devices.find(c.port);
    EXPECT_EQ(it != map.devices.end() ? std::optional<std::string>(it->second) : std::nullopt,
              c.device);
    EXPECT_EQ(map.skippedLines, c.skipped);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MapFileReading,
    testing::Values(
        MapCase{"ASRL3 = /dev/ttyUSB0\n", 3, "/dev/ttyUSB0", 0},
        MapCase{"  asrl3\t=\t/dev/ttyUSB0  # the bench supply\r\n", 3, "/dev/ttyUSB0", 0},
        MapCase{"# ASRL3 = /dev/ttyUSB0\n\n   \n", 3, std::nullopt, 0},
        MapCase{"ASRL3 = /dev/ttyUSB0\nASRL3 = /dev/ttyUSB1\n", 3, "/dev/ttyUSB0", 1},
        MapCase{"garbage\nASRL = \nASRLx3 = /dev/a\nCOM3 = /dev/a\nASRL3 /dev/a\n", 3,
                std::nullopt, 5},
        MapCase{"ASRL3 = /etc/passwd\nASRL3 = /dev/\nASRL3 = /dev/a b\n", 3, std::nullopt, 3},
        MapCase{"ASRL65536 = /dev/ttyS1\nASRL99999999999999999999 = /dev/ttyS1\n", 65535,
                std::nullopt, 2},
        MapCase{"ASRL0 = /dev/ttyS9", 0, "/dev/ttyS9", 0},
        MapCase{"default = maybe\nASRL2 = /dev/ttyS9\n", 2, "/dev/ttyS9", 1}));

TEST(MapFileReading, AMillionLinesAreReadWhole) {
    std::string text;
    constexpr int kLines = 1'000'000;
    text.reserve(kLines * 24);
    for (int i = 0; i < kLines; ++i) {
        text += "ASRL" + std::to_string(i % 70000) + " = /dev/ttyS" + std::to_string(i) + "\n";
    }
    const kv::SerialPortMap map = kv::ParseSerialPortMap(text);
    // Numbers above the limit and repeats are skipped; the first of each counts.
    EXPECT_EQ(map.devices.size(), kv::kMaxSerialPortNumber + 1);
    EXPECT_EQ(map.devices.at(7), "/dev/ttyS7");
    EXPECT_EQ(map.skippedLines, kLines - map.devices.size());
}

struct RuleCase {
    long long port;
    std::optional<std::string> device;
};

class DefaultRule : public testing::TestWithParam<RuleCase> {};

TEST_P(DefaultRule, ReachesTheUsualDevices) {
    EXPECT_EQ(kv::SerialDeviceFor({}, GetParam().port), GetParam().device);
}

INSTANTIATE_TEST_SUITE_P(
    Ports, DefaultRule,
    testing::Values(RuleCase{1, "/dev/ttyS0"}, RuleCase{64, "/dev/ttyS63"},
                    RuleCase{65, "/dev/ttyUSB0"}, RuleCase{128, "/dev/ttyUSB63"},
                    RuleCase{129, "/dev/ttyACM0"}, RuleCase{192, "/dev/ttyACM63"},
                    RuleCase{0, std::nullopt}, RuleCase{193, std::nullopt},
                    RuleCase{-1, std::nullopt},
                    // a 20-digit port number saturates; no port has it
                    RuleCase{9223372036854775807LL, std::nullopt}));

TEST(DefaultRule, GivesWayToTheMapAndCanBeTurnedOff) {
    const kv::SerialPortMap map = kv::ParseSerialPortMap("ASRL1 = /dev/ttyUSB4\n");
    EXPECT_EQ(kv::SerialDeviceFor(map, 1), "/dev/ttyUSB4");
    EXPECT_EQ(kv::SerialDeviceFor(map, 2), "/dev/ttyS1");
    const auto candidates = kv::SerialPortCandidates(map);
    // ttyUSB4 is listed once, under the number the map gives it.
    const auto usb4 = std::count_if(candidates.begin(), candidates.end(),
                                    [](const auto& c) { return c.device == "/dev/ttyUSB4"; });
    EXPECT_EQ(usb4, 1);

    const kv::SerialPortMap only = kv::ParseSerialPortMap("default = off\nASRL1 = /dev/ttyUSB4\n");
    EXPECT_EQ(kv::SerialDeviceFor(only, 2), std::nullopt);
    ASSERT_EQ(kv::SerialPortCandidates(only).size(), 1u);
}

class MapFileChoice : public testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kvvisa-map-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_ / "config/kvvisa");
        Write(dir_ / "config/kvvisa/serial-ports.conf", "ASRL1 = /dev/user\n");
        Write(dir_ / "named.conf", "ASRL1 = /dev/named\n");
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("KVVISA_SERIAL_PORTS");
        unsetenv("XDG_CONFIG_HOME");
        std::filesystem::remove_all(dir_);
    }
    static void Write(const std::filesystem::path& path, const std::string& text) {
        std::ofstream(path) << text;
    }
    std::filesystem::path dir_;
};

TEST_F(MapFileChoice, TheVariableReplacesTheUsersFile) {
    unsetenv("KVVISA_SERIAL_PORTS");
    EXPECT_EQ(kv::LoadSerialPortMap().devices.at(1), "/dev/user");
    setenv("KVVISA_SERIAL_PORTS", (dir_ / "named.conf").c_str(), 1);
    EXPECT_EQ(kv::LoadSerialPortMap().devices.at(1), "/dev/named");
    // A named file that is missing gives no map, not the user's.
    setenv("KVVISA_SERIAL_PORTS", (dir_ / "missing.conf").c_str(), 1);
    EXPECT_TRUE(kv::LoadSerialPortMap().devices.empty());
}

}  // namespace
