// The simulated measuring receiver (z5r-sim --receiver): the narrow-band
// set-up parameters, raw sampling (P_MODE 17: P_CLK then KV_RUN gives the
// samples asked for) and its own measurements in the other modes. One answer
// per request, refusals as the receiver's statuses.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "receiver_scene.h"

namespace z5rsim {

// Faults the control channel can make the receiver commit.
struct SReceiverFaults {
    std::uint32_t extraPairs = 0;          // a P_CLK answer promises more pairs than asked
    std::int32_t dataLengthChange = 0;     // data packets' bodies longer (+) or shorter (-), bytes
    std::int16_t dataStatus = 0;           // data packets carry this status
    std::optional<std::uint64_t> stopAfter;  // answers still given before it falls silent
};

class CReceiver {
public:
    CReceiver();
    std::vector<std::uint8_t> Handle(std::span<const std::uint8_t> packet, std::string* log = nullptr);

    void SetScene(const SReceiverScene& scene);
    const SReceiverScene& Scene() const { return scene_; }
    SReceiverFaults& Faults() { return faults_; }
    std::uint16_t Mode() const { return mode_; }
    std::uint64_t DataPackets() const { return dataPackets_; }

private:
    std::vector<std::uint8_t> Run(const std::vector<std::uint8_t>& request);

    SReceiverScene scene_;
    CReceiverSignal signal_;
    SReceiverFaults faults_;
    std::uint64_t dataPackets_ = 0;

    std::uint16_t mode_ = 0;
    std::uint8_t averaging_ = 0;
    std::vector<double> plan_;  // the eight plan values once set
    std::optional<double> bandwidth_;
    std::uint8_t detector_ = 0;
    double tuned_ = 0;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> clock_;  // offset, count
};

}  // namespace z5rsim
