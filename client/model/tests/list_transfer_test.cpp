// The list transfer against a fake driver session, a recording window and
// the scripted prompt.
#include "model/list_transfer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/profile_enums.h"
#include "core/z5r_device.h"
#include "ui/scripted_prompt.h"

namespace z5r {
namespace {

class CFakeSession : public IListSession {
public:
    bool connected = true;
    bool rfOn = false;
    int calls = 0;
    SPointLists received;
    // The instrument's treatment of an accepted list.
    std::function<void(SPointLists&)> instrument = [](SPointLists&) {};

    bool IsConnected() const override { return connected; }
    bool IsRfOn() const override { return rfOn; }
    std::int32_t SetLists(std::vector<double>& frequencies, std::vector<double>& levels) override {
        ++calls;
        received = {frequencies, levels};
        if (frequencies.empty() || levels.empty()) return -1;
        SPointLists kept{frequencies, levels};
        instrument(kept);
        frequencies = kept.freqs;
        levels = kept.levels;
        return 0;
    }
};

// Records the window's part as one line per request.
class CRecordingWindow : public ITransferWindow {
public:
    std::vector<std::string> log;
    std::size_t stepCount = 0;

    void SwitchRfOff() override { log.push_back("rf off"); }
    void SetStepCount(std::size_t points) override { stepCount = points; }
    void RestartHandStep() override { log.push_back("hand step"); }
    void ClearProfileMark() override { log.push_back("profile mark"); }
    void SetEditValue(const SEditWrite& write) override {
        log.push_back(std::string(EditName(write.edit)) + "=" +
                      std::to_string(static_cast<long long>(write.value)) +
                      (write.quiet ? " quiet" : ""));
    }
    void ClearChangedMarks() override { log.push_back("marks"); }
    void RefreshSummary(int line) override { log.push_back("summary " + std::to_string(line)); }
};

const std::vector<std::string> kSummaryHead{"summary 0", "summary 1", "summary 2"};

std::vector<std::string> Texts(const CScriptedPrompt& prompt) {
    std::vector<std::string> texts;
    for (const SPromptMessage& m : prompt.Shown()) texts.push_back(m.text);
    return texts;
}

SListPoint Segment(int points, double startFreq, double stopFreq, double level = 0) {
    SListPoint s;
    s.points = points;
    s.startfreq = startFreq;
    s.stopfreq = stopFreq;
    s.startpow = level;
    s.stoppow = level;
    return s;
}

class ListTransfer : public ::testing::Test {
protected:
    STransferOutcome Run(EListSource source) {
        STransferRequest request;
        request.source = source;
        request.listRefreshing = listRefreshing;
        request.settingsLocked = settingsLocked;
        return TransferList(request, profile, segments, lists, session, window, prompt);
    }

    SProfile profile;
    std::vector<SListPoint> segments;
    bool listRefreshing = false;
    bool settingsLocked = false;
    SPointLists lists{{7}, {7}};
    CFakeSession session;
    CRecordingWindow window;
    CScriptedPrompt prompt;
};

TEST_F(ListTransfer, ListPanelChangesOutsideTheListSweepDoNothing) {
    segments = {Segment(3, 1e9, 2e9)};
    for (int mode : {omFixed, omFrequencySweep, omPowerSweep, omFrequencyPowerSweep}) {
        profile.controlparams.mode = mode;
        profile.freqparams.mode = stLog;
        EXPECT_FALSE(Run(EListSource::ListPanel).ran);
    }
    profile.controlparams.mode = omListSweep;
    listRefreshing = true;
    EXPECT_FALSE(Run(EListSource::ListPanel).ran);
    listRefreshing = false;
    session.connected = false;
    EXPECT_FALSE(Run(EListSource::ListPanel).ran);
    EXPECT_EQ(session.calls, 0);
    EXPECT_TRUE(prompt.Shown().empty());
    EXPECT_TRUE(window.log.empty());
    EXPECT_EQ(lists, (SPointLists{{7}, {7}}));
}

TEST_F(ListTransfer, SweepParametersApplyOnlyToClientBuiltSweeps) {
    profile.controlparams.mode = omFrequencySweep;
    EXPECT_FALSE(Run(EListSource::SweepParameters).ran);
    profile.controlparams.mode = omListSweep;
    EXPECT_FALSE(Run(EListSource::SweepParameters).ran);
    EXPECT_EQ(session.calls, 0);
}

TEST_F(ListTransfer, AllUntickedWithRfOnSwitchesRfOffAndSaysTheListIsEmpty) {
    profile.controlparams.mode = omListSweep;
    SListPoint unticked = Segment(3, 1e9, 2e9);
    unticked.used = 0;
    segments = {unticked};
    session.rfOn = true;
    const STransferOutcome outcome = Run(EListSource::ListPanel);
    EXPECT_TRUE(outcome.ran);
    EXPECT_FALSE(outcome.sent);
    EXPECT_EQ(window.log, std::vector<std::string>{"rf off"});
    ASSERT_EQ(prompt.Shown().size(), 1u);
    const SPromptMessage& m = prompt.Shown()[0];
    EXPECT_EQ(m.text, "Список пуст");
    EXPECT_EQ(m.caption, "Ошибка");
    EXPECT_EQ(m.icon, EPromptIcon::Error);
    EXPECT_EQ(m.flags, static_cast<unsigned>(pfSystemModal));
    EXPECT_TRUE(lists.Empty());
}

TEST_F(ListTransfer, EmptyListWithRfOffReachesNothingAndShowsNothing) {
    profile.controlparams.mode = omListSweep;
    const STransferOutcome outcome = Run(EListSource::ListPanel);
    EXPECT_TRUE(outcome.sent);
    EXPECT_EQ(outcome.setListsResult, -1);
    EXPECT_TRUE(prompt.Shown().empty());
    EXPECT_EQ(window.log, kSummaryHead);
    EXPECT_EQ(window.stepCount, 0u);
}

TEST_F(ListTransfer, LongListIsWarnedAboutSentAndShortenedByTheInstrument) {
    profile.controlparams.mode = omListSweep;
    segments = {Segment(6000, 1e9, 7e9)};
    session.instrument = [](SPointLists& kept) {
        kept.freqs.resize(5001);
        kept.levels.resize(5001);
    };
    const STransferOutcome outcome = Run(EListSource::ListPanel);
    EXPECT_TRUE(outcome.sent);
    EXPECT_EQ(session.received.Size(), 6000u);
    EXPECT_EQ(window.stepCount, 6000u);
    EXPECT_EQ(Texts(prompt), (std::vector<std::string>{
                                 "Прибор не поддерживает списки с количеством точек больше 5001",
                                 "Сплишком много точек. Cписок загружен не полностью."}));
    EXPECT_EQ(lists.Size(), 5001u);
    EXPECT_FALSE(outcome.corrected);  // the kept points are those sent
}

TEST_F(ListTransfer, AFrequencyMovedByOneHertzIsACorrection) {
    profile.controlparams.mode = omListSweep;
    segments = {Segment(3, 1000000, 1000001)};
    session.instrument = [](SPointLists& kept) { kept.freqs[1] += 1; };
    const STransferOutcome outcome = Run(EListSource::ListPanel);
    EXPECT_EQ(session.received.freqs, (std::vector<double>{1000000, 1000000, 1000001}));
    EXPECT_TRUE(outcome.corrected);
    ASSERT_EQ(prompt.Shown().size(), 1u);
    EXPECT_EQ(prompt.Shown()[0].text, "Cписок был скорректирован прибором.");
    EXPECT_EQ(prompt.Shown()[0].caption, "Внимание");
    EXPECT_EQ(prompt.Shown()[0].icon, EPromptIcon::Warning);
    EXPECT_EQ(window.log,
              (std::vector<std::string>{"profile mark", "summary 0", "summary 1", "summary 2"}));
    EXPECT_EQ(lists.freqs[1], 1000001);  // the instrument's list is kept
    EXPECT_EQ(segments[0].stopfreq, 1000001);
}

TEST_F(ListTransfer, LevelToleranceOfTheListPanel) {
    profile.controlparams.mode = omListSweep;
    segments = {Segment(2, 1e9, 2e9)};
    session.instrument = [](SPointLists& kept) { kept.levels[0] += 0.0005; };
    EXPECT_FALSE(Run(EListSource::ListPanel).corrected);
    session.instrument = [](SPointLists& kept) { kept.levels[0] += 0.002; };
    EXPECT_TRUE(Run(EListSource::ListPanel).corrected);
    EXPECT_EQ(prompt.Shown().size(), 1u);
}

TEST_F(ListTransfer, ManualNextPointStepsInsteadOfSending) {
    profile.controlparams.mode = omListSweep;
    profile.controlparams.trigger = tmManual;
    profile.controlparams.runmode = rmNextPoint;
    segments = {Segment(3, 1e9, 2e9)};
    const STransferOutcome outcome = Run(EListSource::ListPanel);
    EXPECT_FALSE(outcome.sent);
    EXPECT_EQ(session.calls, 0);
    EXPECT_EQ(window.log,
              (std::vector<std::string>{"hand step", "summary 0", "summary 1", "summary 2"}));
    EXPECT_EQ(lists.Size(), 3u);

    window.log.clear();
    settingsLocked = true;
    Run(EListSource::ListPanel);
    EXPECT_EQ(window.log, kSummaryHead);
}

TEST_F(ListTransfer, ManualSweepStartSendsThenStartsOneRun) {
    profile.controlparams.mode = omListSweep;
    profile.controlparams.trigger = tmManual;
    profile.controlparams.runmode = rmSweepStart;
    segments = {Segment(3, 1e9, 2e9)};
    EXPECT_TRUE(Run(EListSource::ListPanel).sent);
    EXPECT_EQ(session.calls, 1);
    EXPECT_EQ(window.log,
              (std::vector<std::string>{"hand step", "summary 0", "summary 1", "summary 2"}));
}

TEST_F(ListTransfer, CeilingCapsTheLevelsOfTheListPanel) {
    profile.controlparams.mode = omListSweep;
    profile.powparams.allowlimit = true;
    profile.powparams.limit = 5;
    SListPoint s = Segment(3, 1e9, 1e9);
    s.stoppow = 10;
    segments = {s};
    Run(EListSource::ListPanel);
    EXPECT_EQ(session.received.levels, (std::vector<double>{0, 5, 5}));
}

TEST_F(ListTransfer, SweepParametersFollowUpTakesWhatTheInstrumentChanged) {
    profile.controlparams.mode = omFrequencyPowerSweep;
    profile.freqparams.start = 1e9;
    profile.freqparams.stop = 2e9;
    profile.freqparams.points = 3;
    profile.powparams.start = -10;
    profile.powparams.stop = 10;
    session.instrument = [](SPointLists& kept) {
        kept.freqs.front() = 1e9 + 100;
        kept.levels.front() = -9;
        kept.levels.back() = 8;
    };
    const STransferOutcome outcome = Run(EListSource::SweepParameters);
    EXPECT_TRUE(outcome.sent);
    EXPECT_EQ(session.received, (SPointLists{{1e9, 1.5e9, 2e9}, {-10, 0, 10}}));
    // Corrections (last level off the start level into PowStop, the first
    // frequency into edtStart), then the start level that still differs.
    EXPECT_EQ(window.log,
              (std::vector<std::string>{"PowStop=8", "edtStart=1000000100", "marks", "PowStart=-9",
                                        "summary 0", "summary 1", "summary 2"}));
    EXPECT_TRUE(prompt.Shown().empty());
}

TEST_F(ListTransfer, LogarithmicSweepWithManualNextPointComparesTheBuiltEnds) {
    profile.controlparams.mode = omFrequencySweep;
    profile.freqparams.mode = stLog;
    profile.controlparams.trigger = tmManual;
    profile.controlparams.runmode = rmNextPoint;
    profile.freqparams.start = 1e6 + 0.5;  // the built list truncates it
    profile.freqparams.stop = 1e9;
    profile.freqparams.points = 3;
    const STransferOutcome outcome = Run(EListSource::SweepParameters);
    EXPECT_FALSE(outcome.sent);
    EXPECT_EQ(window.log, (std::vector<std::string>{"hand step", "edtStart=1000000", "summary 0",
                                                    "summary 1", "summary 2"}));
}

}  // namespace
}  // namespace z5r

namespace z5r {
namespace {

TEST(DeviceListSession, ADeviceWithoutConnectionTransfersNothing) {
    CScriptedPrompt prompt;
    CDevice device(prompt, [] {});
    CDeviceListSession session(device);
    EXPECT_FALSE(session.IsConnected());
    EXPECT_FALSE(session.IsRfOn());
    std::vector<double> freqs{1e9};
    std::vector<double> levels{0};
    EXPECT_EQ(session.SetLists(freqs, levels), -1);
    EXPECT_EQ(freqs, std::vector<double>{1e9});

    SProfile profile;
    profile.controlparams.mode = omListSweep;
    SPointLists lists;
    CRecordingWindow window;
    EXPECT_FALSE(TransferList({}, profile, {SListPoint{}}, lists, session, window, prompt).ran);
    EXPECT_TRUE(prompt.Shown().empty());
    EXPECT_TRUE(window.log.empty());
}

}  // namespace
}  // namespace z5r
