// The library as a C caller sees it: what it exports, how handles are
// validated, status texts, the unimplemented functions and the standard's
// 64-bit type rules. Only the public header is used.
#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "kvvisa/visa.h"
#include "support/scripted_peer.h"

namespace {

const std::vector<std::string> kExportNames = {
#include "export_names.inc"
};

// Names of the symbols the library's dynamic symbol table defines, read from
// the file itself so nothing is missed that a loader could bind to.
std::vector<std::string> DefinedDynamicSymbols(const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> image((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    std::vector<std::string> names;
    Elf64_Ehdr header;
    if (image.size() < sizeof header) return names;
    std::memcpy(&header, image.data(), sizeof header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64) {
        return names;
    }
    const auto section = [&](size_t index) {
        Elf64_Shdr sh{};
        const size_t at = header.e_shoff + index * header.e_shentsize;
        if (at + sizeof sh <= image.size()) std::memcpy(&sh, image.data() + at, sizeof sh);
        return sh;
    };
    for (size_t i = 0; i < header.e_shnum; ++i) {
        const Elf64_Shdr symbols = section(i);
        if (symbols.sh_type != SHT_DYNSYM || symbols.sh_entsize == 0) continue;
        const Elf64_Shdr strings = section(symbols.sh_link);
        for (size_t k = 0; k < symbols.sh_size / symbols.sh_entsize; ++k) {
            Elf64_Sym sym;
            const size_t at = symbols.sh_offset + k * symbols.sh_entsize;
            if (at + sizeof sym > image.size()) break;
            std::memcpy(&sym, image.data() + at, sizeof sym);
            if (sym.st_shndx == SHN_UNDEF || sym.st_name >= strings.sh_size) continue;
            const char* name = image.data() + strings.sh_offset + sym.st_name;
            if (*name != '\0') names.emplace_back(name);
        }
    }
    return names;
}

TEST(Exports, EveryStandardFunctionCanBeFoundByName) {
    void* library = dlopen(KV_LIBRARY_PATH, RTLD_NOW);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const auto& name : kExportNames) {
        EXPECT_NE(dlsym(library, name.c_str()), nullptr) << name;
    }
    // The library loaded by name is the one this program is linked against.
    EXPECT_EQ(dlsym(library, "viOpen"), reinterpret_cast<void*>(&viOpen));
    dlclose(library);
}

TEST(Exports, NothingButTheStandardFunctionsIsExported) {
    const auto defined = DefinedDynamicSymbols(KV_LIBRARY_PATH);
    ASSERT_FALSE(defined.empty()) << "no dynamic symbols read from " << KV_LIBRARY_PATH;
    const std::set<std::string> expected(kExportNames.begin(), kExportNames.end());
    for (const auto& name : defined) {
        EXPECT_TRUE(expected.count(name) == 1) << "unexpected export: " << name;
    }
    EXPECT_EQ(std::set<std::string>(defined.begin(), defined.end()), expected);
}

TEST(TypeWidths, FollowTheStandardsRulesFor64BitEnvironments) {
#if defined(__x86_64__)
    EXPECT_EQ(sizeof(ViAttrState), 8u);
    EXPECT_EQ(sizeof(ViBusAddress), 8u);
    EXPECT_EQ(sizeof(ViBusSize), 8u);
#endif
    EXPECT_EQ(sizeof(ViSession), 4u);
    EXPECT_EQ(sizeof(ViStatus), 4u);
    EXPECT_EQ(sizeof(ViAttr), 4u);
    EXPECT_EQ(sizeof(ViUInt32), 4u);
    EXPECT_EQ(sizeof(ViUInt16), 2u);
    EXPECT_EQ(sizeof(ViBusAddress64), 8u);
    EXPECT_LT(VI_ERROR_INV_OBJECT, 0);  // errors are negative ViStatus values
}

// ------------------------------------------------------- resource manager

TEST(DefaultRM, EveryCallGivesTheSameHandleAndClosingItChangesNothing) {
    ViSession first = VI_NULL, second = VI_NULL, viaGet = VI_NULL;
    ASSERT_EQ(viOpenDefaultRM(&first), VI_SUCCESS);
    ASSERT_EQ(viOpenDefaultRM(&second), VI_SUCCESS);
    ASSERT_EQ(viGetDefaultRM(&viaGet), VI_SUCCESS);
    EXPECT_NE(first, VI_NULL);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, viaGet);

    EXPECT_EQ(viClose(first), VI_SUCCESS);
    EXPECT_EQ(viClose(first), VI_SUCCESS);

    // Still answering: a name is judged, not the handle refused.
    ViSession vi = 0x12345678;
    EXPECT_EQ(viOpen(first, "COM1::INSTR", VI_NULL, 0, &vi), VI_ERROR_INV_RSRC_NAME);
    EXPECT_EQ(vi, VI_NULL);
    ASSERT_EQ(viOpen(first, "ASRL5::INSTR::HOOK", VI_NULL, 0, &vi), VI_SUCCESS);
    EXPECT_NE(vi, VI_NULL);
    EXPECT_NE(vi, first);
    EXPECT_EQ(viClose(vi), VI_SUCCESS);

    ViSession again = VI_NULL;
    ASSERT_EQ(viOpenDefaultRM(&again), VI_SUCCESS);
    EXPECT_EQ(again, first);
}

TEST(DefaultRM, OpenThroughANullOrUnknownHandleIsInvalidObjectWithAZeroHandle) {
    for (ViSession sesn : {ViSession{VI_NULL}, ViSession{0xFEDCBA98}}) {
        ViSession vi = 0x12345678;
        EXPECT_EQ(viOpen(sesn, "ASRL5::INSTR::HOOK", VI_NULL, 0, &vi), VI_ERROR_INV_OBJECT);
        EXPECT_EQ(vi, VI_NULL);
    }
}

TEST(DefaultRM, OpenThroughASessionHandleIsNotImplemented) {
    ViSession rm = VI_NULL, monitor = VI_NULL;
    ASSERT_EQ(viOpenDefaultRM(&rm), VI_SUCCESS);
    ASSERT_EQ(viOpen(rm, "ASRL5::INSTR::HOOK", VI_NULL, 0, &monitor), VI_SUCCESS);
    ViSession vi = 0x12345678;
    EXPECT_EQ(viOpen(monitor, "ASRL6::INSTR::HOOK", VI_NULL, 0, &vi), VI_ERROR_NIMPL_OPER);
    EXPECT_EQ(vi, VI_NULL);
    EXPECT_EQ(viClose(monitor), VI_SUCCESS);
}

// ------------------------------------------------------- handle validation

// Everything a validated export could write to, so a refused call can be
// shown to have left it alone.
struct Canaries {
    unsigned char buffer[64];
    ViUInt32 count;
    unsigned char attribute[16];
    char line[32];
    char desc[VI_FIND_BUFLEN];
};

bool AllBytesAre(const void* data, size_t size, unsigned char value) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i] != value) return false;
    }
    return true;
}

void ExpectEveryValidatedExportRefuses(ViSession vi) {
    Canaries c;
    std::memset(&c, 0xA5, sizeof c);
    EXPECT_EQ(viRead(vi, c.buffer, sizeof c.buffer, &c.count), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(viWrite(vi, c.buffer, sizeof c.buffer, &c.count), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(viSetAttribute(vi, VI_ATTR_TMO_VALUE, 500), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(viGetAttribute(vi, VI_ATTR_TMO_VALUE, c.attribute), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(viClear(vi), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(viFlush(vi, VI_NULL), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(viPrintf(vi, "*IDN?\n"), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(viScanf(vi, "%s\r\n", c.line), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(viFindNext(vi, c.desc), VI_ERROR_INV_OBJECT);
    EXPECT_TRUE(AllBytesAre(&c, sizeof c, 0xA5));
}

TEST(HandleValidation, ManagerNullAndUnknownHandlesAreInvalidObjects) {
    ViSession rm = VI_NULL;
    ASSERT_EQ(viOpenDefaultRM(&rm), VI_SUCCESS);
    std::mt19937 random(std::random_device{}());
    const ViSession unknown = 0x80000000u | static_cast<ViSession>(random());
    for (ViSession vi : {rm, ViSession{VI_NULL}, unknown}) {
        SCOPED_TRACE(vi);
        ExpectEveryValidatedExportRefuses(vi);
    }
    EXPECT_EQ(viClose(VI_NULL), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(viClose(unknown), VI_ERROR_INV_OBJECT);
}

TEST(HandleValidation, ClosedHandleIsInvalidEverywhere) {
    ViSession rm = VI_NULL, vi = VI_NULL;
    ASSERT_EQ(viOpenDefaultRM(&rm), VI_SUCCESS);
    ASSERT_EQ(viOpen(rm, "ASRL5::INSTR::HOOK", VI_NULL, 0, &vi), VI_SUCCESS);
    ASSERT_EQ(viClose(vi), VI_SUCCESS);
    ExpectEveryValidatedExportRefuses(vi);
    EXPECT_EQ(viClose(vi), VI_ERROR_INV_OBJECT);
}

// ------------------------------------------------------------ status texts

TEST(StatusDesc, EveryKnownCodeHasItsText) {
    const struct {
        ViStatus status;
        const char* text;
    } table[] = {
        {VI_SUCCESS, "Success"},
        {VI_ERROR_SYSTEM_ERROR, "System error"},
        {VI_ERROR_INV_OBJECT, "Invalid object"},
        {VI_ERROR_RSRC_NFOUND, "Resource not found"},
        {VI_ERROR_INV_RSRC_NAME, "Invalid resource name"},
        {VI_ERROR_TMO, "Timeout"},
        {VI_ERROR_CLOSING_FAILED, "Closing failed"},
        {VI_ERROR_NSUP_ATTR, "Not supported attribute"},
        {VI_ERROR_IO, "Error IO"},
        {VI_ERROR_INV_FMT, "Invalid format"},
        {VI_ERROR_RSRC_BUSY, "Resource busy"},
        {VI_ERROR_NIMPL_OPER, "Not implemented operation"},
        {VI_ERROR_LIBRARY_NFOUND, "Library not found"},
        {VI_ERROR_CONN_LOST, "Connection lost"},
    };
    for (const auto& entry : table) {
        SCOPED_TRACE(entry.text);
        char desc[VI_FIND_BUFLEN];
        std::memset(desc, 'X', sizeof desc);
        EXPECT_EQ(viStatusDesc(VI_NULL, entry.status, desc), VI_SUCCESS);
        EXPECT_STREQ(desc, entry.text);
    }
    EXPECT_EQ(static_cast<ViUInt32>(VI_ERROR_INV_OBJECT), 0xBFFF000Eu);
    EXPECT_EQ(static_cast<ViUInt32>(VI_ERROR_CONN_LOST), 0xBFFF00A6u);
}

TEST(StatusDesc, CodeWithoutTextGivesAnEmptyStringAndSuccess) {
    const ViStatus withoutText[] = {static_cast<ViStatus>(0xBFFF0010), VI_ERROR_RAW_RD_PROT_VIOL,
                                    VI_ERROR_USER_BUF, static_cast<ViStatus>(0x3FFF0002),
                                    static_cast<ViStatus>(0x7FFFFFFF)};
    for (ViStatus status : withoutText) {
        SCOPED_TRACE(status);
        char desc[VI_FIND_BUFLEN];
        std::memset(desc, 'X', sizeof desc);
        EXPECT_EQ(viStatusDesc(VI_NULL, status, desc), VI_SUCCESS);
        EXPECT_STREQ(desc, "");
    }
}

TEST(StatusDesc, HandleIsNotLookedAt) {
    char desc[VI_FIND_BUFLEN];
    EXPECT_EQ(viStatusDesc(0xDEADBEEF, VI_ERROR_TMO, desc), VI_SUCCESS);
    EXPECT_STREQ(desc, "Timeout");
}

// ------------------------------------------------ unimplemented functions

// Calls `call` with a va_list holding the arguments after `last`.
template <typename Call>
ViStatus WithArgs(Call call, int last, ...) {
    va_list args;
    va_start(args, last);
    const ViStatus status = call(args);
    va_end(args);
    return status;
}

struct UnimplementedCall {
    const char* name;
    std::function<ViStatus()> call;
};

// Out arguments of the calls below point here and must stay as they are.
struct OutArgs {
    ViUInt8 u8[8];
    ViUInt16 u16[8];
    ViUInt32 u32[8];
    ViUInt64 u64[8];
    ViBusAddress bus;
    ViBusAddress64 bus64;
    ViAddr addr;
    ViEventType eventType;
    ViEvent event;
    ViJobId job;
    ViChar text[VI_FIND_BUFLEN];
    ViByte bytes[64];
};

std::vector<UnimplementedCall> UnimplementedCalls(OutArgs& o) {
    const ViSession s = 0x00010001;
    return {
        {"viEnableEvent", [=] { return viEnableEvent(s, 1, 1, 0); }},
        {"viDisableEvent", [=] { return viDisableEvent(s, 1, 1); }},
        {"viDiscardEvents", [=] { return viDiscardEvents(s, 1, 1); }},
        {"viWaitOnEvent", [&] { return viWaitOnEvent(s, 1, 0, &o.eventType, &o.event); }},
        {"viInstallHandler", [=] { return viInstallHandler(s, 1, nullptr, nullptr); }},
        {"viUninstallHandler", [=] { return viUninstallHandler(s, 1, nullptr, nullptr); }},
        {"viTerminate", [=] { return viTerminate(s, 0, 0); }},
        {"viLock", [&] { return viLock(s, 1, 0, nullptr, o.text); }},
        {"viUnlock", [=] { return viUnlock(s); }},
        {"viParseRsrc", [&] { return viParseRsrc(s, "ASRL1::INSTR", &o.u16[0], &o.u16[1]); }},
        {"viParseRsrcEx",
         [&] {
             return viParseRsrcEx(s, "ASRL1::INSTR", &o.u16[0], &o.u16[1], o.text, o.text,
                                  o.text);
         }},
        {"viMove", [=] { return viMove(s, 0, 0, 1, 0, 0, 1, 0); }},
        {"viMoveAsync", [&] { return viMoveAsync(s, 0, 0, 1, 0, 0, 1, 0, &o.job); }},
        {"viBufWrite", [&] { return viBufWrite(s, o.bytes, 0, &o.u32[0]); }},
        {"viBufRead", [&] { return viBufRead(s, o.bytes, sizeof o.bytes, &o.u32[0]); }},
        {"viSPrintf", [&] { return viSPrintf(s, o.bytes, "%d", 5); }},
        {"viVSPrintf",
         [&] { return WithArgs([&](va_list a) { return viVSPrintf(s, o.bytes, "%d", a); }, 0, 5); }},
        {"viSScanf", [&] { return viSScanf(s, o.bytes, "%d", &o.u32[1]); }},
        {"viVSScanf",
         [&] {
             return WithArgs([&](va_list a) { return viVSScanf(s, o.bytes, "%d", a); }, 0,
                             &o.u32[1]);
         }},
        {"viGpibControlREN", [=] { return viGpibControlREN(s, 0); }},
        {"viVxiCommandQuery", [&] { return viVxiCommandQuery(s, 0, 0, &o.u32[2]); }},
        {"viGpibControlATN", [=] { return viGpibControlATN(s, 0); }},
        {"viGpibSendIFC", [=] { return viGpibSendIFC(s); }},
        {"viGpibCommand", [&] { return viGpibCommand(s, o.bytes, 0, &o.u32[3]); }},
        {"viGpibPassControl", [=] { return viGpibPassControl(s, 0, 0); }},
        {"viAssertUtilSignal", [=] { return viAssertUtilSignal(s, 0); }},
        {"viAssertIntrSignal", [=] { return viAssertIntrSignal(s, 0, 0); }},
        {"viMapTrigger", [=] { return viMapTrigger(s, 0, 0, 0); }},
        {"viUnmapTrigger", [=] { return viUnmapTrigger(s, 0, 0); }},
        {"viWriteFromFile", [&] { return viWriteFromFile(s, "/nonexistent", 1, &o.u32[4]); }},
        {"viReadToFile", [&] { return viReadToFile(s, "/nonexistent", 1, &o.u32[4]); }},
        {"viIn64", [&] { return viIn64(s, 0, 0, &o.u64[0]); }},
        {"viOut64", [=] { return viOut64(s, 0, 0, 0); }},
        {"viIn8Ex", [&] { return viIn8Ex(s, 0, 0, &o.u8[0]); }},
        {"viOut8Ex", [=] { return viOut8Ex(s, 0, 0, 0); }},
        {"viIn16Ex", [&] { return viIn16Ex(s, 0, 0, &o.u16[2]); }},
        {"viOut16Ex", [=] { return viOut16Ex(s, 0, 0, 0); }},
        {"viIn32Ex", [&] { return viIn32Ex(s, 0, 0, &o.u32[5]); }},
        {"viOut32Ex", [=] { return viOut32Ex(s, 0, 0, 0); }},
        {"viIn64Ex", [&] { return viIn64Ex(s, 0, 0, &o.u64[1]); }},
        {"viOut64Ex", [=] { return viOut64Ex(s, 0, 0, 0); }},
        {"viMoveIn64", [&] { return viMoveIn64(s, 0, 0, 1, o.u64); }},
        {"viMoveOut64", [&] { return viMoveOut64(s, 0, 0, 1, o.u64); }},
        {"viMoveIn8Ex", [&] { return viMoveIn8Ex(s, 0, 0, 1, o.u8); }},
        {"viMoveOut8Ex", [&] { return viMoveOut8Ex(s, 0, 0, 1, o.u8); }},
        {"viMoveIn16Ex", [&] { return viMoveIn16Ex(s, 0, 0, 1, o.u16); }},
        {"viMoveOut16Ex", [&] { return viMoveOut16Ex(s, 0, 0, 1, o.u16); }},
        {"viMoveIn32Ex", [&] { return viMoveIn32Ex(s, 0, 0, 1, o.u32); }},
        {"viMoveOut32Ex", [&] { return viMoveOut32Ex(s, 0, 0, 1, o.u32); }},
        {"viMoveIn64Ex", [&] { return viMoveIn64Ex(s, 0, 0, 1, o.u64); }},
        {"viMoveOut64Ex", [&] { return viMoveOut64Ex(s, 0, 0, 1, o.u64); }},
        {"viMoveEx", [=] { return viMoveEx(s, 0, 0, 1, 0, 0, 1, 0); }},
        {"viMoveAsyncEx", [&] { return viMoveAsyncEx(s, 0, 0, 1, 0, 0, 1, 0, &o.job); }},
        {"viMapAddressEx", [&] { return viMapAddressEx(s, 0, 0, 1, VI_FALSE, nullptr, &o.addr); }},
        {"viMemAllocEx", [&] { return viMemAllocEx(s, 1, &o.bus64); }},
        {"viMemFreeEx", [=] { return viMemFreeEx(s, 0); }},
        {"viAssertTrigger", [=] { return viAssertTrigger(s, 0); }},
        {"viReadSTB", [&] { return viReadSTB(s, &o.u16[3]); }},
        {"viIn16", [&] { return viIn16(s, 0, 0, &o.u16[4]); }},
        {"viOut16", [=] { return viOut16(s, 0, 0, 0); }},
        {"viMapAddress", [&] { return viMapAddress(s, 0, 0, 1, VI_FALSE, nullptr, &o.addr); }},
        {"viUnmapAddress", [=] { return viUnmapAddress(s); }},
        {"viSetBuf", [=] { return viSetBuf(s, 0, 0); }},
        {"viVPrintf",
         [&] { return WithArgs([&](va_list a) { return viVPrintf(s, "%d", a); }, 0, 5); }},
        {"viVScanf",
         [&] { return WithArgs([&](va_list a) { return viVScanf(s, "%d", a); }, 0, &o.u32[6]); }},
        {"viIn8", [&] { return viIn8(s, 0, 0, &o.u8[1]); }},
        {"viOut8", [=] { return viOut8(s, 0, 0, 0); }},
        {"viReadAsync", [&] { return viReadAsync(s, o.bytes, sizeof o.bytes, &o.job); }},
        {"viWriteAsync", [&] { return viWriteAsync(s, o.bytes, 0, &o.job); }},
        {"viQueryf", [&] { return viQueryf(s, "*IDN?\n", "%s", o.text); }},
        {"viVQueryf",
         [&] {
             return WithArgs([&](va_list a) { return viVQueryf(s, "*IDN?\n", "%s", a); }, 0,
                             o.text);
         }},
        {"viIn32", [&] { return viIn32(s, 0, 0, &o.u32[7]); }},
        {"viOut32", [=] { return viOut32(s, 0, 0, 0); }},
        {"viMoveIn8", [&] { return viMoveIn8(s, 0, 0, 1, o.u8); }},
        {"viMoveOut8", [&] { return viMoveOut8(s, 0, 0, 1, o.u8); }},
        {"viMoveIn16", [&] { return viMoveIn16(s, 0, 0, 1, o.u16); }},
        {"viMoveOut16", [&] { return viMoveOut16(s, 0, 0, 1, o.u16); }},
        {"viMoveIn32", [&] { return viMoveIn32(s, 0, 0, 1, o.u32); }},
        {"viMoveOut32", [&] { return viMoveOut32(s, 0, 0, 1, o.u32); }},
        {"viMemAlloc", [&] { return viMemAlloc(s, 1, &o.bus); }},
        {"viMemFree", [=] { return viMemFree(s, 0); }},
        {"viUsbControlOut", [&] { return viUsbControlOut(s, 0x40, 0, 0, 0, 0, o.bytes); }},
        {"viUsbControlIn",
         [&] { return viUsbControlIn(s, 0xC0, 0, 0, 0, 8, o.bytes, &o.u16[5]); }},
    };
}

const std::set<std::string> kWorkingExports = {
    "viOpenDefaultRM", "viGetDefaultRM", "viFindRsrc", "viFindNext",   "viOpen",
    "viClose",         "viSetAttribute", "viGetAttribute", "viStatusDesc", "viRead",
    "viWrite",         "viClear",        "viFlush",    "viPrintf",     "viScanf",
};
const std::set<std::string> kVoidExports = {
    "viPeek8", "viPoke8", "viPeek16", "viPoke16", "viPeek32", "viPoke32", "viPeek64", "viPoke64",
};

TEST(Unimplemented, EveryOtherExportAnswersNotImplementedAndTouchesNothing) {
    OutArgs out;
    std::memset(&out, 0x5A, sizeof out);
    OutArgs before;
    std::memcpy(&before, &out, sizeof out);

    std::set<std::string> covered = kWorkingExports;
    covered.insert(kVoidExports.begin(), kVoidExports.end());
    for (const auto& entry : UnimplementedCalls(out)) {
        EXPECT_EQ(entry.call(), VI_ERROR_NIMPL_OPER) << entry.name;
        EXPECT_TRUE(covered.insert(entry.name).second) << "listed twice: " << entry.name;
    }
    EXPECT_EQ(std::memcmp(&out, &before, sizeof out), 0);
    // Working, do-nothing and unimplemented functions together are the export list.
    EXPECT_EQ(covered, std::set<std::string>(kExportNames.begin(), kExportNames.end()));
}

TEST(Unimplemented, LockIsNotImplementedEvenOnAnOpenSession) {
    ViSession rm = VI_NULL, vi = VI_NULL;
    ASSERT_EQ(viOpenDefaultRM(&rm), VI_SUCCESS);
    ASSERT_EQ(viOpen(rm, "ASRL5::INSTR::HOOK", VI_NULL, 0, &vi), VI_SUCCESS);
    ViChar key[VI_FIND_BUFLEN] = "untouched";
    EXPECT_EQ(viLock(vi, VI_EXCLUSIVE_LOCK, 0, nullptr, key), VI_ERROR_NIMPL_OPER);
    EXPECT_STREQ(key, "untouched");
    EXPECT_EQ(viUnlock(vi), VI_ERROR_NIMPL_OPER);
    EXPECT_EQ(viClose(vi), VI_SUCCESS);
}

TEST(Unimplemented, PeekLeavesItsOutArgumentAndPokeDoesNothing) {
    ViUInt8 v8 = 0xA5;
    ViUInt16 v16 = 0xA5A5;
    ViUInt32 v32 = 0xA5A5A5A5;
    ViUInt64 v64 = 0xA5A5A5A5A5A5A5A5ull;
    ViUInt64 target = 0x1122334455667788ull;
    viPeek8(VI_NULL, &target, &v8);
    viPeek16(VI_NULL, &target, &v16);
    viPeek32(VI_NULL, &target, &v32);
    viPeek64(VI_NULL, &target, &v64);
    EXPECT_EQ(v8, 0xA5);
    EXPECT_EQ(v16, 0xA5A5);
    EXPECT_EQ(v32, 0xA5A5A5A5u);
    EXPECT_EQ(v64, 0xA5A5A5A5A5A5A5A5ull);
    viPoke8(VI_NULL, &target, 0);
    viPoke16(VI_NULL, &target, 0);
    viPoke32(VI_NULL, &target, 0);
    viPoke64(VI_NULL, &target, 0);
    EXPECT_EQ(target, 0x1122334455667788ull);
}

// ------------------------------------------------------ real TCP sessions

class TcpSession : public ::testing::Test {
protected:
    ViSession Open(const kvtest::ScriptedPeer& peer) {
        ViSession rm = VI_NULL, vi = VI_NULL;
        EXPECT_EQ(viOpenDefaultRM(&rm), VI_SUCCESS);
        EXPECT_EQ(viOpen(rm, peer.Resource().c_str(), VI_NULL, 2000, &vi), VI_SUCCESS);
        if (vi != VI_NULL) {
            EXPECT_EQ(viSetAttribute(vi, VI_ATTR_TMO_VALUE, 2000), VI_SUCCESS);
        }
        return vi;
    }
};

TEST_F(TcpSession, TimeoutAttributeIsReadAsExactlyFourBytes) {
    kvtest::ScriptedPeer peer([](int fd) { kvtest::WaitForClose(fd); });
    const ViSession vi = Open(peer);
    ASSERT_NE(vi, VI_NULL);
    ASSERT_EQ(viSetAttribute(vi, VI_ATTR_TMO_VALUE, 1234), VI_SUCCESS);
    unsigned char value[16];
    std::memset(value, 0xA5, sizeof value);
    ASSERT_EQ(viGetAttribute(vi, VI_ATTR_TMO_VALUE, value), VI_SUCCESS);
    ViUInt32 timeout = 0;
    std::memcpy(&timeout, value, sizeof timeout);
    EXPECT_EQ(timeout, 1234u);
    for (size_t i = sizeof(ViUInt32); i < sizeof value; ++i) EXPECT_EQ(value[i], 0xA5) << i;

    EXPECT_EQ(viClose(vi), VI_SUCCESS);
    EXPECT_TRUE(peer.WaitFinished(1));  // the instrument saw the connection go
    ExpectEveryValidatedExportRefuses(vi);
    EXPECT_EQ(viClose(vi), VI_ERROR_INV_OBJECT);
}

TEST_F(TcpSession, PrintfSendsTheFormatsOwnCharactersOnly) {
    std::promise<std::string> received;
    kvtest::ScriptedPeer peer([&](int fd) {
        char bytes[5] = {};
        const bool ok = kvtest::ReadExactly(fd, bytes, 4);
        received.set_value(ok ? std::string(bytes, 4) : std::string("<read failed>"));
        kvtest::WaitForClose(fd);
    });
    const ViSession vi = Open(peer);
    ASSERT_NE(vi, VI_NULL);
    EXPECT_EQ(viPrintf(vi, "a%d", 42), VI_SUCCESS);
    // A marker after the format shows where the formatted write ended.
    ViUInt32 written = 0;
    EXPECT_EQ(viWrite(vi, reinterpret_cast<ViConstBuf>("|"), 1, &written), VI_SUCCESS);
    EXPECT_EQ(written, 1u);
    auto result = received.get_future();
    EXPECT_EQ(result.get(), "a%d|");
    EXPECT_EQ(viClose(vi), VI_SUCCESS);
}

TEST_F(TcpSession, ScanfWithoutCarriageReturnInTheFormatReadsNothing) {
    kvtest::ScriptedPeer peer([](int fd) {
        const char answer[] = "KORVEL,Z5R\r\n";
        kvtest::WriteAll(fd, answer, sizeof answer - 1);
        kvtest::WaitForClose(fd);
    });
    const ViSession vi = Open(peer);
    ASSERT_NE(vi, VI_NULL);
    char line[64];
    std::memset(line, 'X', sizeof line);
    EXPECT_EQ(viScanf(vi, "%s\n", line), VI_ERROR_INV_EXPR);
    EXPECT_EQ(line[0], 'X');
    // The whole answer is still waiting: the refused call consumed none of it.
    EXPECT_EQ(viScanf(vi, "%s\r\n", line), VI_SUCCESS);
    EXPECT_STREQ(line, "KORVEL,Z5R");
    EXPECT_EQ(viClose(vi), VI_SUCCESS);
}

}  // namespace
