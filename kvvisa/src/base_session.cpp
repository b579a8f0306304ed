#include "base_session.h"

#include <cstring>

namespace kv {

ViStatus CBaseSession::FindRsrc(ViConstString, CSessionFindList*, ViPFindList, ViPUInt32,
                                ViChar*) {
    return VI_ERROR_NIMPL_OPER;
}
ViStatus CBaseSession::FindNext(ViChar*) { return VI_ERROR_NIMPL_OPER; }
ViStatus CBaseSession::ParseRsrc(ViConstRsrc, ViPUInt16, ViPUInt16, ViChar*, ViChar*, ViChar*) {
    return VI_ERROR_NIMPL_OPER;
}
ViStatus CBaseSession::Open(ViConstRsrc, ViAccessMode, ViUInt32, ViPSession) {
    return VI_ERROR_NIMPL_OPER;
}
ViStatus CBaseSession::Connect(ViConstRsrc, ViAccessMode, ViUInt32) { return VI_ERROR_NIMPL_OPER; }
ViStatus CBaseSession::Disconnect() { return VI_ERROR_NIMPL_OPER; }
ViStatus CBaseSession::SetAttribute(ViAttr, ViAttrState) { return VI_ERROR_NIMPL_OPER; }
ViStatus CBaseSession::GetAttribute(ViAttr, void*) { return VI_ERROR_NIMPL_OPER; }
ViStatus CBaseSession::Read(ViPBuf, ViUInt32, ViPUInt32) { return VI_ERROR_NIMPL_OPER; }
ViStatus CBaseSession::Write(ViConstBuf, ViUInt32, ViPUInt32) { return VI_ERROR_NIMPL_OPER; }
ViStatus CBaseSession::Clear() { return VI_ERROR_NIMPL_OPER; }
ViStatus CBaseSession::Close(ViObject) { return VI_ERROR_NIMPL_OPER; }
ViStatus CBaseSession::Flush(ViUInt16) { return VI_ERROR_NIMPL_OPER; }

ViStatus CBaseSession::Printf(ViConstString format, va_list) {
    if (format == nullptr) return VI_ERROR_INV_FMT;
    ViUInt32 written = 0;
    return Write(reinterpret_cast<ViConstBuf>(format), static_cast<ViUInt32>(std::strlen(format)),
                 &written);
}

ViStatus CBaseSession::Scanf(ViConstString format, va_list args) {
    if (format == nullptr || std::strcmp(format, "%s\r\n") != 0) return VI_ERROR_INV_EXPR;
    va_list copy;
    va_copy(copy, args);
    auto* line = va_arg(copy, ViChar*);
    va_end(copy);
    if (line == nullptr) return VI_ERROR_INV_EXPR;

    // Only a delivered byte moves on to the next position, so a session that
    // answers success without data cannot make the loop run off the line.
    for (size_t i = 0;;) {
        ViUInt32 got = 0;
        const ViStatus status = Read(reinterpret_cast<ViPBuf>(line + i), 1, &got);
        if (i > 0 && got == 1 && line[i - 1] == '\r' && line[i] == '\n') {
            line[i - 1] = '\0';
            return status;
        }
        if (status != VI_SUCCESS) {
            line[i + got] = '\0';
            return status;
        }
        i += got;
    }
}

}  // namespace kv
