// The operation set every session class of the library answers.
#pragma once

#include <cstdarg>

#include "kvvisa/visa.h"

namespace kv {

class CSessionFindList;

// Every object a handle refers to is an ISession. The operations keep their
// declared order; classes override what they do and inherit the defaults of
// CBaseSession for the rest.
class ISession {
public:
    // Searches for resources. The resource manager creates a find list and
    // hands out its handle through `listOut`; a find list builds itself;
    // a transport appends what it can reach to `list`.
    virtual ViStatus FindRsrc(ViConstString expr, CSessionFindList* list, ViPFindList listOut,
                              ViPUInt32 retCnt, ViChar* desc) = 0;
    virtual ViStatus FindNext(ViChar* desc) = 0;
    virtual ~ISession() = default;
    virtual ViStatus ParseRsrc(ViConstRsrc name, ViPUInt16 intfType, ViPUInt16 intfNum,
                               ViChar* rsrcClass, ViChar* expandedName, ViChar* alias) = 0;
    virtual ViStatus Open(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout,
                          ViPSession vi) = 0;
    virtual ViStatus Connect(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout) = 0;
    virtual ViStatus Disconnect() = 0;
    virtual ViStatus SetAttribute(ViAttr attr, ViAttrState value) = 0;
    // Writes exactly the attribute's own width into `value`.
    virtual ViStatus GetAttribute(ViAttr attr, void* value) = 0;
    virtual ViStatus Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) = 0;
    virtual ViStatus Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 retCount) = 0;
    virtual ViStatus Clear() = 0;
    virtual ViStatus Close(ViObject vi) = 0;
    virtual ViStatus Flush(ViUInt16 mask) = 0;
    virtual ViStatus Printf(ViConstString format, va_list args) = 0;
    virtual ViStatus Scanf(ViConstString format, va_list args) = 0;
};

}  // namespace kv
