// Serial sessions on real pseudo-terminals: the map points ASRL<n> at a
// pty's slave, the test plays the instrument on its master.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "find_list.h"
#include "kvvisa/visa.h"
#include "res_mgr.h"
#include "session_asrl.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr ViUInt32 kShortTimeoutMs = 200;
constexpr ViUInt32 kPatientTimeoutMs = 5000;
constexpr kv::SerialPortNumber kPort = 7;
constexpr char kResource[] = "ASRL7::INSTR";

Bytes Pattern(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

// A pseudo-terminal pair; the master is the instrument's end.
class Pty {
public:
    Pty() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) slave_ = ptsname(master_);
    }
    ~Pty() { CloseMaster(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    const std::string& Slave() const { return slave_; }
    int Master() const { return master_; }
    void CloseMaster() {
        if (master_ >= 0) close(master_);
        master_ = -1;
    }
    void Send(const Bytes& bytes) const {
        ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Everything waiting on the master now, or until `count` have come.
    Bytes Drain(std::size_t count = SIZE_MAX, int waitMs = 0) const {
        Bytes got;
        std::uint8_t chunk[4096];
        while (got.size() < count) {
            pollfd pfd{master_, POLLIN, 0};
            if (poll(&pfd, 1, waitMs) <= 0 || (pfd.revents & POLLIN) == 0) break;
            const ssize_t n = read(master_, chunk, std::min(sizeof chunk, count - got.size()));
            if (n <= 0) break;
            got.insert(got.end(), chunk, chunk + n);
        }
        return got;
    }
    // The slave's line settings, as the master sees them.
    termios Settings() const {
        termios settings{};
        EXPECT_EQ(tcgetattr(master_, &settings), 0);
        return settings;
    }

private:
    int master_ = -1;
    std::string slave_;
};

kv::SerialPortMap MapTo(const std::string& device) {
    return kv::ParseSerialPortMap("default = off\nASRL" + std::to_string(kPort) + " = " + device +
                                  "\nASRL8 = /dev/kvvisa-no-such-device\n");
}

class SerialSession : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(pty_.Slave().empty()) << "no pseudo-terminal"; }
    std::unique_ptr<kv::CSessionASRL> Opened(ViUInt32 timeoutMs) {
        auto session = std::make_unique<kv::CSessionASRL>(MapTo(pty_.Slave()));
        EXPECT_EQ(session->Connect(kResource, VI_NULL, timeoutMs), VI_SUCCESS);
        return session;
    }
    template <typename T>
    T Get(kv::CSessionASRL& session, ViAttr attr) {
        T value{};
        EXPECT_EQ(session.GetAttribute(attr, &value), VI_SUCCESS);
        return value;
    }
    Pty pty_;
};

TEST_F(SerialSession, ConnectSetsTheStandardFraming) {
    auto session = Opened(kShortTimeoutMs);
    const termios settings = pty_.Settings();
    EXPECT_EQ(cfgetospeed(&settings), B9600);
    EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(settings.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | INPCK | ICRNL), 0u);
    EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(settings.c_oflag & OPOST, 0u);
    EXPECT_EQ(settings.c_cc[VSTART], 0x11);
    EXPECT_EQ(settings.c_cc[VSTOP], 0x13);
    EXPECT_EQ(Get<ViUInt32>(*session, VI_ATTR_TMO_VALUE), kShortTimeoutMs);
}

struct AttributeCase {
    ViAttr attr;
    ViAttrState value;
    ViStatus status;    // a pseudo-terminal has no parity and only 8 data bits
    tcflag_t mask;      // the control flags it touches
    tcflag_t expected;  // their value on the line afterwards
};

class SerialAttribute : public SerialSession, public testing::WithParamInterface<AttributeCase> {};

TEST_P(SerialAttribute, ReachesTheLineAndReadsBack) {
    const AttributeCase& c = GetParam();
    auto session = Opened(kShortTimeoutMs);
    const bool narrow = c.attr == VI_ATTR_ASRL_DATA_BITS || c.attr == VI_ATTR_ASRL_PARITY ||
                        c.attr == VI_ATTR_ASRL_STOP_BITS;
    const std::size_t width = narrow ? sizeof(ViUInt16) : sizeof(ViUInt32);
    ViUInt32 before = 0;
    ASSERT_EQ(session->GetAttribute(c.attr, &before), VI_SUCCESS);

    ASSERT_EQ(session->SetAttribute(c.attr, c.value), c.status);
    EXPECT_EQ(pty_.Settings().c_cflag & c.mask, c.expected);
    // The value comes back in the attribute's own width, nothing written past
    // it; a refused value is not kept.
    unsigned char out[8];
    std::fill(std::begin(out), std::end(out), 0xA5);
    ASSERT_EQ(session->GetAttribute(c.attr, out), VI_SUCCESS);
    ViUInt32 value = 0;
    std::memcpy(&value, out, width);
    EXPECT_EQ(value, c.status == VI_SUCCESS ? c.value : (before & (narrow ? 0xFFFFu : ~0u)));
    EXPECT_EQ(out[width], 0xA5);
}

constexpr tcflag_t kParityFlags = PARENB | PARODD | CMSPAR;

INSTANTIATE_TEST_SUITE_P(
    Framing, SerialAttribute,
    testing::Values(AttributeCase{VI_ATTR_ASRL_BAUD, 115200, VI_SUCCESS, CBAUD, B115200},
                    AttributeCase{VI_ATTR_ASRL_BAUD, 12345, VI_ERROR_RSRC_NFOUND, CBAUD, B9600},
                    AttributeCase{VI_ATTR_ASRL_DATA_BITS, 8, VI_SUCCESS, CSIZE, CS8},
                    AttributeCase{VI_ATTR_ASRL_DATA_BITS, 7, VI_ERROR_RSRC_NFOUND, CSIZE, CS8},
                    AttributeCase{VI_ATTR_ASRL_DATA_BITS, 9, VI_ERROR_RSRC_NFOUND, CSIZE, CS8},
                    AttributeCase{VI_ATTR_ASRL_PARITY, VI_ASRL_PAR_EVEN, VI_ERROR_RSRC_NFOUND, kParityFlags, 0},
                    AttributeCase{VI_ATTR_ASRL_PARITY, VI_ASRL_PAR_NONE, VI_SUCCESS, kParityFlags, 0},
                    AttributeCase{VI_ATTR_ASRL_PARITY, 9, VI_SUCCESS, kParityFlags, 0},
                    AttributeCase{VI_ATTR_ASRL_STOP_BITS, VI_ASRL_STOP_TWO, VI_SUCCESS, CSTOPB, CSTOPB},
                    AttributeCase{VI_ATTR_ASRL_STOP_BITS, VI_ASRL_STOP_ONE5, VI_SUCCESS, CSTOPB, CSTOPB},
                    AttributeCase{VI_ATTR_ASRL_STOP_BITS, 11, VI_SUCCESS, CSTOPB, 0},
                    AttributeCase{VI_ATTR_TMO_VALUE, 1234, VI_SUCCESS, 0, 0}));

TEST_F(SerialSession, FlowCharactersAreOneByteAndReachTheLine) {
    auto session = Opened(kShortTimeoutMs);
    ASSERT_EQ(session->SetAttribute(VI_ATTR_ASRL_XON_CHAR, 0x21), VI_SUCCESS);
    ASSERT_EQ(session->SetAttribute(VI_ATTR_ASRL_XOFF_CHAR, 0x23), VI_SUCCESS);
    EXPECT_EQ(pty_.Settings().c_cc[VSTART], 0x21);
    EXPECT_EQ(pty_.Settings().c_cc[VSTOP], 0x23);
    ViUInt8 chars[2] = {0, 0xA5};
    ASSERT_EQ(session->GetAttribute(VI_ATTR_ASRL_XOFF_CHAR, chars), VI_SUCCESS);
    EXPECT_EQ(chars[0], 0x23);
    EXPECT_EQ(chars[1], 0xA5);
}

TEST_F(SerialSession, OnlyTheSerialAttributesAndOnlyOnAnOpenPort) {
    auto session = Opened(kShortTimeoutMs);
    EXPECT_EQ(session->SetAttribute(VI_ATTR_ASRL_FLOW_CNTRL, 0), VI_ERROR_NSUP_ATTR);
    ViUInt32 value = 0;
    EXPECT_EQ(session->GetAttribute(VI_ATTR_ASRL_FLOW_CNTRL, &value), VI_ERROR_NSUP_ATTR);
    kv::CSessionASRL closed(MapTo(pty_.Slave()));
    EXPECT_EQ(closed.SetAttribute(VI_ATTR_TMO_VALUE, 5), VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(closed.Flush(VI_READ_BUF), VI_ERROR_CONN_LOST);
}

// Even parity on a line that has it is the same path; a pseudo-terminal
// takes two stop bits, not parity.
TEST_F(SerialSession, ClearRestoresTheConnectFramingAndKeepsTheStoredValues) {
    auto session = Opened(kShortTimeoutMs);
    ASSERT_EQ(session->SetAttribute(VI_ATTR_ASRL_STOP_BITS, VI_ASRL_STOP_TWO), VI_SUCCESS);
    ASSERT_EQ(session->SetAttribute(VI_ATTR_ASRL_XON_CHAR, 0x21), VI_SUCCESS);
    ASSERT_EQ(session->SetAttribute(VI_ATTR_ASRL_BAUD, 19200), VI_SUCCESS);
    ASSERT_EQ(session->Clear(), VI_SUCCESS);
    const termios settings = pty_.Settings();
    EXPECT_EQ(settings.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(settings.c_cc[VSTART], 0x11);
    EXPECT_EQ(cfgetospeed(&settings), B19200);  // the stored baud rate is kept
    EXPECT_EQ(Get<ViUInt16>(*session, VI_ATTR_ASRL_STOP_BITS), VI_ASRL_STOP_TWO);
    EXPECT_EQ(Get<ViUInt8>(*session, VI_ATTR_ASRL_XON_CHAR), 0x21);
}

TEST_F(SerialSession, OpenTimeOutZeroMeansNoWaiting) {
    auto session = Opened(0);
    EXPECT_EQ(Get<ViUInt32>(*session, VI_ATTR_TMO_VALUE), 0u);
    pty_.Send({1, 2, 3});
    Bytes buf(10);
    ViUInt32 got = 99;
    // What is there is delivered; the rest is not waited for.
    for (int attempt = 0; attempt < 100 && got != 3; ++attempt) {
        Bytes more(10);
        ViUInt32 n = 0;
        EXPECT_EQ(session->Read(more.data(), 10, &n), VI_ERROR_TMO);
        got = n;
        if (n == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(got, 3u);
}

TEST_F(SerialSession, ShortReadTimesOutWithWhatArrived) {
    auto session = Opened(kShortTimeoutMs);
    const Bytes sent = Pattern(40);
    pty_.Send(sent);
    Bytes buf(100);
    ViUInt32 got = 0;
    EXPECT_EQ(session->Read(buf.data(), 100, &got), VI_ERROR_TMO);
    ASSERT_EQ(got, 40u);
    EXPECT_EQ(Bytes(buf.begin(), buf.begin() + 40), sent);
}

TEST_F(SerialSession, ExactReadAndZeroCount) {
    auto session = Opened(kPatientTimeoutMs);
    const Bytes sent = Pattern(300);
    std::thread instrument([&] {
        for (std::size_t at = 0; at < sent.size(); at += 100) {
            pty_.Send(Bytes(sent.begin() + at, sent.begin() + at + 100));
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    Bytes buf(300);
    ViUInt32 got = 0;
    EXPECT_EQ(session->Read(buf.data(), 300, &got), VI_SUCCESS);
    instrument.join();
    EXPECT_EQ(got, 300u);
    EXPECT_EQ(buf, sent);
    EXPECT_EQ(session->Read(buf.data(), 0, &got), VI_SUCCESS);
    EXPECT_EQ(got, 0u);
}

TEST_F(SerialSession, LongWriteArrivesWhole) {
    auto session = Opened(kPatientTimeoutMs);
    const Bytes sent = Pattern(150000);  // three pieces
    Bytes received;
    std::thread instrument([&] { received = pty_.Drain(sent.size(), 2000); });
    ViUInt32 put = 0;
    EXPECT_EQ(session->Write(sent.data(), static_cast<ViUInt32>(sent.size()), &put), VI_SUCCESS);
    instrument.join();
    EXPECT_EQ(put, sent.size());
    EXPECT_EQ(received, sent);
}

TEST_F(SerialSession, StalledWriteReportsTheBytesThatLeft) {
    auto session = Opened(kShortTimeoutMs);
    const Bytes sent = Pattern(150000);
    ViUInt32 put = 0;
    // Nobody reads the master: the line's buffer fills and the write times out.
    EXPECT_EQ(session->Write(sent.data(), static_cast<ViUInt32>(sent.size()), &put), VI_ERROR_TMO);
    EXPECT_LT(put, sent.size());
    const Bytes arrived = pty_.Drain();
    EXPECT_EQ(arrived.size(), put);
    EXPECT_EQ(arrived, Bytes(sent.begin(), sent.begin() + arrived.size()));
}

TEST_F(SerialSession, FlushDropsWaitingInput) {
    auto session = Opened(kShortTimeoutMs);
    pty_.Send({9, 9, 9});
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(session->Flush(0xFFFF), VI_SUCCESS);
    std::uint8_t byte = 0;
    ViUInt32 got = 7;
    EXPECT_EQ(session->Read(&byte, 1, &got), VI_ERROR_TMO);
    EXPECT_EQ(got, 0u);
}

TEST_F(SerialSession, LineGoneMidTransferIsConnectionLost) {
    auto session = Opened(kPatientTimeoutMs);
    pty_.Send(Pattern(30));
    std::thread unplug([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        pty_.CloseMaster();
    });
    Bytes buf(100);
    ViUInt32 got = 0;
    EXPECT_EQ(session->Read(buf.data(), 100, &got), VI_ERROR_CONN_LOST);
    unplug.join();
    EXPECT_LE(got, 30u);
    // The next transfer tries the port again once, and finds it gone.
    EXPECT_EQ(session->Write(buf.data(), 1, &got), VI_ERROR_CONN_LOST);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(session->Clear(), VI_ERROR_CONN_LOST);
}

TEST_F(SerialSession, HungUpLineIsReopenedByTheNextTransfer) {
    auto session = Opened(kShortTimeoutMs);
    {
        const int other = open(pty_.Slave().c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(other, 0);
        ASSERT_EQ(ioctl(other, TIOCVHANGUP), 0) << "hanging a line up needs the superuser";
        close(other);
    }
    const Bytes sent = Pattern(5);
    ViUInt32 put = 0;
    EXPECT_EQ(session->Write(sent.data(), 5, &put), VI_SUCCESS);
    EXPECT_EQ(put, 5u);
    EXPECT_EQ(pty_.Drain(5, 1000), sent);
    EXPECT_EQ(pty_.Settings().c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
}

struct OpenCase {
    const char* resource;
    ViStatus status;
};

class SerialOpen : public SerialSession, public testing::WithParamInterface<OpenCase> {};

TEST_P(SerialOpen, FindsOnlyMappedDevicesThatExist) {
    kv::CSessionASRL session(MapTo(pty_.Slave()));
    EXPECT_EQ(session.Connect(GetParam().resource, VI_NULL, kShortTimeoutMs), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SerialOpen,
    testing::Values(OpenCase{"ASRL7::INSTR", VI_SUCCESS}, OpenCase{"asrl07::instr", VI_SUCCESS},
                    OpenCase{"ASRL8::INSTR", VI_ERROR_RSRC_NFOUND},
                    OpenCase{"ASRL1::INSTR", VI_ERROR_RSRC_NFOUND},
                    OpenCase{"ASRL::INSTR", VI_ERROR_RSRC_NFOUND},
                    OpenCase{"ASRL00000000000000000007::INSTR", VI_SUCCESS},
                    OpenCase{"ASRL18446744073709551623::INSTR", VI_ERROR_RSRC_NFOUND}));

// Lists what a serial search finds, one entry a line.
std::vector<std::string> Search(kv::CSessionASRL& session, const char* expression) {
    kv::CSessionFindList list;
    ViUInt32 count = 0;
    ViChar desc[VI_FIND_BUFLEN] = {};
    session.FindRsrc(expression, &list, nullptr, &count, desc);
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < list.Count(); ++i) entries.push_back(list.Name(i) + list.Annotation(i));
    EXPECT_EQ(count, entries.size());
    return entries;
}

TEST_F(SerialSession, PortHeldElsewhereIsListedBusyAndRefused) {
    kv::CSessionASRL session(MapTo(pty_.Slave()));
    EXPECT_EQ(Search(session, ""), std::vector<std::string>{"ASRL7::INSTR\tfree\t"});
    {
        // Another program holds the port the usual way: an exclusive lock.
        const int other = open(pty_.Slave().c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(other, 0);
        ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
        EXPECT_EQ(Search(session, "ASRL"), std::vector<std::string>{"ASRL7::INSTR\tbusy\t"});
        EXPECT_EQ(session.Connect(kResource, VI_NULL, kShortTimeoutMs), VI_ERROR_RSRC_NFOUND);
        close(other);
    }
    EXPECT_EQ(session.Connect(kResource, VI_NULL, kShortTimeoutMs), VI_SUCCESS);
    // Our own open session holds it too.
    kv::CSessionASRL second(MapTo(pty_.Slave()));
    EXPECT_EQ(Search(second, ""), std::vector<std::string>{"ASRL7::INSTR\tbusy\t"});
    EXPECT_EQ(second.Connect(kResource, VI_NULL, kShortTimeoutMs), VI_ERROR_RSRC_NFOUND);
    EXPECT_TRUE(Search(second, "TCPIP").empty());
}

TEST_F(SerialSession, TheResourceManagerOpensMappedPortsThroughTheMapFile) {
    const auto map = std::filesystem::temp_directory_path() /
                     ("kvvisa-serial-" + std::to_string(getpid()) + ".conf");
    std::ofstream(map) << "default = off\nASRL7 = " << pty_.Slave() << "\n";
    setenv("KVVISA_SERIAL_PORTS", map.c_str(), 1);
    kv::CResMgr manager;
    ViSession vi = VI_NULL;
    ASSERT_EQ(manager.Open(kResource, VI_NULL, kShortTimeoutMs, &vi), VI_SUCCESS);
    const Bytes sent = Pattern(12);
    ViUInt32 put = 0;
    EXPECT_EQ(manager.Call(vi, [&](kv::ISession& s) { return s.Write(sent.data(), 12, &put); }),
              VI_SUCCESS);
    EXPECT_EQ(pty_.Drain(12, 1000), sent);
    ViSession other = VI_NULL;
    EXPECT_EQ(manager.Open("ASRL8::INSTR", VI_NULL, kShortTimeoutMs, &other), VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(manager.Close(vi), VI_SUCCESS);
    unsetenv("KVVISA_SERIAL_PORTS");
    std::filesystem::remove(map);
}

}  // namespace
