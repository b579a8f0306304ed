// The driver against scripted instruments: what goes on the wire, and how
// every kind of wrong or missing answer turns into a result code and an
// error-queue entry without a crash or a hang.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <mutex>
#include <utility>

#include "kvproto/instrument_map.h"
#include "support/driver_factory.h"
#include "support/packet_peer.h"

namespace {

using namespace korvel;
using drvtest::Bytes;
using drvtest::CPacketPeer;
using drvtest::Part;
using drvtest::SRequest;
using F = kvproto::EInstrumentField;

constexpr const char* kOptions = "GENERATOR, Timeout=200";

const kvproto::SInstrumentField& Row(F field) { return kvproto::InstrumentField(field); }

bool Is(const SRequest& request, std::uint16_t command, F field) {
    return request.header.command == command && request.param == Row(field).param &&
           !request.values.empty() && request.values.front() == Row(field).index;
}

std::uint32_t Code(std::int32_t code) { return static_cast<std::uint32_t>(code); }

// An instrument whose answers a test can spoil one at a time: `fault`
// answers the next request matching `field` instead of the plain answer.
class ScriptedDriver : public ::testing::Test {
protected:
    ScriptedDriver()
        : peer_([this](const SRequest& request) -> std::optional<Bytes> {
              std::unique_lock lock(faultMutex_);
              if (fault_ && Is(request, request.header.command, faultField_)) {
                  const drvtest::Responder fault = std::exchange(fault_, nullptr);
                  lock.unlock();
                  return fault(request);
              }
              lock.unlock();
              return drvtest::PlainSynthesizer(request, value_.load());
          }) {}

    void Open(const char* options = kOptions) {
        ASSERT_EQ(driver_->Initialize(peer_.Resource(), 0, 0, options), S_OK);
    }
    void SpoilNext(F field, drvtest::Responder fault) {
        std::lock_guard lock(faultMutex_);
        faultField_ = field;
        fault_ = std::move(fault);
    }
    std::size_t RequestCount() const { return peer_.Requests().size(); }
    std::pair<std::uint32_t, std::string> NextError() {
        ComPtr<IIviDriverUtility> utility = Part<IIviDriverUtility>(driver_, &IKorvelV8N::get_Utility);
        std::int32_t code = 12345;
        std::string message = "stale";
        EXPECT_EQ(utility->ErrorQuery(&code, &message), S_OK);
        return {Code(code), message};
    }

    std::atomic<double> value_{0};
    std::mutex faultMutex_;
    F faultField_ = F::CwFrequency;
    drvtest::Responder fault_;
    CPacketPeer peer_;
    ComPtr<IKorvelV8N> driver_ = drvtest::CreateDriver();
};

// ------------------------------------------------------------ Initialize

TEST_F(ScriptedDriver, InitializeAsksTheTypeResetsOnRequestAndReadsThePulseOption) {
    ASSERT_EQ(driver_->Initialize(peer_.Resource(), 1, 1, kOptions), S_OK);
    VARIANT_BOOL initialized = 0;
    EXPECT_EQ(driver_->get_Initialized(&initialized), S_OK);
    EXPECT_EQ(initialized, 1);
    const auto requests = peer_.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_TRUE(Is(requests[0], kvproto::KV_GET, F::InstrumentType));
    EXPECT_EQ(requests[1].header.command, kvproto::KV_RESET);
    EXPECT_EQ(requests[1].header.bodyLen, 0);
    EXPECT_TRUE(Is(requests[2], kvproto::KV_GET, F::HasPulseModulation));

    // Again: the first connection is closed before the second is opened.
    ASSERT_EQ(driver_->Initialize(peer_.Resource(), 0, 0, kOptions), S_OK);
    EXPECT_TRUE(peer_.Peer().WaitFinished(1));
    EXPECT_EQ(RequestCount(), 5u);  // no reset this time
}

TEST_F(ScriptedDriver, OnlyTheGeneratorPersonalityAcceptsASynthesizer) {
    EXPECT_EQ(driver_->Initialize(peer_.Resource(), 0, 0, ""), KORVEL_E_UNSUPPORTED_INSTRUMENT);
    EXPECT_EQ(driver_->Initialize(peer_.Resource(), 0, 0, "timeout=500"),
              KORVEL_E_UNSUPPORTED_INSTRUMENT);
    VARIANT_BOOL initialized = 1;
    EXPECT_EQ(driver_->get_Initialized(&initialized), S_OK);
    EXPECT_EQ(initialized, 0);

    // Another instrument type is refused whatever the personality.
    SpoilNext(F::InstrumentType, [](const SRequest& r) { return drvtest::AnswerTo(r, 0, {0, 3}); });
    EXPECT_EQ(driver_->Initialize(peer_.Resource(), 0, 0, kOptions), KORVEL_E_UNSUPPORTED_INSTRUMENT);
    // So is something that does not know the question.
    SpoilNext(F::InstrumentType, [](const SRequest& r) { return drvtest::AnswerTo(r, -32766, {}); });
    EXPECT_EQ(driver_->Initialize(peer_.Resource(), 0, 0, kOptions), KORVEL_E_UNSUPPORTED_INSTRUMENT);
    EXPECT_EQ(RequestCount(), 4u);  // one question each, nothing after
}

TEST_F(ScriptedDriver, UnknownOptionsAreRefusedBeforeConnecting) {
    EXPECT_EQ(driver_->Initialize(peer_.Resource(), 0, 0, "GENERATOR,QueryInstrStatus=true"),
              E_INVALIDARG);
    EXPECT_EQ(peer_.Connections(), 0);
}

// A port of 127.0.0.1 held but not listened on: connecting is refused.
class CRefusingPort {
public:
    CRefusingPort() : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port_ = ntohs(address.sin_port);
        }
    }
    ~CRefusingPort() {
        if (fd_ >= 0) close(fd_);
    }
    std::string Resource() const {
        return "TCPIP::127.0.0.1::" + std::to_string(port_) + "::SOCKET";
    }

private:
    int fd_;
    std::uint16_t port_ = 0;
};

TEST(ScriptedDriverStartup, NobodyListeningOrNobodyAnsweringIsInstrumentNotFound) {
    ComPtr<IKorvelV8N> driver = drvtest::CreateDriver();
    const CRefusingPort refusing;
    EXPECT_EQ(driver->Initialize(refusing.Resource(), 0, 0, kOptions), KORVEL_E_INSTRUMENT_NOT_FOUND);
    ComPtr<IIviDriverUtility> utility = Part<IIviDriverUtility>(driver, &IKorvelV8N::get_Utility);
    std::int32_t code = 0;
    std::string message;
    EXPECT_EQ(utility->ErrorQuery(&code, &message), S_OK);
    EXPECT_EQ(Code(code), 0xBFFF0011u) << message;  // resource not found
    EXPECT_EQ(utility->ErrorQuery(&code, &message), KORVEL_E_NOT_INITIALIZED);
    EXPECT_EQ(code, 0);

    CPacketPeer silent([](const SRequest&) { return Bytes{}; });
    EXPECT_EQ(driver->Initialize(silent.Resource(), 0, 0, kOptions), KORVEL_E_INSTRUMENT_NOT_FOUND);
    EXPECT_EQ(utility->ErrorQuery(&code, &message), S_OK);
    EXPECT_EQ(Code(code), 0xBFFF0015u);  // time-out
    VARIANT_BOOL initialized = 1;
    EXPECT_EQ(driver->get_Initialized(&initialized), S_OK);
    EXPECT_EQ(initialized, 0);
}

// ------------------------------------------------------------ life cycle

TEST_F(ScriptedDriver, BeforeInitializeAndAfterCloseEveryOperationIsRefusedWithoutTraffic) {
    auto rf = Part<IKorvelV8NRF>(driver_, &IKorvelV8N::get_RF);
    auto sweep = Part<IKorvelV8NSweep>(driver_, &IKorvelV8N::get_Sweep);
    auto list = Part<IKorvelV8NList>(sweep, &IKorvelV8NSweep::get_List);
    auto system = Part<IKorvelV8NSystem>(driver_, &IKorvelV8N::get_System);
    auto pulseMod = Part<IKorvelV8NPulseModulation>(driver_, &IKorvelV8N::get_PulseModulation);
    auto pulseGen = Part<IKorvelV8NPulseGenerator>(driver_, &IKorvelV8N::get_PulseGenerator);
    auto packet = Part<IKorvelV8NPulsePacketGenerator>(pulseGen,
                                                       &IKorvelV8NPulseGenerator::get_PacketGenerator);
    ASSERT_TRUE(rf && list && system && pulseMod && packet);

    const auto expectAllRefused = [&] {
        double value = 0;
        VARIANT_BOOL flag = 0;
        std::string text;
        std::vector<double> a{1e9}, b{0};
        EXPECT_EQ(rf->put_Frequency(1e9), KORVEL_E_NOT_INITIALIZED);
        EXPECT_EQ(rf->get_Level(&value), KORVEL_E_NOT_INITIALIZED);
        EXPECT_EQ(rf->Configure(1e9, 0), KORVEL_E_NOT_INITIALIZED);
        EXPECT_EQ(sweep->put_Mode(3), KORVEL_E_NOT_INITIALIZED);
        EXPECT_EQ(list->Configure("", a, b), KORVEL_E_NOT_INITIALIZED);
        EXPECT_EQ(system->get_SerialNumber(&text), KORVEL_E_NOT_INITIALIZED);
        EXPECT_EQ(pulseMod->get_Enabled(&flag), KORVEL_E_NOT_INITIALIZED);
        EXPECT_EQ(packet->Load(1, a, b), KORVEL_E_NOT_INITIALIZED);
        EXPECT_EQ(driver_->SendTrigger(), KORVEL_E_NOT_INITIALIZED);
        EXPECT_EQ(driver_->Close(), KORVEL_E_NOT_INITIALIZED);
        VARIANT_BOOL initialized = 1;
        EXPECT_EQ(driver_->get_Initialized(&initialized), S_OK);
        EXPECT_EQ(initialized, 0);
    };
    expectAllRefused();
    EXPECT_EQ(peer_.Connections(), 0);

    Open();
    const std::size_t before = RequestCount();
    EXPECT_EQ(driver_->Close(), S_OK);
    expectAllRefused();
    EXPECT_EQ(RequestCount(), before);
}

TEST_F(ScriptedDriver, InterfaceObjectsAreCountedAndOutliveTheDriverObject) {
    Open();
    IKorvelV8NRF* first = nullptr;
    IKorvelV8NRF* second = nullptr;
    ASSERT_EQ(driver_->get_RF(&first), S_OK);
    ASSERT_EQ(driver_->get_RF(&second), S_OK);
    EXPECT_EQ(first, second);  // one object per interface
    EXPECT_EQ(second->Release(), 2u);  // the caller's other reference and the driver's
    EXPECT_EQ(driver_->get_RF(nullptr), E_POINTER);

    IUnknown* unknown = nullptr;
    ASSERT_EQ(first->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    unknown->Release();
    void* none = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(first->QueryInterface(IID_IKorvelV8NSweep, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);

    // Releasing the driver object closes the session: the connection goes,
    // the interface object stays usable and says so.
    driver_ = nullptr;
    EXPECT_TRUE(peer_.Peer().WaitFinished(1));
    EXPECT_EQ(first->put_Frequency(1e9), KORVEL_E_NOT_INITIALIZED);
    EXPECT_EQ(first->Release(), 0u);
}

TEST_F(ScriptedDriver, NullOutPointersAreRefusedWithoutTraffic) {
    Open();
    const std::size_t before = RequestCount();
    auto rf = Part<IKorvelV8NRF>(driver_, &IKorvelV8N::get_RF);
    auto system = Part<IKorvelV8NSystem>(driver_, &IKorvelV8N::get_System);
    auto utility = Part<IIviDriverUtility>(driver_, &IKorvelV8N::get_Utility);
    std::string text;
    std::int32_t code = 0;
    EXPECT_EQ(rf->get_Frequency(nullptr), E_POINTER);
    EXPECT_EQ(rf->get_OutputEnabled(nullptr), E_POINTER);
    EXPECT_EQ(system->get_PhaseOffset(nullptr), E_POINTER);
    EXPECT_EQ(system->get_Name(nullptr), E_POINTER);
    EXPECT_EQ(utility->ErrorQuery(nullptr, &text), E_POINTER);
    EXPECT_EQ(utility->ErrorQuery(&code, nullptr), E_POINTER);
    EXPECT_EQ(driver_->get_Initialized(nullptr), E_POINTER);
    EXPECT_EQ(RequestCount(), before);
}

// ------------------------------------------------------------ the wire

TEST_F(ScriptedDriver, SettingsTravelScaledAndSaturatedInTheirParametersFormat) {
    Open();
    auto rf = Part<IKorvelV8NRF>(driver_, &IKorvelV8N::get_RF);
    auto system = Part<IKorvelV8NSystem>(driver_, &IKorvelV8N::get_System);
    auto sweep = Part<IKorvelV8NSweep>(driver_, &IKorvelV8N::get_Sweep);
    auto step = Part<IKorvelV8NFrequencyStep>(sweep, &IKorvelV8NSweep::get_FrequencyStep);
    const std::size_t before = RequestCount();
    EXPECT_EQ(rf->Configure(1e9 + 0.5, -12.345), S_OK);
    EXPECT_EQ(rf->put_Level(1e30), S_OK);
    EXPECT_EQ(rf->put_OutputEnabled(-1), S_OK);  // COM's true
    EXPECT_EQ(system->put_PhaseOffset(-90), S_OK);
    EXPECT_EQ(step->Configure(1e7, 2e10, 0, 1e6), S_OK);
    EXPECT_EQ(step->put_Dwell(0.0015), S_OK);

    const auto requests = peer_.Requests();
    ASSERT_EQ(requests.size(), before + 7);
    const auto expectSet = [&](std::size_t i, F field, std::uint8_t flagB,
                               std::vector<double> values) {
        const SRequest& r = requests[before + i];
        EXPECT_TRUE(Is(r, kvproto::KV_SET, field)) << i;
        EXPECT_EQ(r.header.flagB, flagB) << i;
        values.insert(values.begin(), Row(field).index);
        EXPECT_EQ(r.values, values) << i;
    };
    expectSet(0, F::CwFrequency, 0x60, {1000000001});
    expectSet(1, F::Level, 0x40, {-1235});
    expectSet(2, F::Level, 0x40, {2147483647});
    expectSet(3, F::RfOutputEnabled, 0x10, {1});
    expectSet(4, F::PhaseOffset, 0x20, {-90});
    expectSet(5, F::ConfigureFrequencySweep, 0x60, {1e7, 2e10, 1e6});
    expectSet(6, F::FrequencyDwell, 0x60, {1.5e6});
}

TEST_F(ScriptedDriver, RequestsThatCannotBeSentAreRefusedBeforeSending) {
    Open();
    auto sweep = Part<IKorvelV8NSweep>(driver_, &IKorvelV8N::get_Sweep);
    auto step = Part<IKorvelV8NFrequencyStep>(sweep, &IKorvelV8NSweep::get_FrequencyStep);
    auto list = Part<IKorvelV8NList>(sweep, &IKorvelV8NSweep::get_List);
    auto rf = Part<IKorvelV8NRF>(driver_, &IKorvelV8N::get_RF);
    auto pulseGen = Part<IKorvelV8NPulseGenerator>(driver_, &IKorvelV8N::get_PulseGenerator);
    auto packet = Part<IKorvelV8NPulsePacketGenerator>(pulseGen,
                                                       &IKorvelV8NPulseGenerator::get_PacketGenerator);
    const std::size_t before = RequestCount();
    EXPECT_EQ(step->Configure(1e9, 2e9, 1, 1e6), E_INVALIDARG);  // logarithmic
    EXPECT_EQ(rf->put_Frequency(std::nan("")), E_INVALIDARG);
    std::vector<double> frequencies{1e9, std::nan("")}, levels{0};
    EXPECT_EQ(list->Configure("", frequencies, levels), E_INVALIDARG);
    std::vector<double> widths{1e-6, 2e-6}, gaps{1e-6};  // one gap short
    EXPECT_EQ(packet->Load(1, widths, gaps), E_INVALIDARG);
    EXPECT_EQ(RequestCount(), before);
}

TEST_F(ScriptedDriver, ReadsGiveWhatTheInstrumentAnswered) {
    Open();
    auto rf = Part<IKorvelV8NRF>(driver_, &IKorvelV8N::get_RF);
    auto system = Part<IKorvelV8NSystem>(driver_, &IKorvelV8N::get_System);
    value_ = -1234;
    double level = 0;
    EXPECT_EQ(rf->get_Level(&level), S_OK);
    EXPECT_DOUBLE_EQ(level, -12.34);
    value_ = 2;  // not a boolean the driver would send, handed on as it came
    VARIANT_BOOL button = 0;
    EXPECT_EQ(system->get_RfButton(&button), S_OK);
    EXPECT_EQ(button, 2);

    // Texts: one byte per value, ended by a zero byte.
    SpoilNext(F::SerialNumber, [](const SRequest& r) {
        return drvtest::AnswerTo(r, 0, {0, '0', '4', '2', '*', 0, 'x'});
    });
    std::string serial;
    EXPECT_EQ(system->get_SerialNumber(&serial), S_OK);
    EXPECT_EQ(serial, "042*");
}

// ------------------------------------------------------------ answers

TEST_F(ScriptedDriver, ACorrectedValueIsSuccessAndAnErrorStatusIsQueued) {
    Open();
    auto rf = Part<IKorvelV8NRF>(driver_, &IKorvelV8N::get_RF);
    SpoilNext(F::CwFrequency, [](const SRequest& r) { return drvtest::AnswerTo(r, 1, {0, 2e10}); });
    EXPECT_EQ(rf->put_Frequency(1e11), S_OK);

    SpoilNext(F::Level, [](const SRequest& r) { return drvtest::AnswerTo(r, -32740, {}); });
    EXPECT_EQ(rf->put_Level(0), KORVEL_E_INSTRUMENT_STATUS);
    const auto [code, message] = NextError();
    EXPECT_EQ(code, 0xFFFF801Cu);
    EXPECT_EQ(message, "Нет захвата синтезатора опорной частоты");

    // With the local queue empty the instrument's own queue is asked.
    SpoilNext(F::NextError, [](const SRequest& r) { return drvtest::AnswerTo(r, 0, {3, -32761}); });
    EXPECT_EQ(NextError(), std::make_pair(0xFFFF8007u, std::string("Нет захвата 1-го гетеродина")));
    EXPECT_EQ(NextError(), std::make_pair(0u, std::string()));
    EXPECT_TRUE(Is(peer_.Requests().back(), kvproto::KV_GET, F::NextError));
}

TEST_F(ScriptedDriver, AnswersThatDoNotFitTheRequestAreBadAnswersAndTheStreamIsRestarted) {
    Open();
    auto rf = Part<IKorvelV8NRF>(driver_, &IKorvelV8N::get_RF);
    double value = 0;
    const std::vector<std::pair<const char*, drvtest::Responder>> faults = {
        {"another command",
         [](const SRequest& r) {
             return drvtest::ParameterAnswer(kvproto::KV_SET, 0, r.param, {0, 5}, 0x60);
         }},
        {"another parameter",
         [](const SRequest&) { return drvtest::ParameterAnswer(kvproto::KV_GET, 0, 12, {0, 5}, 0x40); }},
        {"another field", [](const SRequest& r) { return drvtest::AnswerTo(r, 0, {1, 5}); }},
        {"no value", [](const SRequest& r) { return drvtest::AnswerTo(r, 0, {0}); }},
        {"a body shorter than its count",
         [](const SRequest& r) {
             Bytes answer = drvtest::AnswerTo(r, 0, {0, 5});
             answer[8] = 9;  // FlagA claims more values than the body holds
             return answer;
         }},
    };
    for (const auto& [what, fault] : faults) {
        const int connections = peer_.Connections();
        SpoilNext(F::CwFrequency, fault);
        EXPECT_EQ(rf->get_Frequency(&value), KORVEL_E_BAD_ANSWER) << what;
        // Nothing queued: the error query goes on to the instrument.
        EXPECT_EQ(NextError().first, 0u) << what;
        EXPECT_EQ(peer_.Connections(), connections + 1) << what;
    }
    value_ = 7;
    EXPECT_EQ(rf->get_Frequency(&value), S_OK);
    EXPECT_EQ(value, 7);
}

TEST_F(ScriptedDriver, FailedTransfersQueueTheirVisaStatusAndTheQueueStillEnds) {
    Open();
    auto rf = Part<IKorvelV8NRF>(driver_, &IKorvelV8N::get_RF);
    double value = 0;
    const std::vector<std::tuple<const char*, drvtest::Responder, std::uint32_t>> faults = {
        {"silence", [](const SRequest&) { return Bytes{}; }, 0xBFFF0015u},
        {"a truncated answer",
         [](const SRequest& r) {
             Bytes answer = drvtest::AnswerTo(r, 0, {0, 5});
             answer.resize(answer.size() - 3);
             return answer;
         },
         0xBFFF0015u},
        {"a wrong signature",
         [](const SRequest& r) {
             Bytes answer = drvtest::AnswerTo(r, 0, {0, 5});
             answer[0] = 0x12;
             return answer;
         },
         0xBFFF0035u},
        {"a closed connection", [](const SRequest&) { return std::nullopt; }, 0xBFFF0015u},
    };
    for (const auto& [what, fault, status] : faults) {
        SpoilNext(F::CwFrequency, fault);
        EXPECT_EQ(rf->get_Frequency(&value), KORVEL_E_IO) << what;
        const std::size_t requests = RequestCount();
        EXPECT_EQ(NextError().first, status) << what;
        // The link is broken: empty without asking the instrument.
        EXPECT_EQ(NextError().first, 0u) << what;
        EXPECT_EQ(RequestCount(), requests) << what;
        // Any success mends it; the next query asks again.
        EXPECT_EQ(rf->get_Frequency(&value), S_OK) << what;
        EXPECT_EQ(NextError().first, 0u) << what;
        EXPECT_TRUE(Is(peer_.Requests().back(), kvproto::KV_GET, F::NextError)) << what;
    }
}

// ------------------------------------------------------------ transfers

TEST_F(ScriptedDriver, AListGoesInChunksAndIsNotReadBackWhenKeptAsSent) {
    Open();
    auto sweep = Part<IKorvelV8NSweep>(driver_, &IKorvelV8N::get_Sweep);
    auto list = Part<IKorvelV8NList>(sweep, &IKorvelV8NSweep::get_List);
    std::vector<double> frequencies(600), levels(3, -5.5);
    for (std::size_t i = 0; i < frequencies.size(); ++i) frequencies[i] = 1e9 + double(i);
    SpoilNext(F::PointsListCommit, [](const SRequest& r) { return drvtest::AnswerTo(r, 0, {1, 600, 3}); });
    const std::size_t before = RequestCount();
    ASSERT_EQ(list->Configure("", frequencies, levels), S_OK);

    const auto requests = peer_.Requests();
    ASSERT_EQ(requests.size(), before + 6);
    EXPECT_TRUE(Is(requests[before], kvproto::KV_SET, F::PointsListBegin));
    EXPECT_EQ(requests[before].values, (std::vector<double>{0, 600, 3}));
    const std::vector<std::pair<double, std::size_t>> chunks = {{0, 254}, {254, 254}, {508, 92}};
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        const SRequest& chunk = requests[before + 1 + i];
        EXPECT_EQ(chunk.param, kvproto::kParamFreqListChunk);
        ASSERT_EQ(chunk.values.size(), chunks[i].second + 1);
        EXPECT_EQ(chunk.values.front(), chunks[i].first);
        EXPECT_EQ(chunk.values[1], 1e9 + chunks[i].first);
    }
    EXPECT_EQ(requests[before + 4].param, kvproto::kParamLevelListChunk);
    EXPECT_EQ(requests[before + 4].values, (std::vector<double>{0, -550, -550, -550}));
    EXPECT_TRUE(Is(requests[before + 5], kvproto::KV_SET, F::PointsListCommit));
    EXPECT_EQ(frequencies.size(), 600u);
    EXPECT_EQ(levels, std::vector<double>(3, -5.5));
}

TEST_F(ScriptedDriver, TheSoftwareTriggerIsARunCommandWithoutBody) {
    Open();
    ASSERT_EQ(driver_->SendTrigger(), S_OK);
    const SRequest run = peer_.Requests().back();
    EXPECT_EQ(run.header.command, kvproto::KV_RUN);
    EXPECT_EQ(run.header.bodyLen, 0);
    EXPECT_EQ(run.bytes.size(), kvproto::kHeaderSize);
}

}  // namespace
