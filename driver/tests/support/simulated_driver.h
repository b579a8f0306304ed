// A driver connected to its own simulated instrument, with the interface
// references the client holds.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/driver_factory.h"
#include "support/simulator_process.h"

namespace drvtest {

class SimulatedDriver : public ::testing::Test {
protected:
    // Starts the simulator with `options` and fetches the interfaces; the
    // driver is not initialised yet.
    void Start(const std::vector<std::string>& options = {});
    // Start, then Initialize with "GENERATOR" and a short time-out.
    void StartAndOpen(const std::vector<std::string>& options = {});
    std::string State(const std::string& key);
    // ErrorQuery until code 0, at most `limit` times; the codes before 0.
    std::vector<std::uint32_t> DrainErrors(int limit = 10);

    std::unique_ptr<CSimulator> sim_;
    korvel::ComPtr<korvel::IKorvelV8N> driver_;
    korvel::ComPtr<korvel::IKorvelV8NRF> rf_;
    korvel::ComPtr<korvel::IKorvelV8NSweep> sweep_;
    korvel::ComPtr<korvel::IKorvelV8NFrequencyStep> freqStep_;
    korvel::ComPtr<korvel::IKorvelV8NPowerStep> powStep_;
    korvel::ComPtr<korvel::IKorvelV8NList> list_;
    korvel::ComPtr<korvel::IKorvelV8NSystem> system_;
    korvel::ComPtr<korvel::IIviDriverUtility> utility_;
    korvel::ComPtr<korvel::IKorvelV8NPulseModulation> pulseMod_;
    korvel::ComPtr<korvel::IKorvelV8NPulseGenerator> pulseGen_;
    korvel::ComPtr<korvel::IKorvelV8NPulsePacketGenerator> packetGen_;
};

// Doubles from a comma-separated state value.
std::vector<double> NumberList(const std::string& text);

}  // namespace drvtest
