#include "support/simulated_driver.h"

#include <sstream>

namespace drvtest {

using namespace korvel;

void SimulatedDriver::Start(const std::vector<std::string>& options) {
    if (SimulatorPath().empty()) GTEST_SKIP() << "z5r-sim is not built";
    sim_ = std::make_unique<CSimulator>(options);
    ASSERT_TRUE(sim_->Started()) << "z5r-sim did not report ready";
    driver_ = CreateDriver();
    ASSERT_TRUE(driver_);
    rf_ = Part<IKorvelV8NRF>(driver_, &IKorvelV8N::get_RF);
    sweep_ = Part<IKorvelV8NSweep>(driver_, &IKorvelV8N::get_Sweep);
    freqStep_ = Part<IKorvelV8NFrequencyStep>(sweep_, &IKorvelV8NSweep::get_FrequencyStep);
    powStep_ = Part<IKorvelV8NPowerStep>(sweep_, &IKorvelV8NSweep::get_PowerStep);
    list_ = Part<IKorvelV8NList>(sweep_, &IKorvelV8NSweep::get_List);
    system_ = Part<IKorvelV8NSystem>(driver_, &IKorvelV8N::get_System);
    utility_ = Part<IIviDriverUtility>(driver_, &IKorvelV8N::get_Utility);
    pulseMod_ = Part<IKorvelV8NPulseModulation>(driver_, &IKorvelV8N::get_PulseModulation);
    pulseGen_ = Part<IKorvelV8NPulseGenerator>(driver_, &IKorvelV8N::get_PulseGenerator);
    packetGen_ = Part<IKorvelV8NPulsePacketGenerator>(pulseGen_,
                                                      &IKorvelV8NPulseGenerator::get_PacketGenerator);
}

void SimulatedDriver::StartAndOpen(const std::vector<std::string>& options) {
    Start(options);
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_EQ(driver_->Initialize(sim_->Resource(), 0, 0, "GENERATOR,Timeout=300"), S_OK);
}

std::string SimulatedDriver::State(const std::string& key) {
    const auto state = sim_->State();
    const auto found = state.find(key);
    EXPECT_NE(found, state.end()) << key << " missing from the simulator's state";
    return found == state.end() ? std::string() : found->second;
}

std::vector<std::uint32_t> SimulatedDriver::DrainErrors(int limit) {
    std::vector<std::uint32_t> codes;
    for (int i = 0; i < limit; ++i) {
        std::int32_t code = -1;
        std::string message;
        const HRESULT hr = utility_->ErrorQuery(&code, &message);
        if (Failed(hr) || code == 0) return codes;
        codes.push_back(static_cast<std::uint32_t>(code));
    }
    ADD_FAILURE() << "the error queue did not end within " << limit << " queries";
    return codes;
}

std::vector<double> NumberList(const std::string& text) {
    std::vector<double> numbers;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        if (!item.empty()) numbers.push_back(std::stod(item));
    }
    return numbers;
}

}  // namespace drvtest
