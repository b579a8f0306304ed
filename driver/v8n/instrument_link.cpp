#include "instrument_link.h"

#include "kvproto/packet_io.h"

namespace korvel::v8n {

CInstrumentLink::~CInstrumentLink() { Close(); }

ViStatus CInstrumentLink::Open(const std::string& resource, std::uint32_t timeoutMs) {
    Close();
    ViSession manager = VI_NULL;
    ViStatus status = viOpenDefaultRM(&manager);
    if (status < VI_SUCCESS) return status;
    ViSession session = VI_NULL;
    status = viOpen(manager, resource.c_str(), VI_NULL, 0, &session);
    if (status < VI_SUCCESS) return status;
    status = viSetAttribute(session, VI_ATTR_TMO_VALUE, timeoutMs);
    if (status < VI_SUCCESS) {
        viClose(session);
        return status;
    }
    session_ = session;
    fresh_ = false;
    return VI_SUCCESS;
}

void CInstrumentLink::Close() {
    if (session_ == VI_NULL) return;
    viClose(session_);
    session_ = VI_NULL;
}

ViStatus CInstrumentLink::Exchange(const std::vector<std::uint8_t>& request,
                                   std::vector<std::uint8_t>& answer) {
    answer.clear();
    if (session_ == VI_NULL) return VI_ERROR_INV_OBJECT;
    if (fresh_) {
        const ViStatus cleared = viClear(session_);
        if (cleared < VI_SUCCESS) return cleared;
        fresh_ = false;
    }
    const ViSession session = session_;
    ViStatus status = kvproto::SendBytes(
        [session](const std::uint8_t* data, std::uint32_t count, ViUInt32* done) {
            return viWrite(session, data, count, done);
        },
        request.data(), static_cast<std::uint32_t>(request.size()));
    if (status == VI_SUCCESS) {
        status = kvproto::ReceivePacket(
            [session](std::uint8_t* data, std::uint32_t count, ViUInt32* done) {
                return viRead(session, data, count, done);
            },
            answer);
    }
    if (status != VI_SUCCESS) fresh_ = true;
    return status;
}

}  // namespace korvel::v8n
