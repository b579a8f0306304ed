// Raw byte transport to an instrument behind an FTDI USB bridge
// (USBn::a::b::serial::RAW), through the D2XX library, and the listing of the
// bridges present.
#pragma once

#include <memory>
#include <string>

#include "base_session.h"
#include "d2xx_library.h"

namespace kv {

class CSessionUSB : public CBaseSession {
public:
    CSessionUSB() = default;
    // Closes the device and unloads the library.
    ~CSessionUSB() override;
    CSessionUSB(const CSessionUSB&) = delete;
    CSessionUSB& operator=(const CSessionUSB&) = delete;

    // One entry per device: the name, two tabs and the device's description.
    ViStatus FindRsrc(ViConstString expr, CSessionFindList* list, ViPFindList listOut,
                      ViPUInt32 retCnt, ViChar* desc) override;
    // Opens the device by the serial number in the name; its time-outs become
    // 2000 ms. The mode and time-out given are not used.
    ViStatus Connect(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout) override;
    ViStatus Disconnect() override;
    ViStatus SetAttribute(ViAttr attr, ViAttrState value) override;
    ViStatus GetAttribute(ViAttr attr, void* value) override;
    // `count` bytes, or VI_ERROR_TMO with the bytes that came in time.
    ViStatus Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) override;
    ViStatus Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 retCount) override;
    // Closes the device, unloads the library and opens the device again.
    ViStatus Clear() override;

private:
    FT_HANDLE device_ = nullptr;
    std::unique_ptr<CD2xxLibrary> library_;
    // The numbers after the board token: kept, not used.
    long long first_ = 0;
    long long second_ = 0;
    std::string serial_;
    ViUInt32 timeoutMs_ = 0;
    std::string resource_;  // kept for Clear
};

}  // namespace kv
