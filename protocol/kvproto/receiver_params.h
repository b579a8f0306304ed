// What a measuring receiver and the library's software measurement agree on:
// the parameters of a narrow-band set-up, the raw sampling mode and the
// baseband sample stream it delivers.
#pragma once

#include <cstdint>

namespace kvproto {

enum EReceiverParam : std::uint16_t {
    kParamReceiverMode = 3,        // P_MODE
    kParamAveraging = 4,           // P_AVERAGING: 2^p acquisitions
    kParamSampleClock = 50,        // P_CLK: offset, count, 1
    kParamReceiverFrequency = 56,  // P_RRS_FREQUENCY: the plan, or the tuned frequency
    kParamIfBandwidth = 66,        // P_IF_FILTER_BANDWIDTH
    kParamDetector = 71,           // P_DISPLAY_DETECTOR
    kParamLogCoefficient = 94,     // P_LOG_KOEF: attenuation before sampling, dB
};

// The narrow-band mode the receiver cannot measure itself, and raw sampling.
inline constexpr std::uint16_t kModeNarrowBand = 15;
inline constexpr std::uint16_t kModeRawSampling = 17;

// Complex baseband samples per second in raw sampling.
inline constexpr double kSampleRate = 781250.0;
// The most sample pairs one request may ask for; counts are multiples of 4.
inline constexpr std::uint32_t kMaxSamplesPerRequest = 8188;

// Value formats on the wire (FlagB).
inline constexpr std::uint8_t kFormatMode = 0x20;
inline constexpr std::uint8_t kFormatFrequency = 0x60;
inline constexpr std::uint8_t kFormatLogCoefficient = 0x42;
inline constexpr std::uint8_t kFormatSampleClock = 0x40;
// A measured answer: one value of 12 bytes, 2 of them "fraction".
inline constexpr std::uint8_t kFormatMeasuredPoint = 0xC2;
inline constexpr std::uint32_t kMeasuredPointSize = 12;

}  // namespace kvproto
