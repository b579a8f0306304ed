// The measurement layer's plain units: the plan's arithmetic, the window, the
// detectors, the point format and the answer watcher.
#include <cmath>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "kvproto/packet.h"
#include "kvproto/packet_io.h"
#include "sa/sa_answer_watcher.h"
#include "sa/sa_detector.h"
#include "sa/sa_plan.h"
#include "sa/sa_point.h"
#include "sa/sa_window.h"

namespace {

using kv::ESaMethod;

kv::SSaSettings Settings(std::uint32_t bandwidth, std::uint64_t points, std::uint64_t step, std::uint64_t plan6 = 2,
                         std::uint8_t detector = 2) {
    kv::SSaSettings s;
    s.known = kv::kKnownAll;
    s.requestedMode = s.currentMode = 15;
    s.bandwidth = bandwidth;
    s.detector = detector;
    s.plan = {1000000000, points, step, 1000000000 + (points - 1) * step, 0, plan6, step, 0};
    return s;
}

TEST(SaPlan, SizesFollowTheBandwidth) {
    const kv::SSaPlan plan = kv::MakePlan(Settings(1000, 101, 2000));
    EXPECT_EQ(plan.sizes.samples, 1562u);
    EXPECT_EQ(plan.sizes.fftSize, 2048u);
    EXPECT_EQ(plan.sizes.binSpacing, 381.4697265625);
    EXPECT_EQ(plan.method, ESaMethod::Fft);
    EXPECT_EQ(plan.fftBins, 28u);
}

struct SMethodRow {
    std::uint32_t bandwidth;
    std::uint64_t step;
    std::uint64_t plan6;
    std::uint8_t detector;
    ESaMethod method;
};

TEST(SaPlan, MethodsAsTheSetUpAsks) {
    const SMethodRow rows[] = {
        {300, 1000, 2, 2, ESaMethod::Fft},      {300, 100, 2, 2, ESaMethod::ChirpZ},
        {300, 3000, 2, 4, ESaMethod::ZeroSpan},  {300, 1000, 1, 2, ESaMethod::ChirpZ},
        {300, 20000, 1, 2, ESaMethod::ZeroSpan}, {1000, 6000, 1, 2, ESaMethod::ZeroSpan},
        {10, 1500, 1, 2, ESaMethod::ZeroSpan},   {10, 5, 2, 2, ESaMethod::ChirpZ},
    };
    for (const SMethodRow& row : rows) {
        SCOPED_TRACE(row.step);
        EXPECT_EQ(kv::MakePlan(Settings(row.bandwidth, 301, row.step, row.plan6, row.detector)).method, row.method);
    }
}

// Whatever the method, P points from the start, `step` apart, ending at stop.
TEST(SaPlan, EveryPointIsCoveredOnce) {
    for (const std::uint64_t step : {30ull, 100ull, 1000ull, 3000ull}) {
        for (const std::uint64_t points : {2ull, 101ull, 102ull, 333ull}) {
            SCOPED_TRACE(step * 1000 + points);
            const kv::SSaPlan plan = kv::MakePlan(Settings(100, points, step));
            ASSERT_EQ(plan.refusal, 0);
            EXPECT_EQ(plan.pointFrequency.front(), 1e9);
            EXPECT_EQ(plan.pointFrequency.back(), 1e9 + static_cast<double>((points - 1) * step));
            if (plan.method == ESaMethod::Fft) {
                EXPECT_LE(plan.segments.front().low, plan.pointFrequency.front() - plan.step / 2);
                EXPECT_GE(plan.segments.back().high, plan.pointFrequency.back() + plan.step / 2);
                continue;
            }
            std::vector<int> covered(points, 0);
            for (const kv::SSaSegment& s : plan.segments) {
                for (std::uint32_t k = 0; k < s.points; ++k) ++covered.at(s.firstPoint + k);
                if (s.method == ESaMethod::ChirpZ) {
                    EXPECT_EQ(static_cast<double>(s.tuned) + s.offset, plan.pointFrequency[s.firstPoint]);
                }
            }
            EXPECT_EQ(std::count(covered.begin(), covered.end(), 1), static_cast<long>(points));
        }
    }
}

TEST(SaPlan, UnmeasurableSetUpsAreRefused) {
    kv::SSaSettings stopBelowGrid = Settings(300, 101, 100);
    stopBelowGrid.plan.stop = stopBelowGrid.plan.start + 50 * 100;
    const kv::SSaSettings rows[] = {Settings(0, 101, 100), Settings(1, 101, 100), Settings(300, 0, 100),
                                    Settings(300, 100000000, 100), stopBelowGrid};
    for (const kv::SSaSettings& row : rows) {
        const kv::SSaPlan plan = kv::MakePlan(row);
        EXPECT_EQ(plan.refusal, -32765);
        EXPECT_TRUE(plan.segments.empty());
    }
}

TEST(SaWindow, BlackmanNuttallWithItsScale) {
    const std::vector<double> w = kv::BlackmanNuttallWindow(1562, 4, 2048);
    const double scale = std::sqrt(1.0 / (4.0 * 2048 * 2048) * 0.5 / 0.363);
    EXPECT_NEAR(w.front(), scale * (0.3635819 - 0.4891775 + 0.1365995 - 0.0106411), 1e-15);
    EXPECT_NEAR(w[781] / scale, 1.0, 1e-4);  // the middle: the coefficients' sum
    EXPECT_NEAR(w[100] / w[1461], 1.0, 1e-7);
}

struct SDetectorRow {
    std::uint8_t code;
    std::vector<std::vector<double>> points;  // the bins of each point
    std::vector<double> expected;
};

TEST(SaDetector, MergesBinsAsItsKindSays) {
    const std::vector<std::vector<double>> bins{{5, 9, 1, 6}, {4, 2, 3}, {7, 8, 6}, {3, 1, 5}};
    const SDetectorRow rows[] = {
        {2, bins, {9, 4, 8, 5}},
        {3, bins, {1, 2, 6, 1}},
        {4, bins, {5, 4, 7, 3}},
        {5, bins, {21.0 / 4, 3, 7, 3}},
        {0, bins, {9, 2, 8, 1}},  // the second bin sits on the point's frequency
        // Points 0 and 2 swing both ways with the toggle set and give their
        // smallest; the points after them start their largest from theirs.
        {1, bins, {1, 9, 6, 8}},
    };
    for (const SDetectorRow& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.code));
        kv::CSaDetector detector(row.code);
        std::vector<double> out;
        for (const auto& point : row.points) {
            detector.Begin(1.0);
            for (std::size_t i = 0; i < point.size(); ++i) detector.Add(point[i], static_cast<double>(i));
            out.push_back(detector.Finish());
        }
        EXPECT_EQ(out, row.expected);
    }
}

TEST(SaPoint, ValuesSurviveTheTwelveByteFormat) {
    for (const double value : {1.0, 123456.789, 7.5e-9, 3.3e21}) {
        std::uint8_t bytes[12];
        kv::WritePoint(kv::PointOf(value), bytes);
        EXPECT_NEAR(kv::PointValue(kv::ReadPoint(bytes)) / value, 1.0, 1e-9);
    }
    std::uint8_t bytes[12];
    kv::WritePoint({-2, -655360}, bytes);
    EXPECT_EQ(kv::ReadPoint(bytes).mantissa, -2);
    EXPECT_DOUBLE_EQ(kv::PointValue(kv::ReadPoint(bytes)), -0.2);
}

std::vector<std::uint8_t> Answer(std::uint16_t command, std::int16_t status, std::uint16_t param,
                                 std::vector<double> values, std::uint8_t flagB) {
    std::vector<std::uint8_t> packet = kvproto::BuildParameterPacket(command, param, values, flagB);
    packet[4] = static_cast<std::uint8_t>(status);
    packet[5] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(status) >> 8);
    return packet;
}

TEST(SaAnswerWatcher, LearnsFromSetAnswersWhateverTheReadSizes) {
    std::vector<std::uint8_t> stream;
    const auto add = [&stream](const std::vector<std::uint8_t>& p) { stream.insert(stream.end(), p.begin(), p.end()); };
    add(Answer(kvproto::KV_SET, 0, 3, {15}, 0x20));
    add(Answer(kvproto::KV_GET, 0, 66, {500}, 0x40));  // a get teaches nothing
    add(Answer(kvproto::KV_SET, 0, 4, {3}, 0x10));
    add(Answer(kvproto::KV_SET, 0, 56, {1e9, 11, 100, 1e9 + 1000, 5, 6, 100, 8}, 0x60));
    add(Answer(kvproto::KV_SET, 0, 66, {300}, 0x40));
    add(Answer(kvproto::KV_SET, -32765, 71, {4}, 0x10));  // refused: not taken
    add(Answer(kvproto::KV_SET, 1, 71, {5}, 0x10));       // corrected: taken
    for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{16}, stream.size()}) {
        SCOPED_TRACE(piece);
        kv::CSaAnswerWatcher watcher;
        kv::SSaSettings s;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            watcher.Feed(std::span(stream).subspan(at, std::min(piece, stream.size() - at)), s);
        }
        EXPECT_TRUE(s.Complete());
        EXPECT_EQ(s.requestedMode, 15);
        EXPECT_EQ(s.averaging, 3);
        EXPECT_EQ(s.plan.points, 11u);
        EXPECT_EQ(s.plan.stop, 1000001000u);
        EXPECT_EQ(s.plan.value8, 8u);
        EXPECT_EQ(s.bandwidth, 300u);
        EXPECT_EQ(s.detector, 5);
    }
}

TEST(SaAnswerWatcher, ShortBodiesTeachNothing) {
    kv::CSaAnswerWatcher watcher;
    kv::SSaSettings s;
    watcher.Feed(Answer(kvproto::KV_SET, 0, 56, {1e9, 11}, 0x60), s);
    watcher.Feed(Answer(kvproto::KV_SET, 0, 66, {300}, 0x10), s);
    EXPECT_EQ(s.known, 0);
}

}  // namespace
