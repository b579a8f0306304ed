// The driver call sequences of the session's operations and what they read
// back into the caller's values.
#include <cmath>

#include "device_fixture.h"

namespace coretest {
namespace {

TEST_F(DeviceTest, FrequenciesAreRoundedToWholeHertzBeforeTheyReachTheDriver) {
    z5r::CDevice& device = Connected();
    double level = -10;
    double frequency = 1e9 + 0.4;
    EXPECT_EQ(device.SetFixFreqPow(frequency, level), 0);
    frequency = 1e9 + 0.5;
    device.SetFixFreqPow(frequency, level);
    EXPECT_EQ(fake->log[0], "RF.Configure(1000000000, -10)");
    EXPECT_EQ(fake->log[2], "RF.Configure(1000000001, -10)");
    EXPECT_EQ(frequency, 1000000001.0);

    device.SetSweepMode(z5r::omFixed);
    fake->log.clear();
    double start = 2e9 + 0.4, stop = 0;
    device.SetFreq(start, stop, 1);
    EXPECT_EQ(fake->log, (Log{"RF.put_Frequency(2000000000)", "RF.get_Frequency()"}));
    EXPECT_EQ(start, 2e9);

    device.SetSweepMode(z5r::omListSweep);
    fake->log.clear();
    std::vector<double> frequencies{1e9 + 0.4, 1e9 + 0.5};
    std::vector<double> levels{0, 1};
    device.SetLists(frequencies, levels);
    EXPECT_EQ(fake->log, (Log{"List.Configure(\"\", [1000000000,1000000001], [0,1])"}));
    EXPECT_EQ(frequencies, (std::vector<double>{1000000000, 1000000001}));
}

TEST_F(DeviceTest, AFixedLevelBelowTheRequestLowersTheHighestLevel) {
    fake->maxLevel = 15;
    z5r::CDevice& device = Connected();
    double frequency = 1e9, level = 20;
    device.SetFixFreqPow(frequency, level);
    EXPECT_EQ(level, 15.0);
    double low, high, points;
    device.GetPowRange(low, high, points);
    EXPECT_EQ(high, 15.0);
}

TEST_F(DeviceTest, SweepModeReachesTheDriverOnlyWhenItChanges) {
    // A new session starts at mode 0: asking for it sends nothing.
    EXPECT_EQ(NewDevice().SetSweepMode(z5r::omFixed), 0);
    EXPECT_TRUE(fake->log.empty());
    EXPECT_FALSE(device->ModeChanged());

    z5r::CDevice& device = Connected();  // the discovery left mode 1 behind
    EXPECT_EQ(device.SetSweepMode(z5r::omFrequencySweep), 0);
    EXPECT_TRUE(fake->log.empty());
    device.SetSweepMode(z5r::omFixed);
    device.SetSweepMode(z5r::omFixed);
    device.SetSweepMode(z5r::omPowerSweep);
    device.SetSweepMode(z5r::omFrequencyPowerSweep);
    device.SetSweepMode(z5r::omListSweep);
    device.SetSweepMode(z5r::omFrequencySweep);
    EXPECT_EQ(fake->log, (Log{"Sweep.put_Mode(0)", "Sweep.put_Mode(4)", "Sweep.put_Mode(5)",
                              "Sweep.put_Mode(5)", "Sweep.put_Mode(3)"}));
    EXPECT_TRUE(device.ModeChanged());
}

TEST_F(DeviceTest, ARefusedSweepModeIsSentAgainWhenRepeated) {
    z5r::CDevice& device = Connected();
    fake->failures["Sweep.put_Mode"] = korvel::E_FAIL;
    EXPECT_EQ(device.SetSweepMode(z5r::omFixed), korvel::E_FAIL);
    fake->failures.clear();
    EXPECT_EQ(device.SetSweepMode(z5r::omFixed), 0);
    EXPECT_EQ(fake->log, (Log{"Sweep.put_Mode(0)", "Sweep.put_Mode(0)"}));
    fake->log.clear();
    device.SetSweepMode(z5r::omFixed);
    EXPECT_TRUE(fake->log.empty());
}

TEST_F(DeviceTest, TriggerSourceMapsEveryOtherIndexToManual) {
    z5r::CDevice& device = Connected();
    for (int index : {0, 1, 2, 7}) device.SetTriggerSource(index);
    EXPECT_EQ(fake->log, (Log{"Sweep.put_TriggerSource(0)", "Sweep.put_TriggerSource(1)",
                              "Sweep.put_TriggerSource(2)", "Sweep.put_TriggerSource(2)"}));
}

TEST_F(DeviceTest, SweptFrequencyWithZeroIntervalsSendsTheFullSpanAndReadsBack) {
    fake->maxFreq = 20e9;
    z5r::CDevice& device = Connected();
    double start = 1e9, stop = 30e9;
    EXPECT_EQ(device.SetFreq(start, stop, 0), 0);
    EXPECT_EQ(fake->log, (Log{"FrequencyStep.Configure(1000000000, 30000000000, 0, 29000000000)",
                              "FrequencyStep.get_Start()", "FrequencyStep.get_Stop()"}));
    EXPECT_EQ(start, 1e9);
    EXPECT_EQ(stop, 20e9);

    fake->log.clear();
    start = 1e9;
    stop = 2e9;
    device.SetFreq(start, stop, 4);
    EXPECT_EQ(fake->log.front(), "FrequencyStep.Configure(1000000000, 2000000000, 0, 250000000)");
}

TEST_F(DeviceTest, FrequencyAndLevelFollowTheRequestedMode) {
    z5r::CDevice& device = Connected();
    double start = 1e9, stop = 2e9;
    device.SetSweepMode(z5r::omPowerSweep);  // frequency fixed
    fake->log.clear();
    device.SetFreq(start, stop, 1);
    EXPECT_EQ(fake->log.front(), "RF.put_Frequency(1000000000)");

    device.SetSweepMode(z5r::omFrequencyPowerSweep);  // frequency swept
    fake->log.clear();
    device.SetFreq(start, stop, 1);
    EXPECT_EQ(fake->log.front(), "FrequencyStep.Configure(1000000000, 2000000000, 0, 1000000000)");

    device.SetSweepMode(z5r::omListSweep);  // the lists carry both
    fake->log.clear();
    EXPECT_EQ(device.SetFreq(start, stop, 1), -1);
    double low = -10, high = 0;
    EXPECT_EQ(device.SetPow(low, high, 1), -1);
    EXPECT_TRUE(fake->log.empty());
    EXPECT_TRUE(prompt.Shown().empty());
}

TEST_F(DeviceTest, FixedLevelReadBackReplacesTheStartAndMayLowerTheHighestLevel) {
    fake->maxLevel = 15;
    z5r::CDevice& device = Connected();
    device.SetSweepMode(z5r::omFixed);
    fake->log.clear();
    double start = -10, stop = -10;
    EXPECT_EQ(device.SetPow(start, stop, 1), 0);
    EXPECT_EQ(fake->log, (Log{"RF.put_Level(-10)", "RF.get_Level()"}));
    double low, high, points;
    device.GetPowRange(low, high, points);
    EXPECT_EQ(high, 15.0);  // accepted as asked: unchanged

    start = stop = 20;
    device.SetPow(start, stop, 1);
    EXPECT_EQ(start, 15.0);
    device.GetPowRange(low, high, points);
    EXPECT_EQ(high, 15.0);
}

TEST_F(DeviceTest, SweptLevelWithZeroIntervalsSendsTheFullSpanAndKeepsSmallDifferences) {
    fake->minLevel = -110;
    z5r::CDevice& device = Connected();
    device.SetSweepMode(z5r::omPowerSweep);
    fake->log.clear();
    double start = -120, stop = 10;
    EXPECT_EQ(device.SetPow(start, stop, 0), 0);
    EXPECT_EQ(fake->log, (Log{"PowerStep.Configure(-120, 10, 130)", "PowerStep.get_Start()",
                              "PowerStep.get_Stop()"}));
    EXPECT_EQ(start, -110.0);
    EXPECT_EQ(stop, 10.0);

    fake->answers["PowerStep.get_Start"] = -20.005;  // within 0.011 dB: the request stays
    fake->answers["PowerStep.get_Stop"] = 0.02;      // beyond: replaced
    start = -20;
    stop = 0;
    device.SetPow(start, stop, 10);
    EXPECT_EQ(start, -20.0);
    EXPECT_EQ(stop, 0.02);
}

TEST_F(DeviceTest, ListsNeedBothSidesAndShrinkToWhatTheDriverKept) {
    z5r::CDevice& device = Connected();
    std::vector<double> none;
    std::vector<double> levels{0};
    EXPECT_EQ(device.SetLists(none, levels), -1);
    std::vector<double> frequencies{1e9};
    EXPECT_EQ(device.SetLists(frequencies, none), -1);
    EXPECT_TRUE(fake->log.empty());
    EXPECT_TRUE(prompt.Shown().empty());

    fake->editList = [](std::vector<double>& f, std::vector<double>& l) {
        f.resize(2);
        l.resize(1);
    };
    frequencies = {1e9, 2e9, 3e9};
    levels = {-1, -2, -3};
    EXPECT_EQ(device.SetLists(frequencies, levels), 0);
    EXPECT_EQ(frequencies, (std::vector<double>{1e9, 2e9}));
    EXPECT_EQ(levels, (std::vector<double>{-1}));

    fake->editList = [](std::vector<double>& f, std::vector<double>&) { f.push_back(4e9); };
    frequencies = {1e9};
    levels = {0};
    device.SetLists(frequencies, levels);
    EXPECT_EQ(frequencies, (std::vector<double>{1e9, 4e9}));
}

TEST_F(DeviceTest, DwellPassesEachReadBackOnAndOnlyNegativeResultsFail) {
    fake->minDwell = 0.001;
    z5r::CDevice& device = Connected();
    double dwell = 1e-5;
    EXPECT_EQ(device.SetDwell(dwell), 0);
    EXPECT_EQ(fake->log, (Log{"FrequencyStep.put_Dwell(1e-05)", "FrequencyStep.get_Dwell()",
                              "PowerStep.put_Dwell(0.001)", "PowerStep.get_Dwell()",
                              "List.put_Dwell(0.001)", "List.get_Dwell()"}));
    EXPECT_EQ(dwell, 0.001);

    fake->failures["PowerStep.put_Dwell"] = korvel::S_FALSE;  // a warning, not a failure
    dwell = 0.5;
    device.SetDwell(dwell);
    EXPECT_EQ(dwell, 0.5);
    EXPECT_TRUE(prompt.Shown().empty());
}

TEST_F(DeviceTest, SinglePointAcceptsOnlyZeroOrOne) {
    z5r::CDevice& device = Connected();
    int flag = 2;
    EXPECT_EQ(device.SetSinglePoint(flag), -1);
    EXPECT_TRUE(fake->log.empty());

    flag = 1;
    fake->answers["PowerStep.get_SinglePoint"] = 0;  // the power step refuses
    EXPECT_EQ(device.SetSinglePoint(flag), 0);
    EXPECT_EQ(fake->log, (Log{"FrequencyStep.put_SinglePoint(1)", "FrequencyStep.get_SinglePoint()",
                              "PowerStep.put_SinglePoint(1)", "PowerStep.get_SinglePoint()",
                              "List.put_SinglePoint(0)", "List.get_SinglePoint()"}));
    EXPECT_EQ(flag, 0);
}

TEST_F(DeviceTest, SyncOutModeTranslatesBothWays) {
    z5r::CDevice& device = Connected();
    struct SCase {
        int index;
        const char* sent;
        int readBack;
    };
    const SCase cases[] = {{0, "0", 0}, {1, "1001", 1}, {2, "1002", 2}, {3, "1003", 3}, {4, "1", 4}, {9, "0", 0}};
    for (const SCase& c : cases) {
        fake->log.clear();
        int mode = c.index;
        device.SetSyncOutMode(mode);
        EXPECT_EQ(fake->log.front(), std::string("TriggerOutput.put_Mode(") + c.sent + ")");
        EXPECT_EQ(mode, c.readBack) << c.index;
    }
    fake->answers["TriggerOutput.get_Mode"] = 55;
    int mode = 1;
    device.SetSyncOutMode(mode);
    EXPECT_EQ(mode, 0);
}

TEST_F(DeviceTest, FlagsReadBackAsTrueOnlyForOne) {
    z5r::CDevice& device = Connected();
    bool inverted = true;
    fake->answers["TriggerOutput.get_Inverted"] = -1;
    device.SetSyncOutInverse(inverted);
    EXPECT_FALSE(inverted);
    bool enabled = true;
    device.SetSyncOutEnabled(enabled);
    EXPECT_TRUE(enabled);
    bool epc = true;
    device.SetEpc(epc);
    bool syncIn = true;
    device.SetSyncInInverse(syncIn);
    bool extRef = true;
    device.SetExtRef(extRef);
    EXPECT_EQ(fake->log, (Log{"TriggerOutput.put_Inverted(1)", "TriggerOutput.get_Inverted()",
                              "TriggerOutput.put_Enabled(1)", "TriggerOutput.get_Enabled()",
                              "System.put_ExtPowerControl(1)", "System.get_ExtPowerControl()",
                              "System.put_TriggerInputInverted(1)", "System.get_TriggerInputInverted()",
                              "System.put_ExtRefEnabled(1)", "System.get_ExtRefEnabled()"}));
}

TEST_F(DeviceTest, ValuesAreReadBackFromTheSystem) {
    z5r::CDevice& device = Connected();
    fake->answers["TriggerOutput.get_Duration"] = 0.00025;
    fake->answers["System.get_AttStrategy"] = 1;
    fake->answers["System.get_ExtRefFrequency"] = 100e6;
    fake->answers["System.get_PhaseOffset"] = 180;
    double duration = 0.000255;
    int strategy = 3;
    double reference = 99e6;
    std::int32_t phase = 200;
    EXPECT_EQ(device.SetSyncOutTime(duration), 0);
    EXPECT_EQ(device.SetAttStrategy(strategy), 0);
    EXPECT_EQ(device.SetExtRefFreq(reference), 0);
    EXPECT_EQ(device.SetPhase(phase), 0);
    EXPECT_EQ(duration, 0.00025);
    EXPECT_EQ(strategy, 1);
    EXPECT_EQ(reference, 100e6);
    EXPECT_EQ(phase, 180);
    EXPECT_EQ(fake->log, (Log{"TriggerOutput.put_Duration(0.000255)", "TriggerOutput.get_Duration()",
                              "System.put_AttStrategy(3)", "System.get_AttStrategy()",
                              "System.put_ExtRefFrequency(99000000)", "System.get_ExtRefFrequency()",
                              "System.put_PhaseOffset(200)", "System.get_PhaseOffset()"}));
}

TEST_F(DeviceTest, AFailingReadBackKeepsTheRequest) {
    z5r::CDevice& device = Connected();
    fake->failures["FrequencyStep.get_Stop"] = korvel::E_FAIL;
    fake->maxFreq = 20e9;
    double start = 1e9, stop = 30e9;
    EXPECT_EQ(device.SetFreq(start, stop, 1), 0);
    EXPECT_EQ(stop, 30e9);
    EXPECT_TRUE(prompt.Shown().empty());
}

TEST_F(DeviceTest, RfStateFollowsTheReadBack) {
    z5r::CDevice& device = Connected();
    bool on = true;
    EXPECT_EQ(device.SetRf(on), 0);
    EXPECT_TRUE(on);
    EXPECT_TRUE(device.IsRfOn());
    fake->answers["RF.get_OutputEnabled"] = 0;  // the instrument kept it off
    on = true;
    device.SetRf(on);
    EXPECT_FALSE(on);
    EXPECT_FALSE(device.IsRfOn());
    EXPECT_FALSE(NewDevice().IsRfOn());
}

TEST_F(DeviceTest, StatusReadsCountFailuresAsTrue) {
    z5r::CDevice& device = Connected();
    fake->rfButton = 2;  // only 1 counts as on for the button
    fake->locked = 2;    // any non-zero counts for the lamps
    fake->extRefLocked = 0;
    fake->levelSettled = 0;
    EXPECT_FALSE(device.GetRfButton());
    EXPECT_TRUE(device.GetLock());
    EXPECT_FALSE(device.GetExtRefLock());
    EXPECT_FALSE(device.GetLevelSettled());
    for (const char* op : {"System.get_RfButton", "System.get_Locked", "System.get_ExtRefLocked",
                           "System.get_LevelSettled"})
        fake->failures[op] = korvel::KORVEL_E_IO;
    EXPECT_TRUE(device.GetRfButton());
    EXPECT_TRUE(device.GetLock());
    EXPECT_TRUE(device.GetExtRefLock());
    EXPECT_TRUE(device.GetLevelSettled());
    EXPECT_TRUE(prompt.Shown().empty());

    fake->missingInterfaces.insert("Root.get_System");
    z5r::CDevice& bare = Connected();
    EXPECT_FALSE(bare.GetRfButton());
    EXPECT_FALSE(bare.GetLock());
    EXPECT_TRUE(bare.ProbeAttStrategy());
    std::string name = "kept";
    EXPECT_EQ(bare.GetName(name), -1);
    EXPECT_EQ(name, "kept");
}

TEST_F(DeviceTest, AttenuatorStrategyProbeAndName) {
    z5r::CDevice& device = Connected();
    EXPECT_TRUE(device.ProbeAttStrategy());
    fake->failures["System.put_AttStrategy"] = korvel::KORVEL_E_INSTRUMENT_STATUS;
    EXPECT_FALSE(device.ProbeAttStrategy());
    EXPECT_EQ(fake->log, (Log{"System.put_AttStrategy(0)", "System.put_AttStrategy(0)"}));
    std::string name;
    EXPECT_EQ(device.GetName(name), 0);
    EXPECT_EQ(name, "Z5R-40");
    EXPECT_TRUE(prompt.Shown().empty());
}

TEST_F(DeviceTest, TriggerSendsOneSoftwareTrigger) {
    EXPECT_EQ(Connected().Trigger(), 0);
    EXPECT_EQ(fake->log, (Log{"Root.SendTrigger()"}));
}

TEST_F(DeviceTest, PeriodicPulseSwitchesModulationOffSetsTimesAndComputesTheDutyFactor) {
    z5r::CDevice& device = Connected();
    fake->pulseModEnabled = 1;
    double width = 1e-6, period = 4e-6, duty = 0;
    EXPECT_EQ(device.SetPeriodicPulse(width, period, duty), 0);
    EXPECT_EQ(fake->log, (Log{"PulseModulation.get_Enabled()", "PulseModulation.put_Enabled(0)",
                              "PacketGenerator.put_Enabled(0)", "PulseGenerator.put_Period(4e-06)",
                              "PulseGenerator.put_Width(1e-06)", "PulseModulation.put_Enabled(1)",
                              "PulseGenerator.get_Period()", "PulseGenerator.get_Width()"}));
    EXPECT_DOUBLE_EQ(duty, 4.0);

    // The width the instrument kept decides: 0 or longer than the period.
    fake->answers["PulseGenerator.get_Width"] = 0;
    device.SetPeriodicPulse(width, period, duty);
    EXPECT_EQ(duty, -1.0);
    fake->answers["PulseGenerator.get_Width"] = 5e-6;
    device.SetPeriodicPulse(width, period, duty);
    EXPECT_EQ(duty, -1.0);
    fake->answers["PulseGenerator.get_Width"] = 4e-6;
    device.SetPeriodicPulse(width, period, duty);
    EXPECT_DOUBLE_EQ(duty, 1.0);
}

TEST_F(DeviceTest, PacketIsLoadedAndReadBackWithItsPeriodCoveringThePulses) {
    z5r::CDevice& device = Connected();
    std::vector<z5r::SPulse> pulses = {{1e-6, 1e-5, 10, true}, {2e-6, 1e-6, 0.5, false}};
    double packetPeriod = 1e-6;
    EXPECT_EQ(device.LoadPacket(pulses, packetPeriod), 0);
    EXPECT_EQ(fake->log, (Log{"PulseModulation.get_Enabled()", "PulseGenerator.put_Period(1e-06)",
                              "PulseModulation.put_Enabled(1)",
                              "PacketGenerator.Load(1, [1e-06,2e-06], [9e-06,0])",
                              "PulseGenerator.get_Period()"}));
    ASSERT_EQ(pulses.size(), 2u);
    EXPECT_DOUBLE_EQ(pulses[0].period, 1e-5);
    EXPECT_DOUBLE_EQ(pulses[0].q, 10.0);
    EXPECT_DOUBLE_EQ(pulses[1].period, 2e-6);
    EXPECT_EQ(pulses[1].q, 1.0);  // the last pulse
    EXPECT_FALSE(pulses[1].used);
    EXPECT_DOUBLE_EQ(packetPeriod, 1.2e-5);  // the sum replaces a shorter period
}

TEST_F(DeviceTest, PacketTakesTheLengthTheInstrumentReturned) {
    z5r::CDevice& device = Connected();
    fake->editPacket = [](std::vector<double>& widths, std::vector<double>& gaps) {
        widths = {3e-6, 0, 2e-6};
        gaps = {1e-6, 5e-6};  // the third gap missing
    };
    std::vector<z5r::SPulse> pulses = {{1e-6, 1e-5, 10, false}};
    double packetPeriod = 1e-3;
    device.LoadPacket(pulses, packetPeriod);
    ASSERT_EQ(pulses.size(), 3u);
    EXPECT_FALSE(pulses[0].used);
    EXPECT_DOUBLE_EQ(pulses[0].q, 4e-6 / 3e-6);
    EXPECT_EQ(pulses[1].q, 0.0);  // no width
    EXPECT_DOUBLE_EQ(pulses[1].period, 5e-6);
    EXPECT_TRUE(pulses[2].used);  // new pulses start from the defaults
    EXPECT_DOUBLE_EQ(pulses[2].period, 2e-6);
    EXPECT_EQ(packetPeriod, 1e-3);

    fake->editPacket = [](std::vector<double>& widths, std::vector<double>& gaps) {
        widths.clear();
        gaps.clear();
    };
    device.LoadPacket(pulses, packetPeriod);
    EXPECT_TRUE(pulses.empty());
}

TEST_F(DeviceTest, PulseSourceAndModulationOff) {
    z5r::CDevice& device = Connected();
    EXPECT_EQ(device.SetPulseSource(1), 0);
    EXPECT_EQ(device.PulseModOff(), 0);
    EXPECT_EQ(device.PulseModOff(), 0);  // already off: only asked
    EXPECT_EQ(fake->log, (Log{"PulseModulation.put_Source(1)", "PulseModulation.put_Enabled(1)",
                              "PulseModulation.get_Enabled()", "PulseModulation.put_Enabled(0)",
                              "PulseModulation.get_Enabled()"}));

    fake->missingInterfaces.insert("PulseGenerator.get_PacketGenerator");
    z5r::CDevice& partial = Connected();
    double width = 1e-6, period = 2e-6, duty = 0;
    std::vector<z5r::SPulse> pulses(1);
    EXPECT_EQ(partial.SetPeriodicPulse(width, period, duty), -1);
    EXPECT_EQ(partial.LoadPacket(pulses, period), -1);
    EXPECT_EQ(partial.SetPulseSource(0), -1);
    EXPECT_TRUE(fake->log.empty());
}

TEST_F(DeviceTest, ErrorQueueIsReadUntilItIsEmpty) {
    z5r::CDevice& device = Connected();
    fake->errorQueue = {{-32740, "no reference"}, {-1073807339, "timeout"}};
    std::vector<z5r::SError> errors{{"earlier", 5}};
    EXPECT_EQ(device.ReadErrors(errors), 0);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[1].code, -32740);
    EXPECT_EQ(errors[1].text, "no reference");
    EXPECT_EQ(errors[2].code, -1073807339);
    EXPECT_EQ(fake->log.size(), 3u);

    // A query that fails ends the reading instead of asking for ever.
    fake->errorQueue = {{1, "a"}};
    fake->failures["Utility.ErrorQuery"] = korvel::KORVEL_E_IO;
    errors.clear();
    EXPECT_EQ(device.ReadErrors(errors), korvel::KORVEL_E_IO);
    EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace coretest
