/*
 * KvVISA: the VISA C interface.
 *
 * Declares every function of the VISA standard with its standard argument
 * list. Only the functions listed under "working functions" below do real
 * work in this library; every other one answers VI_ERROR_NIMPL_OPER, and the
 * viPeek / viPoke functions do nothing.
 */
#ifndef KVVISA_VISA_H
#define KVVISA_VISA_H

#include <stdarg.h>

#include "visatype.h"

#if defined(__GNUC__)
#define KVVISA_EXPORT __attribute__((visibility("default")))
#else
#define KVVISA_EXPORT
#endif

#define VI_SPEC_VERSION (0x00500800UL)

#if defined(__cplusplus)
extern "C" {
#endif

/* Types that depend on the environment's address width. */
#if defined(_VISA_ENV_IS_64_BIT)
typedef ViUInt64 ViAttrState;
typedef ViUInt64 ViBusAddress;
typedef ViUInt64 ViBusSize;
#else
typedef ViUInt32 ViAttrState;
typedef ViUInt32 ViBusAddress;
typedef ViUInt32 ViBusSize;
#endif
typedef ViAttrState _VI_PTR ViPAttrState;
typedef ViBusAddress _VI_PTR ViPBusAddress;
typedef ViBusSize _VI_PTR ViPBusSize;
typedef ViUInt64 ViBusAddress64;
typedef ViBusAddress64 _VI_PTR ViPBusAddress64;

typedef ViUInt32 ViEventType;
typedef ViEventType _VI_PTR ViPEventType;
typedef ViEventType _VI_PTR ViAEventType;
typedef void _VI_PTR ViPAttr;
typedef ViAttr _VI_PTR ViAAttr;
typedef ViUInt32 ViEventFilter;
typedef ViObject ViEvent;
typedef ViEvent _VI_PTR ViPEvent;
typedef ViObject ViFindList;
typedef ViFindList _VI_PTR ViPFindList;
typedef ViUInt32 ViJobId;
typedef ViJobId _VI_PTR ViPJobId;
typedef ViUInt32 ViAccessMode;
typedef ViAccessMode _VI_PTR ViPAccessMode;
typedef ViChar ViKeyId[256];
typedef ViPChar ViPKeyId;
typedef va_list ViVAList;
typedef ViStatus(_VI_FUNCH _VI_PTR ViHndlr)(ViSession vi, ViEventType eventType, ViEvent event,
                                           ViAddr userHandle);

/* Resource manager. */
KVVISA_EXPORT ViStatus _VI_FUNC viGetDefaultRM(ViPSession vi);
KVVISA_EXPORT ViStatus _VI_FUNC viOpenDefaultRM(ViPSession vi);
KVVISA_EXPORT ViStatus _VI_FUNC viFindRsrc(ViSession sesn, ViConstString expr, ViPFindList vi,
                                           ViPUInt32 retCnt, ViChar _VI_FAR desc[]);
KVVISA_EXPORT ViStatus _VI_FUNC viFindNext(ViFindList vi, ViChar _VI_FAR desc[]);
KVVISA_EXPORT ViStatus _VI_FUNC viParseRsrc(ViSession rmSesn, ViConstRsrc rsrcName,
                                            ViPUInt16 intfType, ViPUInt16 intfNum);
KVVISA_EXPORT ViStatus _VI_FUNC viParseRsrcEx(ViSession rmSesn, ViConstRsrc rsrcName,
                                              ViPUInt16 intfType, ViPUInt16 intfNum,
                                              ViChar _VI_FAR rsrcClass[],
                                              ViChar _VI_FAR expandedUnaliasedName[],
                                              ViChar _VI_FAR aliasIfExists[]);
KVVISA_EXPORT ViStatus _VI_FUNC viOpen(ViSession sesn, ViConstRsrc name, ViAccessMode mode,
                                       ViUInt32 timeout, ViPSession vi);

/* Resource template operations. */
KVVISA_EXPORT ViStatus _VI_FUNC viClose(ViObject vi);
KVVISA_EXPORT ViStatus _VI_FUNC viSetAttribute(ViObject vi, ViAttr attrName,
                                               ViAttrState attrValue);
KVVISA_EXPORT ViStatus _VI_FUNC viGetAttribute(ViObject vi, ViAttr attrName,
                                               void _VI_PTR attrValue);
KVVISA_EXPORT ViStatus _VI_FUNC viStatusDesc(ViObject vi, ViStatus status,
                                             ViChar _VI_FAR desc[]);
KVVISA_EXPORT ViStatus _VI_FUNC viTerminate(ViObject vi, ViUInt16 degree, ViJobId jobId);
KVVISA_EXPORT ViStatus _VI_FUNC viLock(ViSession vi, ViAccessMode lockType, ViUInt32 timeout,
                                       ViConstKeyId requestedKey, ViChar _VI_FAR accessKey[]);
KVVISA_EXPORT ViStatus _VI_FUNC viUnlock(ViSession vi);
KVVISA_EXPORT ViStatus _VI_FUNC viEnableEvent(ViSession vi, ViEventType eventType,
                                              ViUInt16 mechanism, ViEventFilter context);
KVVISA_EXPORT ViStatus _VI_FUNC viDisableEvent(ViSession vi, ViEventType eventType,
                                               ViUInt16 mechanism);
KVVISA_EXPORT ViStatus _VI_FUNC viDiscardEvents(ViSession vi, ViEventType eventType,
                                                ViUInt16 mechanism);
KVVISA_EXPORT ViStatus _VI_FUNC viWaitOnEvent(ViSession vi, ViEventType inEventType,
                                              ViUInt32 timeout, ViPEventType outEventType,
                                              ViPEvent outContext);
KVVISA_EXPORT ViStatus _VI_FUNC viInstallHandler(ViSession vi, ViEventType eventType,
                                                 ViHndlr handler, ViAddr userHandle);
KVVISA_EXPORT ViStatus _VI_FUNC viUninstallHandler(ViSession vi, ViEventType eventType,
                                                   ViHndlr handler, ViAddr userHandle);

/* Basic I/O. */
KVVISA_EXPORT ViStatus _VI_FUNC viRead(ViSession vi, ViPBuf buf, ViUInt32 cnt, ViPUInt32 retCnt);
KVVISA_EXPORT ViStatus _VI_FUNC viReadAsync(ViSession vi, ViPBuf buf, ViUInt32 cnt,
                                            ViPJobId jobId);
KVVISA_EXPORT ViStatus _VI_FUNC viReadToFile(ViSession vi, ViConstString filename, ViUInt32 cnt,
                                             ViPUInt32 retCnt);
KVVISA_EXPORT ViStatus _VI_FUNC viWrite(ViSession vi, ViConstBuf buf, ViUInt32 cnt,
                                        ViPUInt32 retCnt);
KVVISA_EXPORT ViStatus _VI_FUNC viWriteAsync(ViSession vi, ViConstBuf buf, ViUInt32 cnt,
                                             ViPJobId jobId);
KVVISA_EXPORT ViStatus _VI_FUNC viWriteFromFile(ViSession vi, ViConstString filename,
                                                ViUInt32 cnt, ViPUInt32 retCnt);
KVVISA_EXPORT ViStatus _VI_FUNC viAssertTrigger(ViSession vi, ViUInt16 protocol);
KVVISA_EXPORT ViStatus _VI_FUNC viReadSTB(ViSession vi, ViPUInt16 status);
KVVISA_EXPORT ViStatus _VI_FUNC viClear(ViSession vi);

/* Formatted and buffered I/O. */
KVVISA_EXPORT ViStatus _VI_FUNC viSetBuf(ViSession vi, ViUInt16 mask, ViUInt32 size);
KVVISA_EXPORT ViStatus _VI_FUNC viFlush(ViSession vi, ViUInt16 mask);
KVVISA_EXPORT ViStatus _VI_FUNC viBufWrite(ViSession vi, ViConstBuf buf, ViUInt32 cnt,
                                           ViPUInt32 retCnt);
KVVISA_EXPORT ViStatus _VI_FUNC viBufRead(ViSession vi, ViPBuf buf, ViUInt32 cnt,
                                          ViPUInt32 retCnt);
KVVISA_EXPORT ViStatus _VI_FUNCC viPrintf(ViSession vi, ViConstString writeFmt, ...);
KVVISA_EXPORT ViStatus _VI_FUNC viVPrintf(ViSession vi, ViConstString writeFmt, ViVAList params);
KVVISA_EXPORT ViStatus _VI_FUNCC viSPrintf(ViSession vi, ViPBuf buf, ViConstString writeFmt, ...);
KVVISA_EXPORT ViStatus _VI_FUNC viVSPrintf(ViSession vi, ViPBuf buf, ViConstString writeFmt,
                                           ViVAList parms);
KVVISA_EXPORT ViStatus _VI_FUNCC viScanf(ViSession vi, ViConstString readFmt, ...);
KVVISA_EXPORT ViStatus _VI_FUNC viVScanf(ViSession vi, ViConstString readFmt, ViVAList params);
KVVISA_EXPORT ViStatus _VI_FUNCC viSScanf(ViSession vi, ViConstBuf buf, ViConstString readFmt,
                                          ...);
KVVISA_EXPORT ViStatus _VI_FUNC viVSScanf(ViSession vi, ViConstBuf buf, ViConstString readFmt,
                                          ViVAList parms);
KVVISA_EXPORT ViStatus _VI_FUNCC viQueryf(ViSession vi, ViConstString writeFmt,
                                          ViConstString readFmt, ...);
KVVISA_EXPORT ViStatus _VI_FUNC viVQueryf(ViSession vi, ViConstString writeFmt,
                                          ViConstString readFmt, ViVAList params);

/* Memory I/O. */
KVVISA_EXPORT ViStatus _VI_FUNC viIn8(ViSession vi, ViUInt16 space, ViBusAddress offset,
                                      ViPUInt8 val8);
KVVISA_EXPORT ViStatus _VI_FUNC viOut8(ViSession vi, ViUInt16 space, ViBusAddress offset,
                                       ViUInt8 val8);
KVVISA_EXPORT ViStatus _VI_FUNC viIn16(ViSession vi, ViUInt16 space, ViBusAddress offset,
                                       ViPUInt16 val16);
KVVISA_EXPORT ViStatus _VI_FUNC viOut16(ViSession vi, ViUInt16 space, ViBusAddress offset,
                                        ViUInt16 val16);
KVVISA_EXPORT ViStatus _VI_FUNC viIn32(ViSession vi, ViUInt16 space, ViBusAddress offset,
                                       ViPUInt32 val32);
KVVISA_EXPORT ViStatus _VI_FUNC viOut32(ViSession vi, ViUInt16 space, ViBusAddress offset,
                                        ViUInt32 val32);
KVVISA_EXPORT ViStatus _VI_FUNC viIn64(ViSession vi, ViUInt16 space, ViBusAddress offset,
                                       ViPUInt64 val64);
KVVISA_EXPORT ViStatus _VI_FUNC viOut64(ViSession vi, ViUInt16 space, ViBusAddress offset,
                                        ViUInt64 val64);
KVVISA_EXPORT ViStatus _VI_FUNC viIn8Ex(ViSession vi, ViUInt16 space, ViBusAddress64 offset,
                                        ViPUInt8 val8);
KVVISA_EXPORT ViStatus _VI_FUNC viOut8Ex(ViSession vi, ViUInt16 space, ViBusAddress64 offset,
                                         ViUInt8 val8);
KVVISA_EXPORT ViStatus _VI_FUNC viIn16Ex(ViSession vi, ViUInt16 space, ViBusAddress64 offset,
                                         ViPUInt16 val16);
KVVISA_EXPORT ViStatus _VI_FUNC viOut16Ex(ViSession vi, ViUInt16 space, ViBusAddress64 offset,
                                          ViUInt16 val16);
KVVISA_EXPORT ViStatus _VI_FUNC viIn32Ex(ViSession vi, ViUInt16 space, ViBusAddress64 offset,
                                         ViPUInt32 val32);
KVVISA_EXPORT ViStatus _VI_FUNC viOut32Ex(ViSession vi, ViUInt16 space, ViBusAddress64 offset,
                                          ViUInt32 val32);
KVVISA_EXPORT ViStatus _VI_FUNC viIn64Ex(ViSession vi, ViUInt16 space, ViBusAddress64 offset,
                                         ViPUInt64 val64);
KVVISA_EXPORT ViStatus _VI_FUNC viOut64Ex(ViSession vi, ViUInt16 space, ViBusAddress64 offset,
                                          ViUInt64 val64);

KVVISA_EXPORT ViStatus _VI_FUNC viMoveIn8(ViSession vi, ViUInt16 space, ViBusAddress offset,
                                          ViBusSize length, ViAUInt8 buf8);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveOut8(ViSession vi, ViUInt16 space, ViBusAddress offset,
                                           ViBusSize length, ViAUInt8 buf8);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveIn16(ViSession vi, ViUInt16 space, ViBusAddress offset,
                                           ViBusSize length, ViAUInt16 buf16);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveOut16(ViSession vi, ViUInt16 space, ViBusAddress offset,
                                            ViBusSize length, ViAUInt16 buf16);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveIn32(ViSession vi, ViUInt16 space, ViBusAddress offset,
                                           ViBusSize length, ViAUInt32 buf32);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveOut32(ViSession vi, ViUInt16 space, ViBusAddress offset,
                                            ViBusSize length, ViAUInt32 buf32);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveIn64(ViSession vi, ViUInt16 space, ViBusAddress offset,
                                           ViBusSize length, ViAUInt64 buf64);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveOut64(ViSession vi, ViUInt16 space, ViBusAddress offset,
                                            ViBusSize length, ViAUInt64 buf64);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveIn8Ex(ViSession vi, ViUInt16 space, ViBusAddress64 offset,
                                            ViBusSize length, ViAUInt8 buf8);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveOut8Ex(ViSession vi, ViUInt16 space, ViBusAddress64 offset,
                                             ViBusSize length, ViAUInt8 buf8);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveIn16Ex(ViSession vi, ViUInt16 space, ViBusAddress64 offset,
                                             ViBusSize length, ViAUInt16 buf16);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveOut16Ex(ViSession vi, ViUInt16 space,
                                              ViBusAddress64 offset, ViBusSize length,
                                              ViAUInt16 buf16);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveIn32Ex(ViSession vi, ViUInt16 space, ViBusAddress64 offset,
                                             ViBusSize length, ViAUInt32 buf32);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveOut32Ex(ViSession vi, ViUInt16 space,
                                              ViBusAddress64 offset, ViBusSize length,
                                              ViAUInt32 buf32);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveIn64Ex(ViSession vi, ViUInt16 space, ViBusAddress64 offset,
                                             ViBusSize length, ViAUInt64 buf64);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveOut64Ex(ViSession vi, ViUInt16 space,
                                              ViBusAddress64 offset, ViBusSize length,
                                              ViAUInt64 buf64);

KVVISA_EXPORT ViStatus _VI_FUNC viMove(ViSession vi, ViUInt16 srcSpace, ViBusAddress srcOffset,
                                       ViUInt16 srcWidth, ViUInt16 destSpace,
                                       ViBusAddress destOffset, ViUInt16 destWidth,
                                       ViBusSize srcLength);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveAsync(ViSession vi, ViUInt16 srcSpace,
                                            ViBusAddress srcOffset, ViUInt16 srcWidth,
                                            ViUInt16 destSpace, ViBusAddress destOffset,
                                            ViUInt16 destWidth, ViBusSize srcLength,
                                            ViPJobId jobId);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveEx(ViSession vi, ViUInt16 srcSpace,
                                         ViBusAddress64 srcOffset, ViUInt16 srcWidth,
                                         ViUInt16 destSpace, ViBusAddress64 destOffset,
                                         ViUInt16 destWidth, ViBusSize srcLength);
KVVISA_EXPORT ViStatus _VI_FUNC viMoveAsyncEx(ViSession vi, ViUInt16 srcSpace,
                                              ViBusAddress64 srcOffset, ViUInt16 srcWidth,
                                              ViUInt16 destSpace, ViBusAddress64 destOffset,
                                              ViUInt16 destWidth, ViBusSize srcLength,
                                              ViPJobId jobId);

KVVISA_EXPORT ViStatus _VI_FUNC viMapAddress(ViSession vi, ViUInt16 mapSpace,
                                             ViBusAddress mapOffset, ViBusSize mapSize,
                                             ViBoolean access, ViAddr suggested,
                                             ViPAddr address);
KVVISA_EXPORT ViStatus _VI_FUNC viUnmapAddress(ViSession vi);
KVVISA_EXPORT ViStatus _VI_FUNC viMapAddressEx(ViSession vi, ViUInt16 mapSpace,
                                               ViBusAddress64 mapOffset, ViBusSize mapSize,
                                               ViBoolean access, ViAddr suggested,
                                               ViPAddr address);

KVVISA_EXPORT void _VI_FUNC viPeek8(ViSession vi, ViAddr address, ViPUInt8 val8);
KVVISA_EXPORT void _VI_FUNC viPoke8(ViSession vi, ViAddr address, ViUInt8 val8);
KVVISA_EXPORT void _VI_FUNC viPeek16(ViSession vi, ViAddr address, ViPUInt16 val16);
KVVISA_EXPORT void _VI_FUNC viPoke16(ViSession vi, ViAddr address, ViUInt16 val16);
KVVISA_EXPORT void _VI_FUNC viPeek32(ViSession vi, ViAddr address, ViPUInt32 val32);
KVVISA_EXPORT void _VI_FUNC viPoke32(ViSession vi, ViAddr address, ViUInt32 val32);
KVVISA_EXPORT void _VI_FUNC viPeek64(ViSession vi, ViAddr address, ViPUInt64 val64);
KVVISA_EXPORT void _VI_FUNC viPoke64(ViSession vi, ViAddr address, ViUInt64 val64);

/* Shared memory. */
KVVISA_EXPORT ViStatus _VI_FUNC viMemAlloc(ViSession vi, ViBusSize size, ViPBusAddress offset);
KVVISA_EXPORT ViStatus _VI_FUNC viMemFree(ViSession vi, ViBusAddress offset);
KVVISA_EXPORT ViStatus _VI_FUNC viMemAllocEx(ViSession vi, ViBusSize size,
                                             ViPBusAddress64 offset);
KVVISA_EXPORT ViStatus _VI_FUNC viMemFreeEx(ViSession vi, ViBusAddress64 offset);

/* Interface-specific operations. */
KVVISA_EXPORT ViStatus _VI_FUNC viGpibControlREN(ViSession vi, ViUInt16 mode);
KVVISA_EXPORT ViStatus _VI_FUNC viGpibControlATN(ViSession vi, ViUInt16 mode);
KVVISA_EXPORT ViStatus _VI_FUNC viGpibSendIFC(ViSession vi);
KVVISA_EXPORT ViStatus _VI_FUNC viGpibCommand(ViSession vi, ViConstBuf cmd, ViUInt32 cnt,
                                              ViPUInt32 retCnt);
KVVISA_EXPORT ViStatus _VI_FUNC viGpibPassControl(ViSession vi, ViUInt16 primAddr,
                                                  ViUInt16 secAddr);
KVVISA_EXPORT ViStatus _VI_FUNC viVxiCommandQuery(ViSession vi, ViUInt16 mode, ViUInt32 cmd,
                                                  ViPUInt32 response);
KVVISA_EXPORT ViStatus _VI_FUNC viAssertUtilSignal(ViSession vi, ViUInt16 line);
KVVISA_EXPORT ViStatus _VI_FUNC viAssertIntrSignal(ViSession vi, ViInt16 mode,
                                                   ViUInt32 statusID);
KVVISA_EXPORT ViStatus _VI_FUNC viMapTrigger(ViSession vi, ViInt16 trigSrc, ViInt16 trigDest,
                                             ViUInt16 mode);
KVVISA_EXPORT ViStatus _VI_FUNC viUnmapTrigger(ViSession vi, ViInt16 trigSrc, ViInt16 trigDest);
KVVISA_EXPORT ViStatus _VI_FUNC viUsbControlOut(ViSession vi, ViInt16 bmRequestType,
                                                ViInt16 bRequest, ViUInt16 wValue,
                                                ViUInt16 wIndex, ViUInt16 wLength,
                                                ViConstBuf buf);
KVVISA_EXPORT ViStatus _VI_FUNC viUsbControlIn(ViSession vi, ViInt16 bmRequestType,
                                               ViInt16 bRequest, ViUInt16 wValue,
                                               ViUInt16 wIndex, ViUInt16 wLength, ViPBuf buf,
                                               ViPUInt16 retCnt);

/* Attributes. */
#define VI_ATTR_RSRC_CLASS (0xBFFF0001UL)
#define VI_ATTR_RSRC_NAME (0xBFFF0002UL)
#define VI_ATTR_RSRC_IMPL_VERSION (0x3FFF0003UL)
#define VI_ATTR_RSRC_LOCK_STATE (0x3FFF0004UL)
#define VI_ATTR_MAX_QUEUE_LENGTH (0x3FFF0005UL)
#define VI_ATTR_USER_DATA_32 (0x3FFF0007UL)
#define VI_ATTR_TRIG_ID (0x3FFF0177UL)
#define VI_ATTR_SEND_END_EN (0x3FFF0016UL)
#define VI_ATTR_SUPPRESS_END_EN (0x3FFF0036UL)
#define VI_ATTR_TERMCHAR (0x3FFF0018UL)
#define VI_ATTR_TMO_VALUE (0x3FFF001AUL)
#define VI_ATTR_IO_PROT (0x3FFF001CUL)
#define VI_ATTR_ASRL_BAUD (0x3FFF0021UL)
#define VI_ATTR_ASRL_DATA_BITS (0x3FFF0022UL)
#define VI_ATTR_ASRL_PARITY (0x3FFF0023UL)
#define VI_ATTR_ASRL_STOP_BITS (0x3FFF0024UL)
#define VI_ATTR_ASRL_FLOW_CNTRL (0x3FFF0025UL)
#define VI_ATTR_RD_BUF_OPER_MODE (0x3FFF002AUL)
#define VI_ATTR_WR_BUF_OPER_MODE (0x3FFF002DUL)
#define VI_ATTR_TERMCHAR_EN (0x3FFF0038UL)
#define VI_ATTR_INTF_TYPE (0x3FFF0171UL)
#define VI_ATTR_INTF_NUM (0x3FFF0176UL)
#define VI_ATTR_ASRL_XON_CHAR (0x3FFF00C1UL)
#define VI_ATTR_ASRL_XOFF_CHAR (0x3FFF00C2UL)
#define VI_ATTR_TCPIP_ADDR (0xBFFF0195UL)
#define VI_ATTR_TCPIP_HOSTNAME (0xBFFF0196UL)
#define VI_ATTR_TCPIP_PORT (0x3FFF0197UL)
#define VI_ATTR_TCPIP_NODELAY (0x3FFF019AUL)
#define VI_ATTR_TCPIP_KEEPALIVE (0x3FFF019BUL)

/* Library-specific attribute: direction of the last record a traffic
   monitor saw, 0 for data read from the instrument, 1 for data written. */
#define ATTR_HOOK_DIRECTION (0x3FFF00E8UL)

/* Completion codes. */
#define VI_SUCCESS_EVENT_EN (0x3FFF0002L)
#define VI_SUCCESS_EVENT_DIS (0x3FFF0003L)
#define VI_SUCCESS_QUEUE_EMPTY (0x3FFF0004L)
#define VI_SUCCESS_TERM_CHAR (0x3FFF0005L)
#define VI_SUCCESS_MAX_CNT (0x3FFF0006L)

/* Error codes. */
#define VI_ERROR_SYSTEM_ERROR (_VI_ERROR + 0x3FFF0000L)
#define VI_ERROR_INV_OBJECT (_VI_ERROR + 0x3FFF000EL)
#define VI_ERROR_RSRC_LOCKED (_VI_ERROR + 0x3FFF000FL)
#define VI_ERROR_INV_EXPR (_VI_ERROR + 0x3FFF0010L)
#define VI_ERROR_RSRC_NFOUND (_VI_ERROR + 0x3FFF0011L)
#define VI_ERROR_INV_RSRC_NAME (_VI_ERROR + 0x3FFF0012L)
#define VI_ERROR_INV_ACC_MODE (_VI_ERROR + 0x3FFF0013L)
#define VI_ERROR_TMO (_VI_ERROR + 0x3FFF0015L)
#define VI_ERROR_CLOSING_FAILED (_VI_ERROR + 0x3FFF0016L)
#define VI_ERROR_NSUP_ATTR (_VI_ERROR + 0x3FFF001DL)
#define VI_ERROR_NSUP_ATTR_STATE (_VI_ERROR + 0x3FFF001EL)
#define VI_ERROR_ATTR_READONLY (_VI_ERROR + 0x3FFF001FL)
#define VI_ERROR_RAW_WR_PROT_VIOL (_VI_ERROR + 0x3FFF0034L)
#define VI_ERROR_RAW_RD_PROT_VIOL (_VI_ERROR + 0x3FFF0035L)
#define VI_ERROR_OUTP_PROT_VIOL (_VI_ERROR + 0x3FFF0036L)
#define VI_ERROR_INP_PROT_VIOL (_VI_ERROR + 0x3FFF0037L)
#define VI_ERROR_BERR (_VI_ERROR + 0x3FFF0038L)
#define VI_ERROR_IO (_VI_ERROR + 0x3FFF003EL)
#define VI_ERROR_INV_FMT (_VI_ERROR + 0x3FFF003FL)
#define VI_ERROR_NSUP_FMT (_VI_ERROR + 0x3FFF0041L)
#define VI_ERROR_ALLOC (_VI_ERROR + 0x3FFF0069L)
#define VI_ERROR_RSRC_BUSY (_VI_ERROR + 0x3FFF0072L)
#define VI_ERROR_INV_PARAMETER (_VI_ERROR + 0x3FFF0078L)
#define VI_ERROR_USER_BUF (_VI_ERROR + 0x3FFF0079L)
#define VI_ERROR_NSUP_OPER (_VI_ERROR + 0x3FFF0067L)
#define VI_ERROR_NIMPL_OPER (_VI_ERROR + 0x3FFF0081L)
#define VI_ERROR_LIBRARY_NFOUND (_VI_ERROR + 0x3FFF009EL)
#define VI_ERROR_CONN_LOST (_VI_ERROR + 0x3FFF00A6L)

/* Other values. */
#define VI_FIND_BUFLEN (256)
#define VI_NULL (0)
#define VI_TRUE (1)
#define VI_FALSE (0)
#define VI_TMO_IMMEDIATE (0L)
#define VI_TMO_INFINITE (0xFFFFFFFFUL)
#define VI_NO_LOCK (0)
#define VI_EXCLUSIVE_LOCK (1)
#define VI_SHARED_LOCK (2)
#define VI_LOAD_CONFIG (4)
#define VI_INTF_GPIB (1)
#define VI_INTF_VXI (2)
#define VI_INTF_GPIB_VXI (3)
#define VI_INTF_ASRL (4)
#define VI_INTF_PXI (5)
#define VI_INTF_TCPIP (6)
#define VI_INTF_USB (7)
#define VI_READ_BUF (1)
#define VI_WRITE_BUF (2)
#define VI_READ_BUF_DISCARD (4)
#define VI_WRITE_BUF_DISCARD (8)
#define VI_IO_IN_BUF (16)
#define VI_IO_OUT_BUF (32)
#define VI_IO_IN_BUF_DISCARD (64)
#define VI_IO_OUT_BUF_DISCARD (128)
#define VI_ASRL_PAR_NONE (0)
#define VI_ASRL_PAR_ODD (1)
#define VI_ASRL_PAR_EVEN (2)
#define VI_ASRL_PAR_MARK (3)
#define VI_ASRL_PAR_SPACE (4)
#define VI_ASRL_STOP_ONE (10)
#define VI_ASRL_STOP_ONE5 (15)
#define VI_ASRL_STOP_TWO (20)

#if defined(__cplusplus)
}
#endif

#endif /* KVVISA_VISA_H */
