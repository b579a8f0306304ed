// Another program's instrument traffic read as text: this test is the
// application, talking binary packets to a scripted instrument; a monitor
// program of its own reads RESOURCE::HOOK::TCS and prints the lines.
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kvproto/packet.h"
#include "kvvisa/visa.h"
#include "res_mgr.h"
#include "support/child_process.h"
#include "support/scripted_peer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Packet(std::uint16_t command, std::int16_t status, std::uint8_t flagA, const Bytes& body) {
    kvproto::PacketHeader header;
    header.command = command;
    header.status = status;
    header.bodyLen = static_cast<std::uint16_t>(body.size());
    header.flagA = flagA;
    header.flagB = 0x20;  // P_MODE: two bytes, no fraction
    const auto encoded = kvproto::EncodeHeader(header);
    Bytes packet(encoded.size() + body.size());
    std::copy(encoded.begin(), encoded.end(), packet.begin());
    std::copy(body.begin(), body.end(), packet.begin() + kvproto::kHeaderSize);
    return packet;
}

TEST(TcsMonitor, AnotherProgramsTrafficShowsAsTextWithItsDirection) {
    const Bytes setMode = Packet(kvproto::KV_SET, kvproto::kRequestStatus, 1, {3, 0, 3, 0});
    const Bytes corrected = Packet(kvproto::KV_SET, 1, 1, {3, 0, 2, 0});
    const Bytes getMode = Packet(kvproto::KV_GET, 0, 0, {3, 0});  // a request with status 0
    const Bytes answer = Packet(kvproto::KV_GET, 0, 1, {3, 0, 2, 0});
    kvtest::ScriptedPeer instrument([&](int fd) {
        Bytes request(setMode.size());
        if (!kvtest::ReadExactly(fd, request.data(), request.size())) return;
        kvtest::WriteAll(fd, corrected.data(), corrected.size());
        request.resize(getMode.size());
        if (!kvtest::ReadExactly(fd, request.data(), request.size())) return;
        kvtest::WriteAll(fd, answer.data(), answer.size());
        kvtest::WaitForClose(fd);
    });

    kvtest::ChildProcess monitor({TCS_MONITOR_PROBE, instrument.Resource(), "4"});
    ASSERT_EQ(monitor.ReadLine().value_or("<nothing>"), "ready");

    ViSession vi = VI_NULL;
    ASSERT_EQ(kv::ResourceManager().Open(instrument.Resource().c_str(), VI_NULL, 0, &vi),
              VI_SUCCESS);
    kv::ISession& app = *kv::ResourceManager().Find(vi);
    ViUInt32 done = 0;
    Bytes buffer(64);
    // One exchange in whole packets, one in header and body pieces.
    EXPECT_EQ(app.Write(setMode.data(), static_cast<ViUInt32>(setMode.size()), &done), VI_SUCCESS);
    EXPECT_EQ(app.Read(buffer.data(), static_cast<ViUInt32>(corrected.size()), &done), VI_SUCCESS);
    EXPECT_EQ(app.Write(getMode.data(), 16, &done), VI_SUCCESS);
    EXPECT_EQ(app.Write(getMode.data() + 16, 2, &done), VI_SUCCESS);
    EXPECT_EQ(app.Read(buffer.data(), 16, &done), VI_SUCCESS);
    EXPECT_EQ(app.Read(buffer.data() + 16, 4, &done), VI_SUCCESS);

    // Commands carry the request status and show none; answers show theirs
    // unless it is 0.
    EXPECT_EQ(monitor.ReadLine().value_or("<nothing>"), "P_MODE = 3");
    EXPECT_EQ(monitor.ReadLine().value_or("<nothing>"),
              "P_MODE ( Status=KV_PARAMETER_CORRECTED ) = 2");
    EXPECT_EQ(monitor.ReadLine().value_or("<nothing>"), "P_MODE ( Status=KV_NO_ERROR ) ?");
    EXPECT_EQ(monitor.ReadLine().value_or("<nothing>"), "P_MODE ? 2");
    EXPECT_EQ(monitor.Wait(), 0);
    EXPECT_EQ(kv::ResourceManager().Close(vi), VI_SUCCESS);
}

TEST(TcsMonitor, AReadComesBackWhenTheOtherProgramStopsMidPacket) {
    kvtest::ScriptedPeer instrument([](int fd) { kvtest::WaitForClose(fd); });
    ViSession app = VI_NULL;
    ViSession monitor = VI_NULL;
    ASSERT_EQ(kv::ResourceManager().Open(instrument.Resource().c_str(), VI_NULL, 0, &app),
              VI_SUCCESS);
    ASSERT_EQ(kv::ResourceManager().Open((instrument.Resource() + "::HOOK::TCS").c_str(), VI_NULL,
                                         0, &monitor),
              VI_SUCCESS);
    kv::ISession& appSession = *kv::ResourceManager().Find(app);
    kv::ISession& text = *kv::ResourceManager().Find(monitor);

    const Bytes setMode = Packet(kvproto::KV_SET, kvproto::kRequestStatus, 1, {3, 0, 9, 0});
    ViUInt32 done = 0;
    ASSERT_EQ(appSession.Write(setMode.data(), 10, &done), VI_SUCCESS);
    char line[256] = {};
    ViUInt32 returned = 0xDEAD;
    // Part of a header, then nothing: the read gives up, keeping that part.
    EXPECT_EQ(text.Read(reinterpret_cast<ViByte*>(line), sizeof line, &returned),
              VI_ERROR_RSRC_BUSY);
    EXPECT_EQ(returned, 0u);
    ASSERT_EQ(appSession.Write(setMode.data() + 10, static_cast<ViUInt32>(setMode.size() - 10),
                               &done),
              VI_SUCCESS);
    EXPECT_EQ(text.Read(reinterpret_cast<ViByte*>(line), sizeof line, &returned), VI_SUCCESS);
    EXPECT_STREQ(line, "P_MODE = 9");
    EXPECT_EQ(returned, sizeof "P_MODE = 9");
    // A monitor takes writes and does nothing with them; so does its text.
    EXPECT_EQ(text.Write(reinterpret_cast<const ViByte*>("KV_RESET\r\n"), 10, &done), VI_SUCCESS);
    EXPECT_EQ(done, 10u);

    EXPECT_EQ(kv::ResourceManager().Close(monitor), VI_SUCCESS);
    EXPECT_EQ(kv::ResourceManager().Close(app), VI_SUCCESS);
}

std::string Hex(const Bytes& bytes) {
    std::string text;
    char digits[3];
    for (const std::uint8_t byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", byte);
        text += digits;
    }
    return text;
}

TEST(TcsMonitor, AnApplicationKilledMidPacketLeavesNothingToTheNextOne) {
    kvtest::ScriptedPeer instrument([](int fd) { kvtest::WaitForClose(fd, 30000); });
    const std::string resource = instrument.Resource();
    ViSession monitor = VI_NULL;
    ASSERT_EQ(kv::ResourceManager().Open((resource + "::HOOK::TCS").c_str(), VI_NULL, 0, &monitor),
              VI_SUCCESS);
    kv::ISession& text = *kv::ResourceManager().Find(monitor);
    char line[256] = {};
    ViUInt32 returned = 0;

    const Bytes setMode = Packet(kvproto::KV_SET, kvproto::kRequestStatus, 1, {3, 0, 9, 0});
    {
        kvtest::ChildProcess dying({APP_PROBE_PATH, resource}, kvtest::ChildOptions{true, false, {}});
        ASSERT_EQ(dying.ReadLine().value_or("<nothing>"), "ready");
        // Its header goes out, its body never does.
        dying.WriteInput("w " + Hex(Bytes(setMode.begin(), setMode.begin() + 16)) + "\n");
        ASSERT_EQ(dying.ReadLine().value_or("<nothing>"), "w 0");
        EXPECT_EQ(text.Read(reinterpret_cast<ViByte*>(line), sizeof line, &returned),
                  VI_ERROR_RSRC_BUSY);
        dying.Kill(SIGKILL);
        dying.Wait();
    }
    kvtest::ChildProcess next({APP_PROBE_PATH, resource}, kvtest::ChildOptions{true, false, {}});
    ASSERT_EQ(next.ReadLine().value_or("<nothing>"), "ready");
    const Bytes getMode = Packet(kvproto::KV_GET, kvproto::kRequestStatus, 0, {3, 0});
    next.WriteInput("w " + Hex(getMode) + "\n");
    ASSERT_EQ(next.ReadLine().value_or("<nothing>"), "w 0");
    ASSERT_EQ(text.Read(reinterpret_cast<ViByte*>(line), sizeof line, &returned), VI_SUCCESS);
    EXPECT_STREQ(line, "P_MODE ?");
    EXPECT_EQ(kv::ResourceManager().Close(monitor), VI_SUCCESS);
}

}  // namespace
