// Cutting the instrument's byte stream into packets and the control
// channel's stream into lines, however the bytes arrive.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "line_splitter.h"
#include "packet_framer.h"
#include "test_packets.h"

namespace {

using z5rsim::CPacketFramer;
using Bytes = std::vector<std::uint8_t>;

TEST(PacketFramerTest, PacketsComeOutWholeHoweverTheBytesArrive) {
    const Bytes first = z5rtest::SetField(kvproto::EInstrumentField::CwFrequency, {1e9});
    const Bytes second = z5rtest::Command(kvproto::KV_TEST, 9);
    Bytes stream = first;
    stream.insert(stream.end(), second.begin(), second.end());

    CPacketFramer framer;
    std::vector<Bytes> packets;
    Bytes packet;
    for (const std::uint8_t byte : stream) {  // one byte at a time
        framer.Append(std::span(&byte, 1));
        while (framer.Next(packet) == CPacketFramer::EResult::Packet) packets.push_back(packet);
    }
    EXPECT_EQ(packets, (std::vector<Bytes>{first, second}));
    EXPECT_EQ(framer.Buffered(), 0u);

    framer.Append(stream);  // both at once
    EXPECT_EQ(framer.Next(packet), CPacketFramer::EResult::Packet);
    EXPECT_EQ(packet, first);
    EXPECT_EQ(framer.Next(packet), CPacketFramer::EResult::Packet);
    EXPECT_EQ(packet, second);
    EXPECT_EQ(framer.Next(packet), CPacketFramer::EResult::NeedMore);
}

TEST(PacketFramerTest, ForeignBytesAreRecognisedAtOnce) {
    CPacketFramer framer;
    Bytes packet;
    const std::string text = "P_MODE ?\r\n";
    framer.Append(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), 2));
    EXPECT_EQ(framer.Next(packet), CPacketFramer::EResult::BadSignature);

    // After a good packet, garbage where the next header should start.
    CPacketFramer afterGood;
    Bytes stream = z5rtest::Command(kvproto::KV_TEST);
    stream.push_back(0x00);
    stream.push_back(0x00);
    afterGood.Append(stream);
    EXPECT_EQ(afterGood.Next(packet), CPacketFramer::EResult::Packet);
    EXPECT_EQ(afterGood.Next(packet), CPacketFramer::EResult::BadSignature);

    // A header announcing a long body waits for all of it.
    CPacketFramer waiting;
    Bytes header = z5rtest::Command(kvproto::KV_RUN);
    header[6] = 0xFF;
    header[7] = 0xFF;
    waiting.Append(header);
    waiting.Append(Bytes(1000, 0));
    EXPECT_EQ(waiting.Next(packet), CPacketFramer::EResult::NeedMore);
}

TEST(LineSplitterTest, LinesEndAtNewlinesAndLongOnesAreRefusedOnce) {
    z5rsim::CLineSplitter lines(16);
    const std::string input = "state\r\nmute on\npartial";
    lines.Append(input);
    EXPECT_EQ(lines.Next()->text, "state");
    EXPECT_EQ(lines.Next()->text, "mute on");
    EXPECT_FALSE(lines.Next());
    lines.Append(std::string(" line\n"));
    EXPECT_EQ(lines.Next()->text, "partial line");

    lines.Append(std::string(40, 'x'));
    const auto overlong = lines.Next();
    ASSERT_TRUE(overlong);
    EXPECT_TRUE(overlong->overlong);
    lines.Append(std::string(40, 'y') + "\nquit\n");
    const auto next = lines.Next();
    ASSERT_TRUE(next);
    EXPECT_FALSE(next->overlong);
    EXPECT_EQ(next->text, "quit");
}

}  // namespace
