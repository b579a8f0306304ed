// Raw byte transport over a serial port (ASRLn::INSTR), and the listing of
// the machine's serial ports. Which device port n is: serial_port_map.h.
#pragma once

#include <string>

#include "base_session.h"
#include "serial_port.h"
#include "serial_port_map.h"

namespace kv {

class CSessionASRL : public CBaseSession {
public:
    // The port map is read once, when the session is made.
    CSessionASRL();
    explicit CSessionASRL(SerialPortMap map);
    ~CSessionASRL() override;
    CSessionASRL(const CSessionASRL&) = delete;
    CSessionASRL& operator=(const CSessionASRL&) = delete;

    // One entry per mapped or default port that exists, "busy" or "free".
    ViStatus FindRsrc(ViConstString expr, CSessionFindList* list, ViPFindList listOut,
                      ViPUInt32 retCnt, ViChar* desc) override;
    ViStatus Connect(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout) override;
    ViStatus Disconnect() override;
    ViStatus SetAttribute(ViAttr attr, ViAttrState value) override;
    ViStatus GetAttribute(ViAttr attr, void* value) override;
    // Exactly `count` bytes, or VI_ERROR_TMO with the bytes that did arrive.
    ViStatus Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) override;
    // All `count` bytes, or VI_ERROR_TMO with the bytes that did leave.
    ViStatus Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 retCount) override;
    // Closes the port and opens it again with the stored settings.
    ViStatus Clear() override;
    ViStatus Flush(ViUInt16 mask) override;

private:
    // Opens the port named by `resource_` with the stored settings.
    ViStatus OpenPort();
    // Reopens the port once if the line broke or hung up since the last transfer.
    ViStatus RecoverLine();
    template <typename Piece>
    ViStatus TransferInPieces(ViUInt32 count, ViPUInt32 retCount, Piece&& piece);

    SerialPortMap map_;
    CSerialPort port_;
    bool connected_ = false;
    std::string resource_;  // kept for reconnects
    ViUInt32 timeoutMs_ = 1000;
    SerialFraming framing_;
};

}  // namespace kv
