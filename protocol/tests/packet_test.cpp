#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "kvproto/packet.h"
#include "kvproto/packet_io.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using kvproto::kStatusSuccess;

constexpr kvproto::TransferStatus kConnectionLost = static_cast<kvproto::TransferStatus>(0xBFFF00A6u);

TEST(PacketHeader, IsLittleEndianFieldByField) {
    kvproto::PacketHeader header;
    header.command = 0x0102;
    header.status = -2;
    header.bodyLen = 0x0304;
    header.flagA = 0x05;
    header.flagB = 0x06;
    header.dummy = 0x0708;
    header.id = 0x090A0B0C;
    const auto bytes = kvproto::EncodeHeader(header);
    const Bytes expected = {0xAA, 0x55, 0x02, 0x01, 0xFE, 0xFF, 0x04, 0x03,
                            0x05, 0x06, 0x08, 0x07, 0x0C, 0x0B, 0x0A, 0x09};
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), expected);

    const kvproto::PacketHeader back = kvproto::DecodeHeader(bytes.data());
    EXPECT_EQ(back.signature, 0x55AA);
    EXPECT_EQ(back.command, 0x0102);
    EXPECT_EQ(back.status, -2);
    EXPECT_EQ(back.bodyLen, 0x0304);
    EXPECT_EQ(back.flagA, 0x05);
    EXPECT_EQ(back.flagB, 0x06);
    EXPECT_EQ(back.dummy, 0x0708);
    EXPECT_EQ(back.id, 0x090A0B0Cu);
}

TEST(ParameterPacket, SetsModeAsTheInstrumentExpects) {
    const Bytes expected = {0xAA, 0x55, 0x03, 0x00, 0x00, 0x80, 0x04, 0x00, 0x01, 0x20,
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x03, 0x00};
    EXPECT_EQ(kvproto::BuildParameterPacket(kvproto::KV_SET, 3, {3}, 0x20), expected);
}

TEST(ParameterPacket, PacksSeveralValuesAndRefusesTooMany) {
    const Bytes packet = kvproto::BuildParameterPacket(kvproto::KV_GET, 50, {8, 4096, -1}, 0x40);
    ASSERT_EQ(packet.size(), 16u + 14u);
    const kvproto::PacketHeader header = kvproto::DecodeHeader(packet.data());
    EXPECT_EQ(header.command, kvproto::KV_GET);
    EXPECT_EQ(header.bodyLen, 14);
    EXPECT_EQ(header.flagA, 3);
    EXPECT_EQ(header.flagB, 0x40);
    const Bytes body(packet.begin() + 16, packet.end());
    EXPECT_EQ(body, (Bytes{0x32, 0x00, 8, 0, 0, 0, 0x00, 0x10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));

    EXPECT_EQ(kvproto::BuildParameterPacket(kvproto::KV_SET, 3, {}, 0x20).size(), 18u);
    EXPECT_EQ(kvproto::BuildParameterPacket(kvproto::KV_SET, 3, std::vector<double>(255, 1.0), 0xF0).size(),
              16u + 2u + 255u * 15u);
    EXPECT_TRUE(kvproto::BuildParameterPacket(kvproto::KV_SET, 3, std::vector<double>(256, 1.0), 0x20).empty());
}

// A byte stream that hands out its data in the given chunk sizes (repeating
// the last), then answers with `endStatus`; counts the calls it gets.
struct ScriptedStream {
    Bytes data;
    std::vector<std::uint32_t> chunks = {0xFFFFFFFF};
    kvproto::TransferStatus endStatus = kvproto::kStatusTimeout;
    std::size_t position = 0;
    int calls = 0;

    kvproto::TransferStatus operator()(std::uint8_t* buffer, std::uint32_t count, std::uint32_t* got) {
        const std::uint32_t chunk = chunks[std::min<std::size_t>(calls, chunks.size() - 1)];
        ++calls;
        const std::size_t available = data.size() - position;
        const std::size_t take = std::min<std::size_t>({count, chunk, available});
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(position), take, buffer);
        position += take;
        *got = static_cast<std::uint32_t>(take);
        return take == 0 ? endStatus : kStatusSuccess;
    }
};

Bytes PacketWithBody(std::uint16_t bodyLen) {
    kvproto::PacketHeader header;
    header.command = kvproto::KV_RUN;
    header.status = -32764;
    header.bodyLen = bodyLen;
    const auto headerBytes = kvproto::EncodeHeader(header);
    Bytes packet(headerBytes.begin(), headerBytes.end());
    for (unsigned i = 0; i < bodyLen; ++i) packet.push_back(static_cast<std::uint8_t>(i * 7));
    return packet;
}

TEST(ReceivePacket, CollectsShortReadsIntoOnePacket) {
    for (const std::vector<std::uint32_t>& chunks :
         {std::vector<std::uint32_t>{1}, {3}, {16, 1}, {5, 40, 2}, {0xFFFFFFFF}}) {
        ScriptedStream stream;
        stream.data = PacketWithBody(37);
        stream.chunks = chunks;
        const Bytes trailing = {0xAA, 0x55};  // the next packet stays unread
        stream.data.insert(stream.data.end(), trailing.begin(), trailing.end());
        Bytes packet;
        ASSERT_EQ(kvproto::ReceivePacket(stream, packet), kStatusSuccess);
        EXPECT_EQ(packet, PacketWithBody(37));
        EXPECT_EQ(stream.position, 16u + 37u);
        EXPECT_EQ(kvproto::DecodeHeader(packet.data()).status, -32764);
    }
}

TEST(ReceivePacket, HandlesEmptyAndLargestBodies) {
    for (const std::uint16_t bodyLen : {std::uint16_t{0}, std::uint16_t{0xFFFF}}) {
        ScriptedStream stream;
        stream.data = PacketWithBody(bodyLen);
        stream.chunks = {1000};
        Bytes packet;
        ASSERT_EQ(kvproto::ReceivePacket(stream, packet), kStatusSuccess);
        EXPECT_EQ(packet.size(), 16u + bodyLen);
        EXPECT_EQ(packet, stream.data);
    }
}

TEST(ReceivePacket, RefusesWrongSignatureWithoutReadingTheBody) {
    ScriptedStream stream;
    stream.data = PacketWithBody(20);
    stream.data[0] = 0x55;
    stream.data[1] = 0xAA;
    Bytes packet = {1, 2, 3};
    EXPECT_EQ(kvproto::ReceivePacket(stream, packet), kvproto::kStatusBadSignature);
    EXPECT_TRUE(packet.empty());
    EXPECT_EQ(stream.position, 16u);
}

TEST(ReceivePacket, ReturnsTheFailingReadsStatusAndNoPacket) {
    // The stream ends inside the header, then inside the body.
    for (const std::size_t cut : {std::size_t{0}, std::size_t{9}, std::size_t{16}, std::size_t{30}}) {
        ScriptedStream stream;
        stream.data = PacketWithBody(20);
        stream.data.resize(cut);
        stream.chunks = {4};
        stream.endStatus = kConnectionLost;
        Bytes packet = {1, 2, 3};
        EXPECT_EQ(kvproto::ReceivePacket(stream, packet), kConnectionLost) << "cut at " << cut;
        EXPECT_TRUE(packet.empty()) << "cut at " << cut;
    }
}

TEST(ReceivePacket, EmptySuccessIsATimeoutNotALoop) {
    ScriptedStream stream;
    stream.data = PacketWithBody(8);
    stream.data.resize(20);
    stream.endStatus = kStatusSuccess;  // claims success but has nothing more
    Bytes packet;
    EXPECT_EQ(kvproto::ReceivePacket(stream, packet), kvproto::kStatusTimeout);
    EXPECT_TRUE(packet.empty());
    EXPECT_EQ(stream.calls, 3);  // header, four body bytes, the empty answer
}

TEST(SendBytes, RepeatsPartialWritesAndStopsAtAFailure) {
    const Bytes data = PacketWithBody(50);
    Bytes written;
    int calls = 0;
    auto partialWriter = [&](const std::uint8_t* buffer, std::uint32_t count, std::uint32_t* done) {
        ++calls;
        const std::uint32_t take = std::min<std::uint32_t>(count, 7);
        written.insert(written.end(), buffer, buffer + take);
        *done = take;
        return kStatusSuccess;
    };
    EXPECT_EQ(kvproto::SendBytes(partialWriter, data.data(), static_cast<std::uint32_t>(data.size())),
              kStatusSuccess);
    EXPECT_EQ(written, data);
    EXPECT_EQ(calls, 10);  // 66 bytes, 7 at a time

    calls = 0;
    auto failingWriter = [&](const std::uint8_t*, std::uint32_t count, std::uint32_t* done) {
        *done = ++calls == 1 ? std::min<std::uint32_t>(count, 16) : 0;
        return calls == 1 ? kStatusSuccess : kConnectionLost;
    };
    EXPECT_EQ(kvproto::SendBytes(failingWriter, data.data(), static_cast<std::uint32_t>(data.size())),
              kConnectionLost);
    EXPECT_EQ(calls, 2);

    calls = 0;
    auto stalledWriter = [&](const std::uint8_t*, std::uint32_t, std::uint32_t* done) {
        *done = 0;
        return ++calls < 1000 ? kStatusSuccess : kConnectionLost;  // bounded if it loops
    };
    EXPECT_EQ(kvproto::SendBytes(stalledWriter, data.data(), static_cast<std::uint32_t>(data.size())),
              kvproto::kStatusTimeout);
    EXPECT_EQ(calls, 1);
}

}  // namespace
