// USB sessions and searches over the scripted D2XX library (fake_d2xx/): the
// devices are lines of a script file, and the library logs every call it gets.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "d2xx_library.h"
#include "find_list.h"
#include "kvvisa/visa.h"
#include "res_mgr.h"
#include "session_usb.h"

namespace {

namespace fs = std::filesystem;

constexpr char kBridge[] = "USB::0::0::FT12AB34::RAW";
constexpr char kDevices[] =
    "device FT12AB34 Z5R bridge\n"
    "device FT99ZZ01 Second bridge A\n";

std::vector<std::string> Lines(const fs::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Each test gets its own script, log and serial-port map (no ports of this
// machine), in a folder of its own.
class Usb : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("kvvisa-usb-" + std::to_string(getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
        Script(kDevices);
        std::ofstream(folder_ / "ports.conf") << "default = off\n";
        setenv("KV_FAKE_D2XX_SCRIPT", (folder_ / "script").c_str(), 1);
        setenv("KV_FAKE_D2XX_LOG", (folder_ / "log").c_str(), 1);
        setenv("KVVISA_SERIAL_PORTS", (folder_ / "ports.conf").c_str(), 1);
        unsetenv(kv::kD2xxLibraryVariable);
    }
    void TearDown() override {
        if (master_ >= 0) close(master_);
        unsetenv(kv::kD2xxLibraryVariable);
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    void Script(const std::string& text) const {
        // Replaced whole, so the library never reads half a script.
        std::ofstream(folder_ / "script.new") << text;
        fs::rename(folder_ / "script.new", folder_ / "script");
    }
    // Maps ASRL5 to a pseudo-terminal, a free serial port.
    void MapSerialPort() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master_, 0);
        ASSERT_EQ(grantpt(master_), 0);
        ASSERT_EQ(unlockpt(master_), 0);
        std::ofstream(folder_ / "ports.conf") << "default = off\nASRL5 = " << ptsname(master_) << "\n";
    }
    std::vector<std::string> Log() const { return Lines(folder_ / "log"); }
    void ClearLog() const { fs::remove(folder_ / "log"); }
    void UseLibrary(const std::string& path) const {
        setenv(kv::kD2xxLibraryVariable, path.c_str(), 1);
    }
    std::unique_ptr<kv::CSessionUSB> Opened(const char* name = kBridge) const {
        auto session = std::make_unique<kv::CSessionUSB>();
        EXPECT_EQ(session->Connect(name, VI_NULL, VI_TMO_IMMEDIATE), VI_SUCCESS);
        return session;
    }
    static ViUInt32 Timeout(kv::ISession& session) {
        ViUInt32 value = 0;
        EXPECT_EQ(session.GetAttribute(VI_ATTR_TMO_VALUE, &value), VI_SUCCESS);
        return value;
    }

    fs::path folder_;
    int master_ = -1;
};

// The whole list a search built: name and annotation of each entry.
std::vector<std::string> Entries(const kv::CSessionFindList& list) {
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < list.Count(); ++i) entries.push_back(list.Name(i) + list.Annotation(i));
    return entries;
}

struct ExpressionCase {
    const char* expression;
    bool lists;
};

class UsbExpression : public Usb, public testing::WithParamInterface<ExpressionCase> {};

TEST_P(UsbExpression, ListsBridgesForItsOwnWordsOnly) {
    kv::CSessionFindList list;
    ViUInt32 count = 0;
    ViChar desc[VI_FIND_BUFLEN] = {};
    const ViStatus status =
        kv::CSessionUSB().FindRsrc(GetParam().expression, &list, nullptr, &count, desc);
    if (!GetParam().lists) {
        EXPECT_EQ(status, VI_ERROR_RSRC_NFOUND);
        EXPECT_EQ(list.Count(), 0u);
        return;
    }
    EXPECT_EQ(status, VI_SUCCESS);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{kBridge + std::string("\t\tZ5R bridge"),
                                                       "USB::0::0::FT99ZZ01::RAW\t\tSecond bridge A"}));
    EXPECT_EQ(count, 2u);
    EXPECT_STREQ(desc, kBridge);
    EXPECT_STREQ(desc + std::strlen(desc) + 1, "\t\tZ5R bridge");
}

INSTANTIATE_TEST_SUITE_P(Expressions, UsbExpression,
                         testing::Values(ExpressionCase{"", true}, ExpressionCase{"USB", true},
                                         ExpressionCase{"W2T", true}, ExpressionCase{"usb", false},
                                         ExpressionCase{"ASRL", false},
                                         ExpressionCase{"W2T ", false}));

TEST_F(Usb, W2TSearchListsBridgesAndNoSerialPorts) {
    MapSerialPort();
    kv::CSessionFindList all;
    ViUInt32 count = 0;
    ASSERT_EQ(all.Build("", kv::ENetworkSearch::LeftOut, &count, nullptr), VI_SUCCESS);
    // Serial ports come before the bridges.
    ASSERT_EQ(count, 3u);
    EXPECT_EQ(all.Name(0), "ASRL5::INSTR");
    EXPECT_EQ(all.Name(1), kBridge);

    kv::CSessionFindList bridges;
    kv::SSearchStatuses statuses;
    ASSERT_EQ(bridges.Build("W2T", kv::ENetworkSearch::LeftOut, &count, nullptr, &statuses),
              VI_SUCCESS);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(bridges.Name(0), kBridge);
    EXPECT_EQ(statuses.serial, VI_ERROR_RSRC_NFOUND);
}

TEST_F(Usb, NoLibraryIsReportedAndTheOtherTransportsStillList) {
    MapSerialPort();
    UseLibrary((folder_ / "no-such-libftd2xx.so").string());
    kv::CSessionFindList list;
    kv::SSearchStatuses statuses;
    ViUInt32 count = 0;
    EXPECT_EQ(list.Build("", kv::ENetworkSearch::LeftOut, &count, nullptr, &statuses), VI_SUCCESS);
    EXPECT_EQ(statuses.usb, VI_ERROR_LIBRARY_NFOUND);
    EXPECT_EQ(Entries(list), std::vector<std::string>{"ASRL5::INSTR\tfree\t"});

    kv::CResMgr manager;
    ViSession vi = 7;
    EXPECT_EQ(manager.Open(kBridge, VI_NULL, VI_TMO_IMMEDIATE, &vi), VI_ERROR_LIBRARY_NFOUND);
    EXPECT_EQ(manager.SessionCount(), 0u);
}

TEST_F(Usb, OpenSetsTwoSecondsAndTransfersEcho) {
    kv::CResMgr manager;
    ViSession vi = VI_NULL;
    ASSERT_EQ(manager.Open(kBridge, VI_NULL, 10, &vi), VI_SUCCESS);
    const auto call = [&](auto op) { return manager.Call(vi, op); };
    ViUInt32 timeout = 0;
    EXPECT_EQ(call([&](kv::ISession& s) { return s.GetAttribute(VI_ATTR_TMO_VALUE, &timeout); }),
              VI_SUCCESS);
    EXPECT_EQ(timeout, 2000u);
    EXPECT_EQ(Log(), (std::vector<std::string>{"FT_OpenEx FT12AB34 1 = 0",
                                               "FT_SetTimeouts FT12AB34 2000 2000 = 0"}));

    ViUInt32 moved = 0;
    EXPECT_EQ(call([&](kv::ISession& s) { return s.Write(reinterpret_cast<ViConstBuf>("*IDN?\n"), 6, &moved); }),
              VI_SUCCESS);
    EXPECT_EQ(moved, 6u);
    ViByte back[16] = {};
    EXPECT_EQ(call([&](kv::ISession& s) { return s.Read(back, 6, &moved); }), VI_SUCCESS);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(back), moved), "*IDN?\n");
    EXPECT_EQ(call([&](kv::ISession& s) { return s.SetAttribute(VI_ATTR_TMO_VALUE, 50); }),
              VI_SUCCESS);
    EXPECT_EQ(call([&](kv::ISession& s) { return s.SetAttribute(VI_ATTR_ASRL_BAUD, 9600); }),
              VI_ERROR_NSUP_ATTR);
    EXPECT_EQ(manager.Close(vi), VI_SUCCESS);
    EXPECT_EQ(Log().back(), "FT_Close FT12AB34 = 0");
}

TEST_F(Usb, ShortReadsTimeOutWithWhatCame) {
    Script(std::string(kDevices) + "read-limit FT99ZZ01 3\n");
    for (const char* name : {kBridge, "USB::0::0::FT99ZZ01::RAW"}) {
        auto session = Opened(name);
        ASSERT_EQ(session->SetAttribute(VI_ATTR_TMO_VALUE, 20), VI_SUCCESS);
        ViUInt32 moved = 0;
        ASSERT_EQ(session->Write(reinterpret_cast<ViConstBuf>("12345"), 5, &moved), VI_SUCCESS);
        ViByte back[10] = {};
        EXPECT_EQ(session->Read(back, 10, &moved), VI_ERROR_TMO) << name;
        EXPECT_EQ(moved, name == std::string(kBridge) ? 5u : 3u) << name;
    }
}

TEST_F(Usb, ClearReopensBySerialNumber) {
    auto session = Opened();
    ASSERT_EQ(session->SetAttribute(VI_ATTR_TMO_VALUE, 100), VI_SUCCESS);
    ClearLog();
    EXPECT_EQ(session->Clear(), VI_SUCCESS);
    EXPECT_EQ(Log(), (std::vector<std::string>{"FT_Close FT12AB34 = 0", "FT_OpenEx FT12AB34 1 = 0",
                                               "FT_SetTimeouts FT12AB34 2000 2000 = 0"}));
    EXPECT_EQ(Timeout(*session), 2000u);
}

TEST_F(Usb, NumbersOfTwentyDigitsAreKeptAndTheDeviceOpens) {
    auto session = Opened("USB::99999999999999999999::18446744073709551616::FT12AB34::RAW");
    EXPECT_EQ(Timeout(*session), 2000u);
}

struct FailureCase {
    const char* script;  // added to the devices
    const char* library; // empty: the whole fake
    ViStatus open;
    ViStatus read;
    ViStatus write;
    ViStatus clear;
};

class UsbFailure : public Usb, public testing::WithParamInterface<FailureCase> {};

TEST_P(UsbFailure, GivesTheLibrarysStatuses) {
    const FailureCase& c = GetParam();
    Script(std::string(kDevices) + c.script);
    if (*c.library != '\0') UseLibrary(c.library);
    kv::CSessionUSB session;
    EXPECT_EQ(session.Connect(kBridge, VI_NULL, VI_TMO_IMMEDIATE), c.open);
    ViByte buf[4] = {};
    ViUInt32 moved = 99;
    EXPECT_EQ(session.Read(buf, 4, &moved), c.read);
    EXPECT_EQ(moved, 0u);
    EXPECT_EQ(session.Write(buf, 4, &moved), c.write);
    EXPECT_EQ(session.Clear(), c.clear);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, UsbFailure,
    testing::Values(
        FailureCase{"fail FT_OpenEx 4\n", "", VI_ERROR_RSRC_NFOUND, VI_ERROR_IO, VI_ERROR_IO,
                    VI_ERROR_RSRC_NFOUND},
        // A device whose time-outs cannot be set is not kept open.
        FailureCase{"fail FT_SetTimeouts 4\n", "", VI_ERROR_RSRC_NFOUND, VI_ERROR_IO, VI_ERROR_IO,
                    VI_ERROR_RSRC_NFOUND},
        FailureCase{"fail FT_Read 4\nfail FT_Write 4\n", "", VI_SUCCESS, VI_ERROR_IO, VI_ERROR_IO,
                    VI_SUCCESS},
        FailureCase{"fail FT_Close 4\n", "", VI_SUCCESS, VI_ERROR_TMO, VI_SUCCESS,
                    VI_ERROR_INV_OBJECT},
        FailureCase{"", KV_FAKE_D2XX_LISTING_ONLY, VI_ERROR_RSRC_NFOUND, VI_ERROR_IO, VI_ERROR_IO,
                    VI_ERROR_RSRC_NFOUND},
        FailureCase{"", KV_FAKE_D2XX_WITHOUT_TRANSFERS, VI_SUCCESS, VI_ERROR_IO, VI_ERROR_IO,
                    VI_ERROR_INV_OBJECT}));

TEST_F(Usb, UnknownSerialAndABridgeInUseAreNotFound) {
    kv::CSessionUSB session;
    EXPECT_EQ(session.Connect("USB::0::0::NOSUCH::RAW", VI_NULL, 0), VI_ERROR_RSRC_NFOUND);
    auto first = Opened();
    kv::CSessionUSB second;
    EXPECT_EQ(second.Connect(kBridge, VI_NULL, 0), VI_ERROR_RSRC_NFOUND);
}

TEST_F(Usb, ListingFailuresFindNothing) {
    for (const char* failure : {"fail FT_CreateDeviceInfoList 4\n", "fail FT_GetDeviceInfoList 18\n"}) {
        Script(std::string(kDevices) + failure);
        kv::CSessionFindList list;
        EXPECT_EQ(kv::CSessionUSB().FindRsrc("", &list, nullptr, nullptr, nullptr),
                  VI_ERROR_RSRC_NFOUND);
        EXPECT_EQ(list.Count(), 0u);
    }
}

TEST_F(Usb, BridgeUnpluggedDuringAReadEndsItWithAnError) {
    auto session = Opened();
    ASSERT_EQ(session->SetAttribute(VI_ATTR_TMO_VALUE, 30000), VI_SUCCESS);
    std::thread unplug([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        Script("device FT99ZZ01 Second bridge A\n");
    });
    ViByte buf[8] = {};
    ViUInt32 moved = 0;
    EXPECT_EQ(session->Read(buf, 8, &moved), VI_ERROR_IO);
    unplug.join();
    EXPECT_EQ(session->Write(buf, 8, &moved), VI_ERROR_IO);
    EXPECT_EQ(session->Clear(), VI_ERROR_RSRC_NFOUND);
}

// Ours over libftdi1 cannot be tried with a bridge here: what it must do
// without one.
TEST_F(Usb, OurLibraryWithoutBridgesListsNothingAndOpensNothing) {
    UseLibrary(KV_OWN_D2XX);
    kv::CSessionFindList list;
    ViUInt32 count = 0;
    kv::CSessionUSB().FindRsrc("", &list, nullptr, &count, nullptr);
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(count, 0u);
    kv::CSessionUSB session;
    EXPECT_EQ(session.Connect("USB::0::0::NOSUCH::RAW", VI_NULL, 0), VI_ERROR_RSRC_NFOUND);
}

TEST(D2xxLibrarySearch, VendorFirstThenOursBesideTheLibraryUnlessOneIsNamed) {
    EXPECT_EQ(kv::D2xxLibraryCandidates("", "/opt/z5r"),
              (std::vector<std::string>{"libftd2xx.so", "/opt/z5r/libKvD2XX.so"}));
    EXPECT_EQ(kv::D2xxLibraryCandidates("/x/libftd2xx.so", "/opt/z5r"),
              std::vector<std::string>{"/x/libftd2xx.so"});
}

}  // namespace
