#include "receiver_handler.h"

#include <algorithm>
#include <cmath>

#include "kvproto/packet.h"
#include "kvproto/packet_io.h"
#include "kvproto/receiver_params.h"
#include "kvproto/value_codec.h"
#include "request_parser.h"

namespace z5rsim {

namespace {

constexpr std::int16_t kNoError = 0;
constexpr std::int16_t kUnknownCommand = -32767;
constexpr std::int16_t kUnknownParameter = -32766;
constexpr std::int16_t kParameterIncorrect = -32765;
constexpr std::int16_t kNoParameters = -32764;

constexpr std::uint16_t kHighestMode = 31;
constexpr std::uint8_t kHighestAveraging = 10;
constexpr std::uint8_t kHighestDetector = 5;
constexpr double kHighestFrequency = 50e9;
constexpr double kHighestBandwidth = 10e6;
constexpr std::size_t kPlanValues = 8;
constexpr std::size_t kPointStatusSize = 2;

std::vector<std::uint8_t> Packet(kvproto::PacketHeader header, const std::vector<std::uint8_t>& body) {
    header.bodyLen = static_cast<std::uint16_t>(body.size());
    const auto bytes = kvproto::EncodeHeader(header);
    std::vector<std::uint8_t> packet(kvproto::kHeaderSize + body.size());
    std::copy(bytes.begin(), bytes.end(), packet.begin());
    std::copy(body.begin(), body.end(), packet.begin() + kvproto::kHeaderSize);
    return packet;
}

// A refusal: the request's header with the status and no body.
std::vector<std::uint8_t> Refusal(const kvproto::PacketHeader& request, std::int16_t status) {
    kvproto::PacketHeader header = request;
    header.status = status;
    header.flagA = 0;
    header.flagB = 0;
    return Packet(header, {});
}

// An accepted setting: the request echoed with a good status.
std::vector<std::uint8_t> Echo(std::span<const std::uint8_t> request) {
    std::vector<std::uint8_t> packet(request.begin(), request.end());
    packet[4] = 0;
    packet[5] = 0;
    return packet;
}

bool WholeIn(double value, double low, double high) { return value >= low && value <= high && value == std::floor(value); }

}  // namespace

CReceiver::CReceiver() : signal_(scene_) {}

void CReceiver::SetScene(const SReceiverScene& scene) {
    scene_ = scene;
    signal_ = CReceiverSignal(scene_);
}

std::vector<std::uint8_t> CReceiver::Handle(std::span<const std::uint8_t> packet, std::string* log) {
    if (faults_.stopAfter) {
        if (*faults_.stopAfter == 0) {
            if (log != nullptr) *log = "receiver silent";
            return {};
        }
        --*faults_.stopAfter;
    }
    const SParsedRequest request = ParseRequest(packet);
    const kvproto::PacketHeader& h = request.header;
    if (log != nullptr) *log = "receiver: command " + std::to_string(h.command) + " param " + std::to_string(request.param);
    if (request.status != kNoError) return Refusal(h, request.status);
    const std::vector<double>& v = request.values;

    switch (h.command) {
    case kvproto::KV_TEST:
    case kvproto::KV_RESET:
    case kvproto::KV_INIT: return Refusal(h, kNoError);
    case kvproto::KV_RUN: return Run(std::vector<std::uint8_t>(packet.begin(), packet.end()));
    case kvproto::KV_SET: break;
    case kvproto::KV_GET:
        if (request.param == kvproto::kParamLogCoefficient) {
            std::vector<std::uint8_t> body{static_cast<std::uint8_t>(request.param), static_cast<std::uint8_t>(request.param >> 8), 0, 0, 0, 0};
            kvproto::EncodeValue(scene_.attenuation, kvproto::kFormatLogCoefficient, body.data() + 2);
            kvproto::PacketHeader header = h;
            header.status = kNoError;
            header.flagA = 1;
            header.flagB = kvproto::kFormatLogCoefficient;
            return Packet(header, body);
        }
        return Refusal(h, kUnknownParameter);
    default: return Refusal(h, kUnknownCommand);
    }

    if (v.empty()) return Refusal(h, kParameterIncorrect);
    switch (request.param) {
    case kvproto::kParamReceiverMode:
        if (!WholeIn(v[0], 0, kHighestMode)) return Refusal(h, kParameterIncorrect);
        mode_ = static_cast<std::uint16_t>(v[0]);
        clock_.reset();
        return Echo(packet);
    case kvproto::kParamAveraging:
        if (!WholeIn(v[0], 0, kHighestAveraging)) return Refusal(h, kParameterIncorrect);
        averaging_ = static_cast<std::uint8_t>(v[0]);
        return Echo(packet);
    case kvproto::kParamIfBandwidth:
        if (!WholeIn(v[0], 1, kHighestBandwidth)) return Refusal(h, kParameterIncorrect);
        bandwidth_ = v[0];
        return Echo(packet);
    case kvproto::kParamDetector:
        if (!WholeIn(v[0], 0, kHighestDetector)) return Refusal(h, kParameterIncorrect);
        detector_ = static_cast<std::uint8_t>(v[0]);
        return Echo(packet);
    case kvproto::kParamReceiverFrequency:
        if (std::any_of(v.begin(), v.end(), [](double x) { return !WholeIn(x, 0, kHighestFrequency); })) {
            return Refusal(h, kParameterIncorrect);
        }
        // One value tunes; the eight of a plan set up a measurement.
        if (v.size() == 1) {
            tuned_ = v[0];
        } else if (v.size() == kPlanValues) {
            if (v[1] < 1 || v[3] < v[0]) return Refusal(h, kParameterIncorrect);
            plan_ = v;
            tuned_ = v[0];
        } else {
            return Refusal(h, kParameterIncorrect);
        }
        return Echo(packet);
    case kvproto::kParamSampleClock: {
        // Raw sampling only: a whole, aligned piece of at most 8188 pairs.
        if (mode_ != kvproto::kModeRawSampling) return Refusal(h, kNoParameters);
        if (v.size() != 3 || !WholeIn(v[0], 0, 1e9) || !WholeIn(v[1], 4, kvproto::kMaxSamplesPerRequest) ||
            std::fmod(v[1], 4) != 0 || v[2] != 1) {
            return Refusal(h, kParameterIncorrect);
        }
        clock_ = {static_cast<std::uint32_t>(v[0]), static_cast<std::uint32_t>(v[1])};
        std::vector<std::uint8_t> answer = Echo(packet);
        kvproto::EncodeValue(v[1] + faults_.extraPairs, h.flagB, answer.data() + kvproto::kHeaderSize + 2 + kvproto::BytesPerValue(h.flagB));
        return answer;
    }
    default: return Refusal(h, kUnknownParameter);
    }
}

std::vector<std::uint8_t> CReceiver::Run(const std::vector<std::uint8_t>& request) {
    const kvproto::PacketHeader h = kvproto::DecodeHeader(request.data());
    kvproto::PacketHeader header = h;
    header.status = kNoError;
    if (mode_ == kvproto::kModeRawSampling) {
        if (!clock_) return Refusal(h, kNoParameters);
        const auto [offset, count] = *clock_;
        clock_.reset();
        const std::uint32_t pairs = count + faults_.extraPairs;
        std::vector<std::int32_t> iq;
        signal_.Samples(tuned_, offset, pairs, iq);
        std::vector<std::uint8_t> body(iq.size() * 4);
        for (std::size_t i = 0; i < iq.size(); ++i) {
            const auto u = static_cast<std::uint32_t>(iq[i]);
            for (int b = 0; b < 4; ++b) body[4 * i + b] = static_cast<std::uint8_t>(u >> (8 * b));
        }
        const auto change = static_cast<std::int64_t>(body.size()) + faults_.dataLengthChange;
        body.resize(static_cast<std::size_t>(std::clamp<std::int64_t>(change, 0, 0xFFFF)));
        header.status = faults_.dataStatus;
        header.flagA = 0;
        header.flagB = 0;
        ++dataPackets_;
        return Packet(header, body);
    }
    // Its own measurement: the scene's power around each point of the plan.
    if (plan_.empty() || !bandwidth_) return Refusal(h, kNoParameters);
    const auto points = static_cast<std::size_t>(std::min(plan_[1], (0xFFFF - 2) / 12.0));
    std::vector<std::uint8_t> body(points * kvproto::kMeasuredPointSize + kPointStatusSize, 0);
    for (std::size_t j = 0; j < points; ++j) {
        const double frequency = j + 1 == points && points > 1 ? plan_[3] : plan_[0] + static_cast<double>(j) * plan_[6];
        const auto value = static_cast<std::uint64_t>(std::min(signal_.PowerAround(frequency, *bandwidth_), 9.2e18));
        for (int b = 0; b < 8; ++b) body[j * kvproto::kMeasuredPointSize + b] = static_cast<std::uint8_t>(value >> (8 * b));
    }
    header.flagA = 1;
    header.flagB = kvproto::kFormatMeasuredPoint;
    return Packet(header, body);
}

}  // namespace z5rsim
