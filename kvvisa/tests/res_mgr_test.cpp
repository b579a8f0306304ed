// The resource manager's session table, the default formatted I/O every
// session inherits, find lists and what Open answers for each kind of name.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base_session.h"
#include "find_list.h"
#include "kvvisa/visa.h"
#include "res_mgr.h"

namespace {

// A session that records what it is asked to write, serves scripted reads and
// notes when it is destroyed.
class ScriptedSession : public kv::CBaseSession {
public:
    struct ReadStep {
        std::string bytes;  // delivered by one Read (at most `count` of them)
        ViStatus status = VI_SUCCESS;
    };

    explicit ScriptedSession(std::vector<int>* destroyed = nullptr, int id = 0)
        : destroyed_(destroyed), id_(id) {}
    ~ScriptedSession() override {
        if (destroyed_ != nullptr) destroyed_->push_back(id_);
    }

    // Each byte of `text` comes from its own successful read.
    void Feed(const std::string& text) {
        for (char c : text) steps_.push_back({std::string(1, c), VI_SUCCESS});
    }
    void FeedStep(std::string bytes, ViStatus status) {
        steps_.push_back({std::move(bytes), status});
    }

    ViStatus Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) override {
        ++reads;
        if (steps_.empty()) {  // nothing more arrives
            *retCount = 0;
            return VI_ERROR_TMO;
        }
        const ReadStep step = steps_.front();
        steps_.pop_front();
        const size_t n = std::min<size_t>(count, step.bytes.size());
        std::memcpy(buf, step.bytes.data(), n);
        *retCount = static_cast<ViUInt32>(n);
        return step.status;
    }
    ViStatus Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 retCount) override {
        written.append(reinterpret_cast<const char*>(buf), count);
        *retCount = count;
        return writeStatus;
    }

    size_t Unread() const { return steps_.size(); }

    std::string written;
    ViStatus writeStatus = VI_SUCCESS;
    int reads = 0;

private:
    std::vector<int>* destroyed_;
    int id_;
    std::deque<ReadStep> steps_;
};

ViStatus CallPrintf(kv::ISession& session, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const ViStatus status = session.Printf(format, args);
    va_end(args);
    return status;
}

ViStatus CallScanf(kv::ISession& session, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const ViStatus status = session.Scanf(format, args);
    va_end(args);
    return status;
}

// ---------------------------------------------------------------- handles

TEST(SessionTable, HandlesAreUniqueAndNeverNullOrTheManagersOwn) {
    kv::CResMgr manager;
    std::set<ViSession> seen;
    std::vector<std::pair<ViSession, kv::ISession*>> given;
    for (int i = 0; i < 200; ++i) {
        auto session = std::make_unique<ScriptedSession>();
        kv::ISession* object = session.get();
        const ViSession handle = manager.Enter(std::move(session));
        EXPECT_NE(handle, VI_NULL);
        EXPECT_NE(handle, kv::CResMgr::kHandle);
        EXPECT_TRUE(seen.insert(handle).second) << "handle given twice: " << handle;
        given.emplace_back(handle, object);
    }
    for (const auto& [handle, object] : given) EXPECT_EQ(manager.Find(handle), object);
    EXPECT_EQ(manager.Find(kv::CResMgr::kHandle), nullptr);
    EXPECT_EQ(manager.Find(VI_NULL), nullptr);
}

TEST(SessionTable, CloseRemovesExactlyOneAndKeepsTheOthersInOrder) {
    std::vector<int> destroyed;
    {
        kv::CResMgr manager;
        std::vector<ViSession> handles;
        for (int id = 0; id < 5; ++id) {
            handles.push_back(manager.Enter(std::make_unique<ScriptedSession>(&destroyed, id)));
        }
        ASSERT_EQ(manager.Close(handles[2]), VI_SUCCESS);
        EXPECT_EQ(destroyed, std::vector<int>{2});
        EXPECT_EQ(manager.SessionCount(), 4u);
        EXPECT_EQ(manager.Find(handles[2]), nullptr);
        for (int id : {0, 1, 3, 4}) EXPECT_NE(manager.Find(handles[id]), nullptr);
        // The manager's destruction closes the rest, last first: the order shows
        // the table kept 0, 1, 3, 4 in that sequence.
    }
    EXPECT_EQ(destroyed, (std::vector<int>{2, 4, 3, 1, 0}));
}

TEST(SessionTable, ClosedHandleStaysInvalid) {
    kv::CResMgr manager;
    const ViSession first = manager.Enter(std::make_unique<ScriptedSession>());
    ASSERT_EQ(manager.Close(first), VI_SUCCESS);
    EXPECT_EQ(manager.Close(first), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(manager.Find(first), nullptr);
    // A new session does not inherit the closed token.
    for (int i = 0; i < 50; ++i) {
        EXPECT_NE(manager.Enter(std::make_unique<ScriptedSession>()), first);
    }
    EXPECT_EQ(manager.Find(first), nullptr);
    EXPECT_EQ(manager.Close(first), VI_ERROR_INV_OBJECT);
}

TEST(SessionTable, CloseOfUnknownNullOrManagerHandleIsInvalidObject) {
    kv::CResMgr manager;
    manager.Enter(std::make_unique<ScriptedSession>());
    EXPECT_EQ(manager.Close(VI_NULL), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(manager.Close(kv::CResMgr::kHandle), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(manager.Close(0xDEADBEEF), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(manager.SessionCount(), 1u);
}

TEST(SessionTable, CloseAllClosesLastFirst) {
    std::vector<int> destroyed;
    kv::CResMgr manager;
    for (int id = 0; id < 4; ++id) manager.Enter(std::make_unique<ScriptedSession>(&destroyed, id));
    manager.CloseAll();
    EXPECT_EQ(destroyed, (std::vector<int>{3, 2, 1, 0}));
    EXPECT_EQ(manager.SessionCount(), 0u);
}

// A layer session closes its inner session while it is being destroyed.
class LayerSession : public kv::CBaseSession {
public:
    LayerSession(kv::CResMgr& manager, ViSession inner, std::vector<int>& destroyed,
                 ViStatus& innerClose)
        : manager_(manager), inner_(inner), destroyed_(destroyed), innerClose_(innerClose) {}
    ~LayerSession() override {
        destroyed_.push_back(100);
        innerClose_ = manager_.Close(inner_);
    }

private:
    kv::CResMgr& manager_;
    ViSession inner_;
    std::vector<int>& destroyed_;
    ViStatus& innerClose_;
};

TEST(SessionTable, SessionMayCloseAnotherHandleWhileBeingClosed) {
    std::vector<int> destroyed;
    ViStatus innerClose = VI_ERROR_SYSTEM_ERROR;
    kv::CResMgr manager;
    const ViSession before = manager.Enter(std::make_unique<ScriptedSession>(&destroyed, 1));
    const ViSession inner = manager.Enter(std::make_unique<ScriptedSession>(&destroyed, 2));
    manager.Enter(std::make_unique<LayerSession>(manager, inner, destroyed, innerClose));

    manager.CloseAll();
    EXPECT_EQ(innerClose, VI_SUCCESS);
    EXPECT_EQ(destroyed, (std::vector<int>{100, 2, 1}));
    EXPECT_EQ(manager.Find(before), nullptr);
    EXPECT_EQ(manager.SessionCount(), 0u);
}

// ------------------------------------------------------ default Printf/Scanf

TEST(DefaultPrintf, WritesExactlyTheFormatsOwnBytes) {
    ScriptedSession session;
    EXPECT_EQ(CallPrintf(session, "*IDN?\n"), VI_SUCCESS);
    EXPECT_EQ(session.written, "*IDN?\n");

    session.written.clear();
    EXPECT_EQ(CallPrintf(session, "%s=%d\r\n", "FREQ", 12), VI_SUCCESS);
    EXPECT_EQ(session.written, "%s=%d\r\n");  // conversions are not interpreted

    session.written.clear();
    EXPECT_EQ(CallPrintf(session, ""), VI_SUCCESS);
    EXPECT_EQ(session.written, "");
}

TEST(DefaultPrintf, ReturnsTheStatusOfTheWrite) {
    ScriptedSession session;
    session.writeStatus = VI_ERROR_CONN_LOST;
    EXPECT_EQ(CallPrintf(session, "abc"), VI_ERROR_CONN_LOST);
    EXPECT_EQ(session.written, "abc");
}

TEST(DefaultScanf, AnyFormatButPercentSCrLfIsRefusedWithoutReading) {
    for (const char* format : {"%s\n", "%s", "%s\r", "%s\r\n ", " %s\r\n", "%S\r\n", "", "%d\r\n"}) {
        SCOPED_TRACE(format);
        ScriptedSession session;
        session.Feed("abc\r\n");
        char line[16];
        std::memset(line, 'X', sizeof line);
        EXPECT_EQ(CallScanf(session, format, line), VI_ERROR_INV_EXPR);
        EXPECT_EQ(session.reads, 0);
        EXPECT_EQ(line[0], 'X');
    }
}

TEST(DefaultScanf, ReadsUpToCrLfAndLeavesTheRestUnread) {
    ScriptedSession session;
    session.Feed("FREQ 10\r\nnext");
    char line[32];
    std::memset(line, 'X', sizeof line);
    EXPECT_EQ(CallScanf(session, "%s\r\n", line), VI_SUCCESS);
    EXPECT_STREQ(line, "FREQ 10");
    EXPECT_EQ(session.reads, 9);
    EXPECT_EQ(session.Unread(), 4u);
}

TEST(DefaultScanf, LoneLineFeedOrCarriageReturnStaysInTheText) {
    const struct {
        const char* input;
        const char* line;
    } cases[] = {
        {"a\nb\r\n", "a\nb"},
        {"a\rb\r\n", "a\rb"},
        {"\r\r\n", "\r"},
        {"\n\r\n", "\n"},
        {"\r\n", ""},
        {"\n\r\r\n", "\n\r"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        ScriptedSession session;
        session.Feed(c.input);
        char line[16];
        std::memset(line, 'X', sizeof line);
        EXPECT_EQ(CallScanf(session, "%s\r\n", line), VI_SUCCESS);
        EXPECT_STREQ(line, c.line);
        EXPECT_EQ(session.Unread(), 0u);
    }
}

TEST(DefaultScanf, FailingReadEndsTheTextAfterTheBytesReceived) {
    ScriptedSession timedOut;
    timedOut.Feed("ab\r");
    timedOut.FeedStep("", VI_ERROR_TMO);
    char line[16];
    std::memset(line, 'X', sizeof line);
    EXPECT_EQ(CallScanf(timedOut, "%s\r\n", line), VI_ERROR_TMO);
    EXPECT_STREQ(line, "ab\r");
    EXPECT_EQ(line[4], 'X');

    // A read that fails but still delivered its byte keeps that byte.
    ScriptedSession lost;
    lost.Feed("ab");
    lost.FeedStep("c", VI_ERROR_CONN_LOST);
    std::memset(line, 'X', sizeof line);
    EXPECT_EQ(CallScanf(lost, "%s\r\n", line), VI_ERROR_CONN_LOST);
    EXPECT_STREQ(line, "abc");
    EXPECT_EQ(line[4], 'X');

    ScriptedSession silent;  // nothing at all arrives
    std::memset(line, 'X', sizeof line);
    EXPECT_EQ(CallScanf(silent, "%s\r\n", line), VI_ERROR_TMO);
    EXPECT_STREQ(line, "");
}

TEST(DefaultScanf, LineFeedArrivingWithAFailureStillEndsTheLine) {
    ScriptedSession session;
    session.Feed("ok\r");
    session.FeedStep("\n", VI_ERROR_CONN_LOST);
    char line[16];
    std::memset(line, 'X', sizeof line);
    EXPECT_EQ(CallScanf(session, "%s\r\n", line), VI_ERROR_CONN_LOST);
    EXPECT_STREQ(line, "ok");
}

// ------------------------------------------------------------ descriptions

constexpr size_t kDescSize = VI_FIND_BUFLEN;
constexpr unsigned char kCanary = 0xA5;

struct GuardedDesc {
    char desc[kDescSize];
    unsigned char canary[64];

    GuardedDesc() {
        std::memset(desc, kCanary, sizeof desc);
        std::memset(canary, kCanary, sizeof canary);
    }
    bool CanaryIntact() const {
        for (unsigned char c : canary) {
            if (c != kCanary) return false;
        }
        return true;
    }
    std::string Name() const { return std::string(desc); }
    std::string Annotation() const { return std::string(desc + std::strlen(desc) + 1); }
};

TEST(WriteDescription, NameZeroAnnotationZero) {
    GuardedDesc out;
    kv::WriteDescription(out.desc, "ASRL3::INSTR", "\tfree\t");
    const char expected[] = "ASRL3::INSTR\0\tfree\t";  // the literal adds the last zero
    EXPECT_EQ(std::memcmp(out.desc, expected, sizeof expected), 0);
    EXPECT_TRUE(out.CanaryIntact());
}

TEST(WriteDescription, EmptyAnnotationStillGetsItsZero) {
    GuardedDesc out;
    kv::WriteDescription(out.desc, "USB::0::0::X::RAW", "");
    EXPECT_EQ(out.Name(), "USB::0::0::X::RAW");
    EXPECT_EQ(out.desc[17], '\0');
    EXPECT_EQ(out.desc[18], '\0');
}

TEST(WriteDescription, LongEntriesAreCutAtTheBufferEnd) {
    const std::string shortName = "TCPIP0::10.0.0.5::8888::SOCKET";
    const std::string longName = "TCPIP0::" + std::string(400, 'h') + "::8888::SOCKET";
    const std::string longAnnotation = "\t" + std::string(1000, 'r');

    {
        SCOPED_TRACE("long annotation");
        GuardedDesc out;
        kv::WriteDescription(out.desc, shortName, longAnnotation);
        EXPECT_EQ(out.Name(), shortName);
        const std::string annotation = out.Annotation();
        EXPECT_EQ(annotation, longAnnotation.substr(0, kDescSize - shortName.size() - 2));
        EXPECT_EQ(out.desc[kDescSize - 1], '\0');
        EXPECT_TRUE(out.CanaryIntact());
    }
    {
        SCOPED_TRACE("long name");
        GuardedDesc out;
        kv::WriteDescription(out.desc, longName, "\tanything");
        EXPECT_EQ(out.Name(), longName.substr(0, out.Name().size()));
        EXPECT_LE(out.Name().size(), kDescSize - 2);
        EXPECT_EQ(out.desc[kDescSize - 1], '\0');
        EXPECT_TRUE(out.CanaryIntact());
    }
    {
        SCOPED_TRACE("exactly filling");
        GuardedDesc out;
        const std::string name(200, 'n');
        const std::string annotation = "\t" + std::string(53, 'a');  // 200 + 1 + 54 + 1 = 256
        kv::WriteDescription(out.desc, name, annotation);
        EXPECT_EQ(out.Name(), name);
        EXPECT_EQ(out.Annotation(), annotation);
        EXPECT_TRUE(out.CanaryIntact());
    }
}

TEST(WriteDescription, NullBufferIsLeftAlone) {
    kv::WriteDescription(nullptr, "ASRL1::INSTR", "\tfree\t");  // must not crash
}

// --------------------------------------------------------------- find list

TEST(FindList, AppendSplitsAtTheFirstTabAndTheAnnotationKeepsIt) {
    kv::CSessionFindList list;
    list.Append("ASRL3::INSTR\tfree\t");
    list.Append("USB::0::0::FT1::RAW\t\tBridge\tA");
    list.Append("TCPIP0::h::8888::SOCKET");
    list.Append("\tonly annotation");
    list.Append("");
    ASSERT_EQ(list.Count(), 5u);
    EXPECT_EQ(list.Name(0), "ASRL3::INSTR");
    EXPECT_EQ(list.Annotation(0), "\tfree\t");
    EXPECT_EQ(list.Name(1), "USB::0::0::FT1::RAW");
    EXPECT_EQ(list.Annotation(1), "\t\tBridge\tA");
    EXPECT_EQ(list.Name(2), "TCPIP0::h::8888::SOCKET");
    EXPECT_EQ(list.Annotation(2), "");
    EXPECT_EQ(list.Name(3), "");
    EXPECT_EQ(list.Annotation(3), "\tonly annotation");
    EXPECT_EQ(list.Name(4), "");
    EXPECT_EQ(list.Annotation(4), "");
}

TEST(FindList, FindNextDeliversEachFurtherEntryAndFlagsTheLast) {
    kv::CSessionFindList list;
    list.Append("ASRL1::INSTR\tbusy\t");
    list.Append("ASRL2::INSTR\tfree\t");
    list.Append("ASRL3::INSTR\tfree\t");

    GuardedDesc second;
    EXPECT_EQ(list.FindNext(second.desc), VI_SUCCESS);
    EXPECT_EQ(second.Name(), "ASRL2::INSTR");
    EXPECT_EQ(second.Annotation(), "\tfree\t");

    GuardedDesc third;
    EXPECT_EQ(list.FindNext(third.desc), VI_ERROR_RSRC_NFOUND);  // delivered, and the last
    EXPECT_EQ(third.Name(), "ASRL3::INSTR");

    GuardedDesc past;
    EXPECT_EQ(list.FindNext(past.desc), VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(static_cast<unsigned char>(past.desc[0]), kCanary);  // nothing written
    EXPECT_EQ(list.FindNext(past.desc), VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(static_cast<unsigned char>(past.desc[0]), kCanary);
}

TEST(FindList, SingleEntryListHasNothingNext) {
    kv::CSessionFindList list;
    list.Append("ASRL1::INSTR\tfree\t");
    GuardedDesc out;
    EXPECT_EQ(list.FindNext(out.desc), VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(static_cast<unsigned char>(out.desc[0]), kCanary);
}

TEST(FindList, AnswersConnectAndAttributesAsAListDoes) {
    kv::CSessionFindList list;
    ViUInt32 value = 0x5A5A5A5A;
    EXPECT_EQ(list.Connect("x", VI_NULL, 0), VI_SUCCESS);
    EXPECT_EQ(list.Disconnect(), VI_SUCCESS);
    EXPECT_EQ(list.SetAttribute(VI_ATTR_TMO_VALUE, 5), VI_ERROR_NSUP_ATTR);
    EXPECT_EQ(list.GetAttribute(VI_ATTR_TMO_VALUE, &value), VI_ERROR_NSUP_ATTR);
    EXPECT_EQ(value, 0x5A5A5A5Au);
    ViUInt32 count = 0;
    EXPECT_EQ(list.Read(nullptr, 0, &count), VI_ERROR_NIMPL_OPER);
}

// ------------------------------------------------------------ ParseRsrc/Open

TEST(ParseRsrc, WritesTypeNumberClassAndNameButNotTheAlias) {
    kv::CResMgr manager;
    ViUInt16 type = 0xFFFF, number = 0xFFFF;
    char rsrcClass[VI_FIND_BUFLEN], expanded[VI_FIND_BUFLEN], alias[VI_FIND_BUFLEN];
    std::memset(alias, 'Q', sizeof alias);
    ASSERT_EQ(manager.ParseRsrc("tcpip3::Host::500::socket::SA", &type, &number, rsrcClass,
                                expanded, alias),
              VI_SUCCESS);
    EXPECT_EQ(type, VI_INTF_TCPIP);
    EXPECT_EQ(number, 0);  // the board number is never reported
    EXPECT_STREQ(rsrcClass, "SOCKET");
    EXPECT_STREQ(expanded, "tcpip3::Host::500::socket::SA");
    EXPECT_EQ(alias[0], 'Q');

    EXPECT_EQ(manager.ParseRsrc("ASRL1::INSTR", nullptr, nullptr, nullptr, nullptr, nullptr),
              VI_SUCCESS);
}

TEST(ParseRsrc, RejectionWritesNothing) {
    kv::CResMgr manager;
    for (const char* name : {"COM1::INSTR", "TCPIP::h::0::SOCKET", "", "ASRL1"}) {
        SCOPED_TRACE(name);
        ViUInt16 type = 0xFFFF, number = 0xFFFF;
        char rsrcClass[8], expanded[8];
        std::memset(rsrcClass, 'Q', sizeof rsrcClass);
        std::memset(expanded, 'Q', sizeof expanded);
        EXPECT_EQ(manager.ParseRsrc(name, &type, &number, rsrcClass, expanded, nullptr),
                  VI_ERROR_INV_RSRC_NAME);
        EXPECT_EQ(type, 0xFFFF);
        EXPECT_EQ(number, 0xFFFF);
        EXPECT_EQ(rsrcClass[0], 'Q');
        EXPECT_EQ(expanded[0], 'Q');
    }
    EXPECT_EQ(manager.ParseRsrc(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
              VI_ERROR_INV_RSRC_NAME);
}

TEST(ParseRsrc, VeryLongNameDoesNotOverrunTheExpandedNameBuffer) {
    kv::CResMgr manager;
    const std::string name = "TCPIP::" + std::string(1000, 'h') + "::80::SOCKET";
    GuardedDesc expanded;
    ASSERT_EQ(manager.ParseRsrc(name.c_str(), nullptr, nullptr, nullptr, expanded.desc, nullptr),
              VI_SUCCESS);
    EXPECT_TRUE(expanded.CanaryIntact());
    EXPECT_EQ(expanded.Name(), name.substr(0, expanded.Name().size()));
}

struct OpenCase {
    const char* name;
    ViStatus status;
};

// None of these reach the network or a serial port: the map names no port,
// the layers they need are not part of the library, or the name is refused
// first. (USB names: the USB tests, with their scripted D2XX library.)
TEST(Open, EachKindOfNameGetsItsStatusAndNothingEntersTheTable) {
    const auto map = std::filesystem::temp_directory_path() /
                     ("kvvisa-no-ports-" + std::to_string(getpid()) + ".conf");
    std::ofstream(map) << "default = off\n";
    setenv("KVVISA_SERIAL_PORTS", map.c_str(), 1);
    const OpenCase cases[] = {
        {"ASRL1::INSTR", VI_ERROR_RSRC_NFOUND},
        {"ASRL1::INSTR::hook", VI_ERROR_RSRC_NFOUND},  // not a monitor: case matters
        // No protocol library beside this program nor on its search path.
        {"ASRL1::INSTR::TCS", VI_ERROR_LIBRARY_NFOUND},
        {"TCPIP::127.0.0.1::1::SOCKET::TCS", VI_ERROR_LIBRARY_NFOUND},
        {"TCPIP::127.0.0.1::1::SOCKET::SA", VI_ERROR_LIBRARY_NFOUND},
        {"ASRL1::INSTR::SA", VI_ERROR_INV_RSRC_NAME},
        {"USB::0::0::A1B2::RAW::SA", VI_ERROR_INV_RSRC_NAME},
        {"COM1::INSTR", VI_ERROR_INV_RSRC_NAME},
        {"TCPIP::127.0.0.1::0::SOCKET", VI_ERROR_INV_RSRC_NAME},
        {"TCPIP::127.0.0.1::500", VI_ERROR_INV_RSRC_NAME},
        {"ASRL:1::INSTR::HOOK", VI_ERROR_INV_RSRC_NAME},
        {"HOOK", VI_ERROR_INV_RSRC_NAME},
        {"", VI_ERROR_INV_RSRC_NAME},
    };
    kv::CResMgr manager;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ViSession vi = VI_NULL;
        EXPECT_EQ(manager.Open(c.name, VI_NULL, 0, &vi), c.status);
        EXPECT_EQ(manager.Find(vi), nullptr);
        EXPECT_EQ(manager.SessionCount(), 0u);
    }
    ViSession vi = VI_NULL;
    EXPECT_EQ(manager.Open(nullptr, VI_NULL, 0, &vi), VI_ERROR_INV_RSRC_NAME);
    EXPECT_EQ(manager.SessionCount(), 0u);    unsetenv("KVVISA_SERIAL_PORTS");
    std::filesystem::remove(map);
}

TEST(Open, HookSuffixOpensAMonitorWithoutTheApplication) {
    kv::CResMgr manager;
    ViSession vi = VI_NULL;
    ASSERT_EQ(manager.Open("ASRL7::INSTR::HOOK", VI_NULL, 0, &vi), VI_SUCCESS);
    ASSERT_NE(manager.Find(vi), nullptr);
    EXPECT_EQ(manager.SessionCount(), 1u);
    EXPECT_EQ(manager.Close(vi), VI_SUCCESS);
    EXPECT_EQ(manager.SessionCount(), 0u);
}

}  // namespace
