#include "session_asrl.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string_view>
#include <vector>

#include "find_list.h"
#include "resource_name.h"

namespace kv {

namespace {

using Clock = std::chrono::steady_clock;

// Transfers are cut into pieces of this size, as the port's queues are.
constexpr ViUInt32 kPieceBytes = 65000;
// The kept resource string has room for this many characters.
constexpr std::size_t kResourceRoom = 255;
constexpr std::string_view kSerialPrefix = "ASRL";
constexpr std::string_view kBusy = "busy";
constexpr std::string_view kFree = "free";

std::string SerialEntry(SerialPortNumber port, std::string_view state) {
    std::string entry(kSerialPrefix);
    entry += std::to_string(port);
    entry += "::INSTR\t";
    entry += state;
    entry += '\t';
    return entry;
}

// The attribute widths of the standard: callers pass variables of these types.
template <typename T>
ViStatus Deliver(void* value, T stored) {
    *static_cast<T*>(value) = stored;
    return VI_SUCCESS;
}

}  // namespace

CSessionASRL::CSessionASRL() : map_(LoadSerialPortMap()) {}
CSessionASRL::CSessionASRL(SerialPortMap map) : map_(std::move(map)) {}
CSessionASRL::~CSessionASRL() { Disconnect(); }

ViStatus CSessionASRL::Connect(ViConstRsrc name, ViAccessMode, ViUInt32 timeout) {
    if (name == nullptr) return VI_ERROR_INV_RSRC_NAME;
    Disconnect();
    // A name too long for the kept copy cannot be reopened as given.
    const std::string_view text(name);
    if (text.size() > kResourceRoom) return VI_ERROR_INV_RSRC_NAME;
    resource_ = text;
    timeoutMs_ = timeout;
    return OpenPort();
}

ViStatus CSessionASRL::OpenPort() {
    const auto tokens = SplitResource(resource_);
    if (tokens.empty() || tokens[0].size() < kSerialPrefix.size()) return VI_ERROR_RSRC_NFOUND;
    const long long number = ParseDecimal(std::string_view(tokens[0]).substr(kSerialPrefix.size()));
    const auto device = SerialDeviceFor(map_, number);
    if (!device || port_.Open(*device) != CSerialPort::EOpen::Opened) return VI_ERROR_RSRC_NFOUND;
    if (!port_.ApplyConnectFraming(framing_)) {
        port_.Close();
        return VI_ERROR_RSRC_NFOUND;
    }
    connected_ = true;
    return VI_SUCCESS;
}

ViStatus CSessionASRL::Disconnect() {
    if (!port_.IsOpen()) return VI_SUCCESS;
    connected_ = false;
    return port_.Close() ? VI_SUCCESS : VI_ERROR_INV_OBJECT;
}

ViStatus CSessionASRL::RecoverLine() {
    if (connected_ && !port_.TakeLineFault()) return VI_SUCCESS;
    Disconnect();
    return OpenPort() == VI_SUCCESS ? VI_SUCCESS : VI_ERROR_CONN_LOST;
}

template <typename Piece>
ViStatus CSessionASRL::TransferInPieces(ViUInt32 count, ViPUInt32 retCount, Piece&& piece) {
    ViUInt32 ignored = 0;
    if (retCount == nullptr) retCount = &ignored;
    *retCount = 0;
    const ViStatus line = RecoverLine();
    if (line != VI_SUCCESS || count == 0) return line;
    while (*retCount < count) {
        const ViUInt32 size = std::min(kPieceBytes, count - *retCount);
        // Each piece gets the whole time-out, as the port's total time-out is per call.
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs_);
        bool failed = false;
        const auto moved = static_cast<ViUInt32>(piece(*retCount, size, deadline, failed));
        *retCount += moved;
        if (failed) return VI_ERROR_CONN_LOST;
        if (moved < size) return VI_ERROR_TMO;
    }
    return VI_SUCCESS;
}

ViStatus CSessionASRL::Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) {
    if (buf == nullptr && count != 0) return VI_ERROR_USER_BUF;
    return TransferInPieces(count, retCount, [&](ViUInt32 at, ViUInt32 size, Clock::time_point deadline, bool& failed) {
        return port_.Read(buf + at, size, deadline, failed);
    });
}

ViStatus CSessionASRL::Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 retCount) {
    if (buf == nullptr && count != 0) return VI_ERROR_USER_BUF;
    return TransferInPieces(count, retCount, [&](ViUInt32 at, ViUInt32 size, Clock::time_point deadline, bool& failed) {
        return port_.Write(buf + at, size, deadline, failed);
    });
}

ViStatus CSessionASRL::Clear() {
    if (Disconnect() != VI_SUCCESS) return VI_ERROR_CONN_LOST;
    return OpenPort() == VI_SUCCESS ? VI_SUCCESS : VI_ERROR_CONN_LOST;
}

ViStatus CSessionASRL::Flush(ViUInt16) { return port_.FlushQueues() ? VI_SUCCESS : VI_ERROR_CONN_LOST; }

ViStatus CSessionASRL::SetAttribute(ViAttr attr, ViAttrState value) {
    // Each value is applied to the port first and kept only if it took.
    const auto apply = [&](auto& stored, auto wanted, bool accepted) {
        if (!accepted) return VI_ERROR_RSRC_NFOUND;
        stored = wanted;
        return VI_SUCCESS;
    };
    const auto u32 = static_cast<std::uint32_t>(std::min<ViAttrState>(value, VI_TMO_INFINITE));
    const auto u16 = static_cast<std::uint16_t>(value);
    const auto u8 = static_cast<std::uint8_t>(value);
    switch (attr) {
        case VI_ATTR_TMO_VALUE: return apply(timeoutMs_, u32, port_.IsOpen());
        case VI_ATTR_ASRL_BAUD: return apply(framing_.baud, u32, port_.SetBaud(u32));
        case VI_ATTR_ASRL_DATA_BITS: return apply(framing_.dataBits, u16, port_.SetDataBits(u16));
        case VI_ATTR_ASRL_PARITY: return apply(framing_.parity, u16, port_.SetParity(u16));
        case VI_ATTR_ASRL_STOP_BITS: return apply(framing_.stopBits, u16, port_.SetStopBits(u16));
        case VI_ATTR_ASRL_XON_CHAR: return apply(framing_.xonChar, u8, port_.SetXonChar(u8));
        case VI_ATTR_ASRL_XOFF_CHAR: return apply(framing_.xoffChar, u8, port_.SetXoffChar(u8));
        default: return VI_ERROR_NSUP_ATTR;
    }
}

ViStatus CSessionASRL::GetAttribute(ViAttr attr, void* value) {
    switch (attr) {
        case VI_ATTR_TMO_VALUE:
        case VI_ATTR_ASRL_BAUD:
        case VI_ATTR_ASRL_DATA_BITS:
        case VI_ATTR_ASRL_PARITY:
        case VI_ATTR_ASRL_STOP_BITS:
        case VI_ATTR_ASRL_XON_CHAR:
        case VI_ATTR_ASRL_XOFF_CHAR: break;
        default: return VI_ERROR_NSUP_ATTR;
    }
    if (value == nullptr) return VI_ERROR_USER_BUF;
    switch (attr) {
        case VI_ATTR_TMO_VALUE: return Deliver<ViUInt32>(value, timeoutMs_);
        case VI_ATTR_ASRL_BAUD: return Deliver<ViUInt32>(value, framing_.baud);
        case VI_ATTR_ASRL_DATA_BITS: return Deliver<ViUInt16>(value, framing_.dataBits);
        case VI_ATTR_ASRL_PARITY: return Deliver<ViUInt16>(value, framing_.parity);
        case VI_ATTR_ASRL_STOP_BITS: return Deliver<ViUInt16>(value, framing_.stopBits);
        case VI_ATTR_ASRL_XON_CHAR: return Deliver<ViUInt8>(value, framing_.xonChar);
        default: return Deliver<ViUInt8>(value, framing_.xoffChar);
    }
}

ViStatus CSessionASRL::FindRsrc(ViConstString expr, CSessionFindList* list, ViPFindList,
                                ViPUInt32 retCnt, ViChar* desc) {
    const std::string_view expression = expr != nullptr ? expr : "";
    if (!expression.empty() && expression != kSerialPrefix) return VI_ERROR_RSRC_NFOUND;
    if (retCnt != nullptr) *retCnt = 0;

    std::vector<std::string> entries;
    for (const SerialPortCandidate& candidate : SerialPortCandidates(map_)) {
        switch (CSerialPort::Probe(candidate.device)) {
            case CSerialPort::EOpen::Opened: entries.push_back(SerialEntry(candidate.port, kFree)); break;
            case CSerialPort::EOpen::Busy: entries.push_back(SerialEntry(candidate.port, kBusy)); break;
            case CSerialPort::EOpen::Missing: break;
        }
    }
    DeliverEntries(entries, list, retCnt, desc);
    return VI_SUCCESS;
}

}  // namespace kv
