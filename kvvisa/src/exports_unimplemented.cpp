// Exports the library keeps for the standard's sake but does not implement.
// Each keeps its standard argument list and answers VI_ERROR_NIMPL_OPER
// without looking at its arguments; the peek and poke functions have no
// result and do nothing, leaving their out arguments untouched.
#include "kvvisa/visa.h"

extern "C" {

KVVISA_EXPORT ViStatus viEnableEvent(ViSession, ViEventType, ViUInt16, ViEventFilter) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viDisableEvent(ViSession, ViEventType, ViUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viDiscardEvents(ViSession, ViEventType, ViUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viWaitOnEvent(ViSession, ViEventType, ViUInt32, ViPEventType, ViPEvent) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viInstallHandler(ViSession, ViEventType, ViHndlr, ViAddr) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viUninstallHandler(ViSession, ViEventType, ViHndlr, ViAddr) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viTerminate(ViObject, ViUInt16, ViJobId) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viLock(ViSession, ViAccessMode, ViUInt32, ViConstKeyId, ViChar*) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viUnlock(ViSession) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viParseRsrc(ViSession, ViConstRsrc, ViPUInt16, ViPUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viParseRsrcEx(ViSession, ViConstRsrc, ViPUInt16, ViPUInt16, ViChar*, ViChar*, ViChar*) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMove(ViSession, ViUInt16, ViBusAddress, ViUInt16, ViUInt16, ViBusAddress, ViUInt16, ViBusSize) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveAsync(ViSession, ViUInt16, ViBusAddress, ViUInt16, ViUInt16, ViBusAddress, ViUInt16, ViBusSize, ViPJobId) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viBufWrite(ViSession, ViConstBuf, ViUInt32, ViPUInt32) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viBufRead(ViSession, ViPBuf, ViUInt32, ViPUInt32) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viSPrintf(ViSession, ViPBuf, ViConstString, ...) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viVSPrintf(ViSession, ViPBuf, ViConstString, ViVAList) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viSScanf(ViSession, ViConstBuf, ViConstString, ...) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viVSScanf(ViSession, ViConstBuf, ViConstString, ViVAList) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viGpibControlREN(ViSession, ViUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viVxiCommandQuery(ViSession, ViUInt16, ViUInt32, ViPUInt32) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viGpibControlATN(ViSession, ViUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viGpibSendIFC(ViSession) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viGpibCommand(ViSession, ViConstBuf, ViUInt32, ViPUInt32) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viGpibPassControl(ViSession, ViUInt16, ViUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viAssertUtilSignal(ViSession, ViUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viAssertIntrSignal(ViSession, ViInt16, ViUInt32) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMapTrigger(ViSession, ViInt16, ViInt16, ViUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viUnmapTrigger(ViSession, ViInt16, ViInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viWriteFromFile(ViSession, ViConstString, ViUInt32, ViPUInt32) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viReadToFile(ViSession, ViConstString, ViUInt32, ViPUInt32) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viIn64(ViSession, ViUInt16, ViBusAddress, ViPUInt64) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viOut64(ViSession, ViUInt16, ViBusAddress, ViUInt64) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viIn8Ex(ViSession, ViUInt16, ViBusAddress64, ViPUInt8) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viOut8Ex(ViSession, ViUInt16, ViBusAddress64, ViUInt8) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viIn16Ex(ViSession, ViUInt16, ViBusAddress64, ViPUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viOut16Ex(ViSession, ViUInt16, ViBusAddress64, ViUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viIn32Ex(ViSession, ViUInt16, ViBusAddress64, ViPUInt32) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viOut32Ex(ViSession, ViUInt16, ViBusAddress64, ViUInt32) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viIn64Ex(ViSession, ViUInt16, ViBusAddress64, ViPUInt64) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viOut64Ex(ViSession, ViUInt16, ViBusAddress64, ViUInt64) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveIn64(ViSession, ViUInt16, ViBusAddress, ViBusSize, ViAUInt64) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveOut64(ViSession, ViUInt16, ViBusAddress, ViBusSize, ViAUInt64) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveIn8Ex(ViSession, ViUInt16, ViBusAddress64, ViBusSize, ViAUInt8) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveOut8Ex(ViSession, ViUInt16, ViBusAddress64, ViBusSize, ViAUInt8) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveIn16Ex(ViSession, ViUInt16, ViBusAddress64, ViBusSize, ViAUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveOut16Ex(ViSession, ViUInt16, ViBusAddress64, ViBusSize, ViAUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveIn32Ex(ViSession, ViUInt16, ViBusAddress64, ViBusSize, ViAUInt32) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveOut32Ex(ViSession, ViUInt16, ViBusAddress64, ViBusSize, ViAUInt32) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveIn64Ex(ViSession, ViUInt16, ViBusAddress64, ViBusSize, ViAUInt64) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveOut64Ex(ViSession, ViUInt16, ViBusAddress64, ViBusSize, ViAUInt64) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveEx(ViSession, ViUInt16, ViBusAddress64, ViUInt16, ViUInt16, ViBusAddress64, ViUInt16, ViBusSize) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveAsyncEx(ViSession, ViUInt16, ViBusAddress64, ViUInt16, ViUInt16, ViBusAddress64, ViUInt16, ViBusSize, ViPJobId) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMapAddressEx(ViSession, ViUInt16, ViBusAddress64, ViBusSize, ViBoolean, ViAddr, ViPAddr) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMemAllocEx(ViSession, ViBusSize, ViPBusAddress64) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMemFreeEx(ViSession, ViBusAddress64) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viAssertTrigger(ViSession, ViUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viReadSTB(ViSession, ViPUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viIn16(ViSession, ViUInt16, ViBusAddress, ViPUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viOut16(ViSession, ViUInt16, ViBusAddress, ViUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMapAddress(ViSession, ViUInt16, ViBusAddress, ViBusSize, ViBoolean, ViAddr, ViPAddr) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viUnmapAddress(ViSession) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viSetBuf(ViSession, ViUInt16, ViUInt32) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viVPrintf(ViSession, ViConstString, ViVAList) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viVScanf(ViSession, ViConstString, ViVAList) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viIn8(ViSession, ViUInt16, ViBusAddress, ViPUInt8) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viOut8(ViSession, ViUInt16, ViBusAddress, ViUInt8) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viReadAsync(ViSession, ViPBuf, ViUInt32, ViPJobId) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viWriteAsync(ViSession, ViConstBuf, ViUInt32, ViPJobId) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viQueryf(ViSession, ViConstString, ViConstString, ...) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viVQueryf(ViSession, ViConstString, ViConstString, ViVAList) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viIn32(ViSession, ViUInt16, ViBusAddress, ViPUInt32) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viOut32(ViSession, ViUInt16, ViBusAddress, ViUInt32) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveIn8(ViSession, ViUInt16, ViBusAddress, ViBusSize, ViAUInt8) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveOut8(ViSession, ViUInt16, ViBusAddress, ViBusSize, ViAUInt8) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveIn16(ViSession, ViUInt16, ViBusAddress, ViBusSize, ViAUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveOut16(ViSession, ViUInt16, ViBusAddress, ViBusSize, ViAUInt16) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveIn32(ViSession, ViUInt16, ViBusAddress, ViBusSize, ViAUInt32) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMoveOut32(ViSession, ViUInt16, ViBusAddress, ViBusSize, ViAUInt32) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMemAlloc(ViSession, ViBusSize, ViPBusAddress) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viMemFree(ViSession, ViBusAddress) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viUsbControlOut(ViSession, ViInt16, ViInt16, ViUInt16, ViUInt16, ViUInt16, ViConstBuf) { return VI_ERROR_NIMPL_OPER; }
KVVISA_EXPORT ViStatus viUsbControlIn(ViSession, ViInt16, ViInt16, ViUInt16, ViUInt16, ViUInt16, ViPBuf, ViPUInt16) { return VI_ERROR_NIMPL_OPER; }

KVVISA_EXPORT void viPeek8(ViSession, ViAddr, ViPUInt8) {}
KVVISA_EXPORT void viPoke8(ViSession, ViAddr, ViUInt8) {}
KVVISA_EXPORT void viPeek16(ViSession, ViAddr, ViPUInt16) {}
KVVISA_EXPORT void viPoke16(ViSession, ViAddr, ViUInt16) {}
KVVISA_EXPORT void viPeek32(ViSession, ViAddr, ViPUInt32) {}
KVVISA_EXPORT void viPoke32(ViSession, ViAddr, ViUInt32) {}
KVVISA_EXPORT void viPeek64(ViSession, ViAddr, ViPUInt64) {}
KVVISA_EXPORT void viPoke64(ViSession, ViAddr, ViUInt64) {}

}  // extern "C"
