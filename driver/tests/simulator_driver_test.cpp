// The driver against the simulated instrument over 127.0.0.1, through the
// VISA library: what the client relies on (clamping read back, limits,
// shortened lists, result codes, error-queue codes), checked against what
// the instrument says it holds.
#include <gtest/gtest.h>

#include <cmath>

#include "support/simulated_driver.h"

namespace {

using namespace korvel;
using drvtest::NumberList;

// The simulated instrument's documented limits.
constexpr double kMinFrequency = 1e7;
constexpr double kMaxFrequency = 2e10;
constexpr double kMinLevel = -110;
constexpr double kMaxListPoints = 5001;
constexpr std::size_t kMaxPacketPulses = 64;

#define START_OR_RETURN(...)                           \
    Start(__VA_ARGS__);                                \
    if (IsSkipped() || HasFatalFailure()) return
#define OPEN_OR_RETURN(...)                            \
    StartAndOpen(__VA_ARGS__);                         \
    if (IsSkipped() || HasFatalFailure()) return

class SimulatedInstrument : public drvtest::SimulatedDriver {};

TEST_F(SimulatedInstrument, LimitDiscoveryFindsTheInstrumentsRangesAndPointCount) {
    OPEN_OR_RETURN();
    // The client's sequence after connecting, results ignored as it ignores them.
    rf_->put_OutputEnabled(0);
    freqStep_->Configure(0, 110e9, 0, 110e9);
    double maxPow = 35, minPow = -200;
    rf_->put_Level(maxPow);
    rf_->get_Level(&maxPow);
    rf_->put_Level(minPow);
    rf_->get_Level(&minPow);
    sweep_->put_Mode(3);
    double minFreq = 0, maxFreq = 0;
    freqStep_->get_Start(&minFreq);
    freqStep_->get_Stop(&maxFreq);
    freqStep_->Configure(minFreq, maxFreq, 0, std::fabs(maxFreq - minFreq) * 1e-5);
    double s0 = 0, s1 = 0, st = 0;
    freqStep_->get_Start(&s0);
    freqStep_->get_Stop(&s1);
    freqStep_->get_Step(&st);
    const double maxPoints = std::trunc((s1 - s0) / (st + 0.001) + 1.5);

    EXPECT_EQ(minFreq, kMinFrequency);
    EXPECT_EQ(maxFreq, kMaxFrequency);
    EXPECT_EQ(maxPoints, 100001);
    EXPECT_EQ(minPow, kMinLevel);
    EXPECT_LT(maxPow, 35);
    EXPECT_GT(maxPow, 0);
    EXPECT_EQ(State("SweepMode"), "3");
    EXPECT_EQ(State("SweepStartFrequency"), "10000000");
    EXPECT_EQ(State("RfOutputEnabled"), "0");
}

TEST_F(SimulatedInstrument, RequestsOutOfRangeAreClampedAndReadBackAsHeld) {
    OPEN_OR_RETURN();
    EXPECT_EQ(rf_->put_Frequency(1e12), S_OK);
    double frequency = 0;
    EXPECT_EQ(rf_->get_Frequency(&frequency), S_OK);
    EXPECT_EQ(frequency, kMaxFrequency);
    EXPECT_EQ(State("CwFrequency"), "20000000000");

    // Far beyond what the wire format holds: saturated, then clamped.
    EXPECT_EQ(rf_->put_Frequency(-1e300), S_OK);
    EXPECT_EQ(rf_->get_Frequency(&frequency), S_OK);
    EXPECT_EQ(frequency, kMinFrequency);
    EXPECT_EQ(rf_->put_Level(-1e300), S_OK);
    double level = 0;
    EXPECT_EQ(rf_->get_Level(&level), S_OK);
    EXPECT_EQ(level, kMinLevel);

    // A value set and read in the row's units.
    std::int32_t phase = 0;
    EXPECT_EQ(system_->put_PhaseOffset(1000), S_OK);
    EXPECT_EQ(system_->get_PhaseOffset(&phase), S_OK);
    EXPECT_EQ(phase, 180);
    double dwell = 0;
    EXPECT_EQ(freqStep_->put_Dwell(0.0125), S_OK);
    EXPECT_EQ(freqStep_->get_Dwell(&dwell), S_OK);
    EXPECT_DOUBLE_EQ(dwell, 0.0125);
}

TEST_F(SimulatedInstrument, AListTooLongIsShortenedAndCorrectedAndTheCallerGetsWhatIsHeld) {
    OPEN_OR_RETURN();
    std::vector<double> frequencies(6000), levels(5500);
    for (std::size_t i = 0; i < frequencies.size(); ++i) frequencies[i] = 1e9 + 1000.0 * double(i);
    for (std::size_t i = 0; i < levels.size(); ++i) levels[i] = -double(i % 50);
    frequencies[3] = 5e10;  // beyond the range
    levels[7] = 99;         // beyond the ceiling
    ASSERT_EQ(list_->Configure("", frequencies, levels), S_OK);

    ASSERT_EQ(frequencies.size(), kMaxListPoints);
    ASSERT_EQ(levels.size(), kMaxListPoints);
    EXPECT_EQ(frequencies[3], kMaxFrequency);
    EXPECT_EQ(frequencies[5000], 1e9 + 5e6);
    EXPECT_LT(levels[7], 99);
    EXPECT_EQ(levels[8], -8);
    EXPECT_EQ(NumberList(State("ListFrequencies")), frequencies);
    EXPECT_EQ(NumberList(State("ListLevels")), levels);
}

TEST_F(SimulatedInstrument, AListKeptAsSentStaysAsSent) {
    OPEN_OR_RETURN();
    std::vector<double> frequencies{1e9, 2e9, 3e9}, levels{-1, -2};
    ASSERT_EQ(list_->Configure("", frequencies, levels), S_OK);
    EXPECT_EQ(frequencies, (std::vector<double>{1e9, 2e9, 3e9}));
    EXPECT_EQ(levels, (std::vector<double>{-1, -2}));
    EXPECT_EQ(NumberList(State("ListFrequencies")), frequencies);
}

TEST_F(SimulatedInstrument, APulsePacketIsReadBackWhenTheInstrumentCorrectsIt) {
    OPEN_OR_RETURN();
    std::vector<double> widths(kMaxPacketPulses + 6, 1e-6), gaps(kMaxPacketPulses + 6, 2e-6);
    widths[0] = 1.234e-6;  // off the 10 ns grid
    gaps[1] = -5e-6;       // a gap cannot be negative
    ASSERT_EQ(packetGen_->Load(1, widths, gaps), S_OK);
    ASSERT_EQ(widths.size(), kMaxPacketPulses);
    ASSERT_EQ(gaps.size(), kMaxPacketPulses);
    EXPECT_NEAR(widths[0], 1.23e-6, 1e-12);
    EXPECT_EQ(gaps[1], 0);
    EXPECT_EQ(NumberList(State("PacketWidths")), widths);
    EXPECT_EQ(NumberList(State("PacketGaps")), gaps);
    EXPECT_EQ(State("PacketEnabled"), "1");
}

TEST_F(SimulatedInstrument, WithoutTheGeneratorOptionTheSynthesizerIsUnsupported) {
    START_OR_RETURN();
    EXPECT_EQ(driver_->Initialize(sim_->Resource(), 0, 0, ""), KORVEL_E_UNSUPPORTED_INSTRUMENT);
    EXPECT_EQ(driver_->Initialize(sim_->Resource(), 0, 0, "generator"), S_OK);
}

TEST_F(SimulatedInstrument, ARefusedPortIsInstrumentNotFound) {
    START_OR_RETURN();
    const std::string resource = sim_->Resource();
    sim_->Kill();
    EXPECT_EQ(driver_->Initialize(resource, 0, 0, "GENERATOR"), KORVEL_E_INSTRUMENT_NOT_FOUND);
    double frequency = 0;
    EXPECT_EQ(rf_->get_Frequency(&frequency), KORVEL_E_NOT_INITIALIZED);
}

TEST_F(SimulatedInstrument, AModelWithoutPulseModulationRefusesEveryPulseOperationSilently) {
    OPEN_OR_RETURN({"--no-pulse"});
    const std::string requestsBefore = State("Requests");
    VARIANT_BOOL on = 0;
    double seconds = 0;
    std::vector<double> widths{1e-6}, gaps{1e-6};
    EXPECT_EQ(pulseMod_->get_Enabled(&on), KORVEL_E_NO_PULSE_MODULATION);
    EXPECT_EQ(pulseMod_->put_Enabled(1), KORVEL_E_NO_PULSE_MODULATION);
    EXPECT_EQ(pulseMod_->put_Source(1), KORVEL_E_NO_PULSE_MODULATION);
    EXPECT_EQ(pulseGen_->put_Period(1e-5), KORVEL_E_NO_PULSE_MODULATION);
    EXPECT_EQ(pulseGen_->get_Width(&seconds), KORVEL_E_NO_PULSE_MODULATION);
    EXPECT_EQ(packetGen_->put_Enabled(0), KORVEL_E_NO_PULSE_MODULATION);
    EXPECT_EQ(packetGen_->Load(1, widths, gaps), KORVEL_E_NO_PULSE_MODULATION);
    EXPECT_EQ(State("Requests"), requestsBefore);
    // The rest works as usual.
    EXPECT_EQ(rf_->put_Frequency(2e9), S_OK);
}

TEST_F(SimulatedInstrument, PulseModulationWorksOnAModelThatHasIt) {
    OPEN_OR_RETURN();
    VARIANT_BOOL on = 1;
    EXPECT_EQ(pulseMod_->get_Enabled(&on), S_OK);
    EXPECT_EQ(pulseMod_->put_Enabled(1), S_OK);
    EXPECT_EQ(pulseMod_->get_Enabled(&on), S_OK);
    EXPECT_EQ(on, 1);
    EXPECT_EQ(State("PulseModEnabled"), "1");
}

TEST_F(SimulatedInstrument, AKilledInstrumentGivesAVisaCodeThenAnEmptyQueue) {
    OPEN_OR_RETURN();
    sim_->Kill();
    // The client's poll: the error queue first.
    const auto codes = DrainErrors();
    ASSERT_EQ(codes.size(), 1u);
    EXPECT_GE(codes[0], 0xBFFF0000u);
    EXPECT_LE(codes[0], 0xBFFF00A8u);
    // Operations fail as transfers; each failure is one more entry, and the
    // queue still ends.
    VARIANT_BOOL button = 0;
    EXPECT_EQ(system_->get_RfButton(&button), KORVEL_E_IO);
    EXPECT_EQ(rf_->put_OutputEnabled(0), KORVEL_E_IO);
    EXPECT_EQ(DrainErrors().size(), 2u);
    EXPECT_TRUE(DrainErrors().empty());
}

TEST_F(SimulatedInstrument, ASilentInstrumentTimesOutAndComesBackWhenItAnswersAgain) {
    OPEN_OR_RETURN();
    sim_->Control("mute on");
    double frequency = 0;
    EXPECT_EQ(rf_->get_Frequency(&frequency), KORVEL_E_IO);
    EXPECT_EQ(DrainErrors(), std::vector<std::uint32_t>{0xBFFF0015u});
    sim_->Control("mute off");
    EXPECT_EQ(rf_->get_Frequency(&frequency), S_OK);
    EXPECT_TRUE(DrainErrors().empty());
}

TEST_F(SimulatedInstrument, ADroppedConnectionIsReopenedByTheNextOperation) {
    OPEN_OR_RETURN();
    sim_->Control("drop");
    EXPECT_EQ(rf_->put_Frequency(3e9), S_OK);
    EXPECT_EQ(State("CwFrequency"), "3000000000");
    EXPECT_EQ(State("Connections"), "2");
}

TEST_F(SimulatedInstrument, ALostReferenceAndAnInjectedErrorReachTheErrorQueue) {
    OPEN_OR_RETURN();
    EXPECT_EQ(system_->put_ExtRefEnabled(1), S_OK);
    sim_->Control("lose-ref");
    sim_->Control("error -32761");
    std::int32_t code = 0;
    std::string message;
    EXPECT_EQ(utility_->ErrorQuery(&code, &message), S_OK);
    EXPECT_EQ(static_cast<std::uint32_t>(code), 0xFFFF801Cu);
    EXPECT_EQ(message, "Нет захвата синтезатора опорной частоты");
    EXPECT_EQ(utility_->ErrorQuery(&code, &message), S_OK);
    EXPECT_EQ(static_cast<std::uint32_t>(code), 0xFFFF8007u);
    EXPECT_EQ(utility_->ErrorQuery(&code, &message), S_OK);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(message, "");

    VARIANT_BOOL locked = 1, enabled = 1;
    EXPECT_EQ(system_->get_ExtRefLocked(&locked), S_OK);
    EXPECT_EQ(locked, 0);
    EXPECT_EQ(system_->get_ExtRefEnabled(&enabled), S_OK);
    EXPECT_EQ(enabled, 0);
}

TEST_F(SimulatedInstrument, TheSerialNumberShowsSecureMode) {
    OPEN_OR_RETURN({"--secure", "--serial", "Z5R-0042", "--name", "Bench synthesizer"});
    std::string serial, name;
    EXPECT_EQ(system_->get_SerialNumber(&serial), S_OK);
    EXPECT_EQ(serial, "Z5R-0042*");
    EXPECT_EQ(system_->get_Name(&name), S_OK);
    EXPECT_EQ(name, "Bench synthesizer");
}

TEST_F(SimulatedInstrument, ClosingFreesTheInstrumentForTheNextClient) {
    OPEN_OR_RETURN();
    EXPECT_EQ(driver_->Close(), S_OK);
    auto second = drvtest::CreateDriver();
    ASSERT_EQ(second->Initialize(sim_->Resource(), 0, 0, "GENERATOR,Timeout=300"), S_OK);
    auto secondRf = drvtest::Part<IKorvelV8NRF>(second, &IKorvelV8N::get_RF);
    EXPECT_EQ(secondRf->put_Level(-20), S_OK);
    EXPECT_EQ(State("Level"), "-20.00");
}

}  // namespace
