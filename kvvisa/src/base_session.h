// Defaults shared by every session class.
#pragma once

#include "session.h"

namespace kv {

// Each operation a class does not override answers VI_ERROR_NIMPL_OPER.
// Printf and Scanf are the plain unformatted versions every session uses:
// they are built on the session's own Write and Read.
class CBaseSession : public ISession {
public:
    ViStatus FindRsrc(ViConstString expr, CSessionFindList* list, ViPFindList listOut,
                      ViPUInt32 retCnt, ViChar* desc) override;
    ViStatus FindNext(ViChar* desc) override;
    ViStatus ParseRsrc(ViConstRsrc name, ViPUInt16 intfType, ViPUInt16 intfNum,
                       ViChar* rsrcClass, ViChar* expandedName, ViChar* alias) override;
    ViStatus Open(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout, ViPSession vi) override;
    ViStatus Connect(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout) override;
    ViStatus Disconnect() override;
    ViStatus SetAttribute(ViAttr attr, ViAttrState value) override;
    ViStatus GetAttribute(ViAttr attr, void* value) override;
    ViStatus Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) override;
    ViStatus Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 retCount) override;
    ViStatus Clear() override;
    ViStatus Close(ViObject vi) override;
    ViStatus Flush(ViUInt16 mask) override;

    // Sends the format's own characters; the arguments are not used.
    ViStatus Printf(ViConstString format, va_list args) final;
    // Accepts only "%s\r\n": reads byte by byte into the first argument's
    // buffer up to and including CR LF, which is replaced by the end of text.
    ViStatus Scanf(ViConstString format, va_list args) final;
};

}  // namespace kv
