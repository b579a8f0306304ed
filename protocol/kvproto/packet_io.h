// Receiving and sending whole packets over any byte stream whose reads and
// writes look like the VISA ones: (buffer, count, &done) -> status, where a
// status is a VISA status code (0 success, negative errors).
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "kvproto/packet.h"

namespace kvproto {

// The same width and values as the VISA library's status, so its read and
// write functions serve as they are.
using TransferStatus = std::int32_t;

inline constexpr TransferStatus kStatusSuccess = 0;
// VI_ERROR_RAW_RD_PROT_VIOL: a header without the packet signature.
inline constexpr TransferStatus kStatusBadSignature = static_cast<TransferStatus>(0xBFFF0035u);
// VI_ERROR_TMO: what a stream that claims success but delivers nothing gets.
inline constexpr TransferStatus kStatusTimeout = static_cast<TransferStatus>(0xBFFF0015u);

// Reads exactly `count` bytes, repeating while each read succeeds; the first
// failing read's status ends it (with `*done` bytes delivered).
template <typename Read>
TransferStatus ReadFully(Read&& read, std::uint8_t* buffer, std::uint32_t count, std::uint32_t* done) {
    *done = 0;
    while (*done < count) {
        std::uint32_t got = 0;
        const TransferStatus status = read(buffer + *done, count - *done, &got);
        *done += got;
        if (status != kStatusSuccess) return status;
        if (got == 0) return kStatusTimeout;  // never spin on an empty success
    }
    return kStatusSuccess;
}

// One whole packet, header and body, into `packet`. A header with another
// signature is refused with kStatusBadSignature and its body is not read; a
// failing read leaves `packet` empty and returns that read's status.
template <typename Read>
TransferStatus ReceivePacket(Read&& read, std::vector<std::uint8_t>& packet) {
    packet.clear();
    std::uint8_t header[kHeaderSize];
    std::uint32_t done = 0;
    TransferStatus status = ReadFully(read, header, kHeaderSize, &done);
    if (status != kStatusSuccess) return status;
    const PacketHeader decoded = DecodeHeader(header);
    if (decoded.signature != kSignature) return kStatusBadSignature;
    std::vector<std::uint8_t> whole(kHeaderSize + decoded.bodyLen);
    std::copy(header, header + kHeaderSize, whole.begin());
    status = ReadFully(read, whole.data() + kHeaderSize, decoded.bodyLen, &done);
    if (status != kStatusSuccess) return status;
    packet = std::move(whole);
    return kStatusSuccess;
}

// Writes all bytes, repeating while each write succeeds.
template <typename Write>
TransferStatus SendBytes(Write&& write, const std::uint8_t* data, std::uint32_t count) {
    std::uint32_t sent = 0;
    while (sent < count) {
        std::uint32_t done = 0;
        const TransferStatus status = write(data + sent, count - sent, &done);
        sent += done;
        if (status != kStatusSuccess) return status;
        if (done == 0) return kStatusTimeout;  // never spin on an empty success
    }
    return kStatusSuccess;
}

// A set or get packet: ParamId then the values, each encoded with `flagB`;
// BodyLen = 2 + count * bytes per value; FlagA = count. More than 255 values
// do not fit FlagA and give an empty vector.
std::vector<std::uint8_t> BuildParameterPacket(std::uint16_t command, std::uint16_t paramId,
                                               const std::vector<double>& values,
                                               std::uint8_t flagB);

}  // namespace kvproto
