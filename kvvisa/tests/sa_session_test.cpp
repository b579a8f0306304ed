// The measurement layer end to end: TCPIP::127.0.0.1::<port>::SOCKET::SA
// through the resource manager against the simulated receiver (z5r-sim
// --receiver), whose scene and faults the tests set on its control channel.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "kvproto/packet.h"
#include "kvproto/packet_io.h"
#include "kvproto/receiver_params.h"
#include "kvvisa/visa.h"
#include "res_mgr.h"
#include "sa/sa_point.h"
#include "support/simulator_process.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr double kStart = 1e9;
constexpr std::int16_t kNoParameters = -32764;
constexpr std::int16_t kParameterIncorrect = -32765;
constexpr std::int16_t kAdcError = -32756;

struct SPlan {
    std::uint32_t bandwidth = 300;
    double points = 41;
    double step = 1000;
    double plan6 = 2;  // below 2 asks for zero span or chirp-z
    std::uint8_t detector = 2;
    std::uint8_t averaging = 0;
};

struct SRunAnswer {
    ViStatus status = VI_SUCCESS;
    kvproto::PacketHeader header;
    std::vector<double> levels;  // dB
    std::int16_t result = 0;
};

class SaSession : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim_.Started());
        ASSERT_EQ(rm_.Open((sim_.Resource() + "::SA").c_str(), VI_NULL, 2000, &vi_), VI_SUCCESS);
        ASSERT_EQ(Call([](kv::ISession& s) { return s.SetAttribute(VI_ATTR_TMO_VALUE, 2000); }), VI_SUCCESS);
    }

    template <typename Op>
    ViStatus Call(Op&& op, ViSession vi = VI_NULL) { return rm_.Call(vi != VI_NULL ? vi : vi_, std::forward<Op>(op)); }

    ViStatus Write(const Bytes& bytes, ViSession vi = VI_NULL) {
        ViUInt32 done = 0;
        return Call([&](kv::ISession& s) { return s.Write(bytes.data(), static_cast<ViUInt32>(bytes.size()), &done); }, vi);
    }
    // An answer read as applications do: the header, then BodyLen bytes.
    ViStatus ReadAnswer(Bytes& answer, ViSession vi = VI_NULL) {
        answer.assign(kvproto::kHeaderSize, 0);
        ViUInt32 done = 0;
        ViStatus status = Call([&](kv::ISession& s) { return s.Read(answer.data(), kvproto::kHeaderSize, &done); }, vi);
        if (status != VI_SUCCESS) return status;
        const auto header = kvproto::DecodeHeader(answer.data());
        answer.resize(kvproto::kHeaderSize + header.bodyLen);
        if (header.bodyLen == 0) return VI_SUCCESS;
        return Call([&](kv::ISession& s) { return s.Read(answer.data() + kvproto::kHeaderSize, header.bodyLen, &done); }, vi);
    }
    std::int16_t Set(std::uint16_t param, const std::vector<double>& values, std::uint8_t flagB) {
        EXPECT_EQ(Write(kvproto::BuildParameterPacket(kvproto::KV_SET, param, values, flagB)), VI_SUCCESS);
        Bytes answer;
        EXPECT_EQ(ReadAnswer(answer), VI_SUCCESS);
        return kvproto::DecodeHeader(answer.data()).status;
    }
    void SetUpMeasurement(const SPlan& p, bool withDetector = true) {
        EXPECT_EQ(Set(kvproto::kParamReceiverMode, {15}, 0x20), 0);
        EXPECT_EQ(Set(kvproto::kParamAveraging, {double(p.averaging)}, 0x10), 0);
        const double stop = kStart + (p.points - 1) * p.step;
        EXPECT_EQ(Set(kvproto::kParamReceiverFrequency, {kStart, p.points, p.step, stop, 0, p.plan6, p.step, 0}, 0x60), 0);
        EXPECT_EQ(Set(kvproto::kParamIfBandwidth, {double(p.bandwidth)}, 0x40), 0);
        if (withDetector) {
            EXPECT_EQ(Set(kvproto::kParamDetector, {double(p.detector)}, 0x10), 0);
        }
    }
    SRunAnswer Run(ViSession vi = VI_NULL) {
        SRunAnswer run;
        kvproto::PacketHeader request;
        request.command = kvproto::KV_RUN;
        const auto bytes = kvproto::EncodeHeader(request);
        run.status = Write(Bytes(bytes.begin(), bytes.end()), vi);
        Bytes answer;
        if (run.status != VI_SUCCESS && (run.status > 0 || run.status < -32768)) return run;
        EXPECT_EQ(ReadAnswer(answer, vi), VI_SUCCESS);
        run.header = kvproto::DecodeHeader(answer.data());
        const std::size_t points = (answer.size() - kvproto::kHeaderSize - 2) / 12;
        for (std::size_t j = 0; j < points; ++j) {
            const double value = kv::PointValue(kv::ReadPoint(answer.data() + kvproto::kHeaderSize + 12 * j));
            run.levels.push_back(10 * std::log10(std::max(value, 1e-30)));
        }
        run.result = static_cast<std::int16_t>(answer[answer.size() - 2] | answer[answer.size() - 1] << 8);
        return run;
    }
    void Scene(const std::vector<std::string>& commands) {
        ASSERT_TRUE(sim_.Control("clear-scene").empty());
        for (const auto& command : commands) {
            std::string error;
            sim_.Control(command, &error);
            ASSERT_TRUE(error.empty()) << command << ": " << error;
        }
    }
    std::string Receiver(const std::string& key) {
        for (const auto& line : sim_.Control("receiver")) {
            if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
        }
        return {};
    }
    static std::size_t Peak(const SRunAnswer& run) {
        return static_cast<std::size_t>(std::max_element(run.levels.begin(), run.levels.end()) - run.levels.begin());
    }

    kvtest::CSimulator sim_{{"--receiver"}};
    kv::CResMgr rm_;
    ViSession vi_ = VI_NULL;
};

std::string Tone(double frequency, double level) {
    return "tone " + std::to_string(static_cast<long long>(frequency)) + " " + std::to_string(level);
}

// One plan for each method, with a tone off its grid.
struct SMethodCase {
    const char* name;
    SPlan plan;
    std::size_t point;
    double offGrid;  // Hz above the point
};

const SMethodCase kMethods[] = {
    {"zero span", {300, 11, 3000, 1, 2, 0}, 4, 200},
    {"FFT", {300, 41, 1000, 2, 2, 0}, 17, 300},
    {"chirp-z", {300, 201, 100, 2, 2, 0}, 57, 30},
};

TEST_F(SaSession, EachMethodShowsAToneAtTheNearestPointAndAgreesOnItsLevel) {
    std::vector<double> onGridLevels;
    for (const SMethodCase& method : kMethods) {
        SCOPED_TRACE(method.name);
        SetUpMeasurement(method.plan);
        const double at = kStart + static_cast<double>(method.point) * method.plan.step;
        Scene({Tone(at + method.offGrid, 150)});
        SRunAnswer run = Run();
        ASSERT_EQ(run.status, VI_SUCCESS);
        EXPECT_EQ(run.header.flagA, 1);
        EXPECT_EQ(run.header.flagB, 0xC2);
        EXPECT_EQ(run.header.bodyLen, 12 * method.plan.points + 2);
        EXPECT_EQ(run.header.status, 0);
        EXPECT_EQ(Peak(run), method.point);

        Scene({Tone(at, 150)});
        run = Run();
        ASSERT_EQ(run.status, VI_SUCCESS);
        onGridLevels.push_back(run.levels[method.point]);
    }
    const auto [low, high] = std::minmax_element(onGridLevels.begin(), onGridLevels.end());
    EXPECT_LT(*high - *low, 0.5);
}

TEST_F(SaSession, TwoTonesTwentyDecibelsApartComeOutTwentyApart) {
    SetUpMeasurement({300, 201, 100, 2, 2, 0});
    Scene({Tone(kStart + 50 * 100, 150), Tone(kStart + 150 * 100, 130), "noise 60 7"});
    const SRunAnswer run = Run();
    ASSERT_EQ(run.status, VI_SUCCESS);
    EXPECT_NEAR(run.levels[50] - run.levels[150], 20, 0.3);
}

// B = 1000: an acquisition's last request asks for more pairs than it needs.
TEST_F(SaSession, TheAttenuationIsTakenBackOut) {
    SetUpMeasurement({1000, 201, 100, 2, 2, 0});
    Scene({Tone(kStart + 50 * 100, 150)});
    const double plain = Run().levels.at(50);
    Scene({Tone(kStart + 50 * 100, 150), "attenuation 30"});
    EXPECT_NEAR(Run().levels.at(50), plain, 0.1);
}

double Spread(const std::vector<double>& levels) {
    const double mean = std::accumulate(levels.begin(), levels.end(), 0.0) / static_cast<double>(levels.size());
    double sum = 0;
    for (double level : levels) sum += (level - mean) * (level - mean);
    return std::sqrt(sum / static_cast<double>(levels.size()));
}

TEST_F(SaSession, AveragingLowersTheSpreadOfNoise) {
    SPlan plan{300, 201, 100, 2, 2, 0};
    SetUpMeasurement(plan);
    Scene({"noise 120 11"});
    const double single = Spread(Run().levels);
    plan.averaging = 4;
    SetUpMeasurement(plan);
    const double averaged = Spread(Run().levels);
    EXPECT_LT(averaged, single / 2);
}

// B = 10 with 16 acquisitions a point: more requests than go out ahead at
// once, so each acquisition read asks for the next.
TEST_F(SaSession, NarrowestBandAveragedAsksForAcquisitionsAsItGoes) {
    SetUpMeasurement({10, 2, 20000, 1, 2, 4});
    Scene({Tone(kStart + 20000, 150), "noise 60 3"});
    const SRunAnswer run = Run();
    ASSERT_EQ(run.status, VI_SUCCESS);
    EXPECT_EQ(Peak(run), 1u);
    // 156250 samples: 19 requests of 8188, one of 676 and one of 4.
    EXPECT_EQ(Receiver("data-packets"), std::to_string(2 * 16 * 21));
}

// On the same noise (the seed set again before each run), each detector's
// points against the largest and smallest of the same bins.
TEST_F(SaSession, DetectorsMergeTheBinsOfAPointAsTheirKindSays) {
    const auto runWith = [&](std::uint8_t detector) {
        SetUpMeasurement({300, 41, 1000, 2, detector, 0});
        Scene({"noise 120 5"});
        return Run().levels;
    };
    const auto largest = runWith(2), smallest = runWith(3), mean = runWith(5), nearest = runWith(0),
               alternating = runWith(1);
    bool alternateGaveSmallest = false;
    for (std::size_t j = 0; j < largest.size(); ++j) {
        SCOPED_TRACE(j);
        EXPECT_GT(largest[j], smallest[j]);
        EXPECT_GE(largest[j] + 1e-9, mean[j]);
        EXPECT_LE(smallest[j] - 1e-9, mean[j]);
        EXPECT_GE(largest[j] + 1e-9, nearest[j]);
        EXPECT_LE(smallest[j] - 1e-9, nearest[j]);
        if (j % 2 == 0) {
            // Every other point may give its smallest value instead.
            EXPECT_TRUE(std::abs(alternating[j] - largest[j]) < 1e-6 || std::abs(alternating[j] - smallest[j]) < 1e-6);
            alternateGaveSmallest |= std::abs(alternating[j] - smallest[j]) < 1e-6;
        } else {
            EXPECT_GE(alternating[j] + 1e-6, largest[j]);
        }
    }
    EXPECT_TRUE(alternateGaveSmallest);

    // The first bin: the receiver's frequency plan is measured point by point.
    SetUpMeasurement({300, 41, 1000, 2, 4, 0});
    Scene({Tone(kStart + 17 * 1000, 150)});
    const SRunAnswer first = Run();
    EXPECT_EQ(Peak(first), 17u);
}

TEST_F(SaSession, WithoutADetectorTheRunIsAnsweredWithNoParametersAndTheReceiverIsLeftAlone) {
    SetUpMeasurement({}, /*withDetector=*/false);
    const SRunAnswer run = Run();
    EXPECT_EQ(run.status, VI_SUCCESS);
    EXPECT_EQ(run.header.status, kNoParameters);
    EXPECT_EQ(run.header.bodyLen, 12 * 41 + 2);
    EXPECT_EQ(Receiver("mode"), "15");
    EXPECT_EQ(Receiver("data-packets"), "0");
}

TEST_F(SaSession, AWideBandRunGoesToTheReceiverWhichIsFirstGivenItsModeBack) {
    SetUpMeasurement({});
    Scene({Tone(kStart, 150)});
    ASSERT_EQ(Run().status, VI_SUCCESS);
    EXPECT_EQ(Receiver("mode"), "17");
    EXPECT_EQ(Set(kvproto::kParamIfBandwidth, {3000}, 0x40), 0);
    const SRunAnswer own = Run();
    ASSERT_EQ(own.status, VI_SUCCESS);
    EXPECT_EQ(Receiver("mode"), "15");
    // The receiver's own answer: the tone's power itself, 150 dB.
    EXPECT_NEAR(own.levels.at(0), 150, 0.01);
}

struct SFaultCase {
    const char* fault;
    ViStatus status;       // what the run's write returns
    std::int16_t carried;  // the run answer's status, when there is one
};

const SFaultCase kFaults[] = {
    {"fault data-status -32756", kAdcError, kAdcError},
    {"fault data-length -8", VI_ERROR_RAW_RD_PROT_VIOL, 0},
    {"fault extra-pairs 4", VI_ERROR_RAW_RD_PROT_VIOL, 0},
    {"fault stop-after 20", VI_ERROR_TMO, 0},
    {"fault data-length 64", VI_SUCCESS, 0},
};

TEST_F(SaSession, BadAnswersStopTheRunWithAStatusAndTheNextRunWorks) {
    for (const SFaultCase& c : kFaults) {
        SCOPED_TRACE(c.fault);
        SetUpMeasurement({300, 11, 3000, 1, 2, 0});
        Scene({Tone(kStart + 3000, 150), c.fault});
        const SRunAnswer run = Run();
        EXPECT_EQ(run.status, c.status);
        if (c.status == kAdcError) {
            EXPECT_EQ(run.header.status, c.carried);
            EXPECT_EQ(run.result, c.carried);
        }
        ASSERT_TRUE(sim_.Control("fault none").empty());
        ASSERT_EQ(Call([](kv::ISession& s) { return s.Clear(); }), VI_SUCCESS);
        SetUpMeasurement({300, 11, 3000, 1, 2, 0});
        const SRunAnswer again = Run();
        EXPECT_EQ(again.status, VI_SUCCESS);
        EXPECT_EQ(Peak(again), 1u);
    }
}

TEST_F(SaSession, PlansBeyondWhatIsMeasurableAreRefusedWithAStatus) {
    SetUpMeasurement({});
    EXPECT_EQ(Set(kvproto::kParamIfBandwidth, {1}, 0x40), 0);
    SRunAnswer run = Run();
    EXPECT_EQ(run.status, VI_SUCCESS);
    EXPECT_EQ(run.header.status, kParameterIncorrect);

    SetUpMeasurement({});
    EXPECT_EQ(Set(kvproto::kParamReceiverFrequency, {kStart, 1e8, 1, kStart + 1e8, 0, 2, 1, 0}, 0x60), 0);
    run = Run();
    EXPECT_EQ(run.status, VI_SUCCESS);
    EXPECT_EQ(run.header.status, kParameterIncorrect);
    EXPECT_EQ(run.header.bodyLen, 2);
    EXPECT_EQ(Receiver("data-packets"), "0");
}

// Two sessions measuring at once on two threads, each with its own
// receiver: nothing of one run (plans, transforms, detector) leaks into the other.
TEST_F(SaSession, TwoSessionsMeasureAtOnce) {
    kvtest::CSimulator other({"--receiver"});
    ASSERT_TRUE(other.Started());
    ViSession second = VI_NULL;
    ASSERT_EQ(rm_.Open((other.Resource() + "::SA").c_str(), VI_NULL, 2000, &second), VI_SUCCESS);
    SetUpMeasurement({300, 41, 1000, 2, 1, 0});
    Scene({Tone(kStart + 17 * 1000, 150)});
    other.Control("tone " + std::to_string(static_cast<long long>(kStart + 30 * 100)) + " 150");
    // The second session is set up through the fixture's handle for a while.
    const ViSession first = vi_;
    vi_ = second;
    ASSERT_EQ(Call([](kv::ISession& s) { return s.SetAttribute(VI_ATTR_TMO_VALUE, 2000); }), VI_SUCCESS);
    SetUpMeasurement({300, 201, 100, 2, 2, 0});
    vi_ = first;
    std::vector<SRunAnswer> firstRuns, secondRuns;
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i) secondRuns.push_back(Run(second));
    });
    for (int i = 0; i < 3; ++i) firstRuns.push_back(Run(first));
    worker.join();
    for (const SRunAnswer& run : firstRuns) {
        EXPECT_EQ(run.status, VI_SUCCESS);
        EXPECT_EQ(Peak(run), 17u);
    }
    for (const SRunAnswer& run : secondRuns) {
        EXPECT_EQ(run.status, VI_SUCCESS);
        EXPECT_EQ(Peak(run), 30u);
    }
}

}  // namespace
