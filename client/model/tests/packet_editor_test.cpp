// The packet editor's rules, driven as the dialog drives them, with what the
// dialog is told to show and the questions asked.
#include "model/packet_editor.h"

#include <gtest/gtest.h>

#include <map>

#include "model/packet_file.h"
#include "model/packet_texts.h"
#include "pulse_test_support.h"
#include "temp_dir.h"
#include "ui/scripted_prompt.h"

namespace z5r {
namespace {

using pulsetest::ExpectValues;
using pulsetest::us;

constexpr double kMinPulse = 2e-8;

// What the dialog shows, as the editor told it.
class CShownEditor : public IPacketEditorView {
public:
    void ShowAllRows(const std::vector<SPulse>& packet) override { rows = packet; }
    void ShowRow(std::size_t index, const SPulse& pulse) override {
        if (index == rows.size()) {
            rows.push_back(pulse);
        } else {
            rows.at(index) = pulse;
        }
    }
    void ShowSelection(const std::vector<std::size_t>& shown) override { selection = shown; }
    void ShowPulseEdit(EPulseEdit edit, double value) override { edits[edit] = value; }
    void ShowPacketPeriod(double shown) override { period = shown; }
    void ShowSummary(const SPacketSummary& shown) override { summary = shown; }
    void ShowActionStates(const SPacketActionStates& shown) override { actions = shown; }

    SPulseValues Edits() const {
        return {edits.at(EPulseEdit::Duration), edits.at(EPulseEdit::Period), edits.at(EPulseEdit::DutyFactor)};
    }

    std::vector<SPulse> rows;
    std::vector<std::size_t> selection;
    std::map<EPulseEdit, double> edits;
    double period = 0.0;
    SPacketSummary summary;
    SPacketActionStates actions;
};

SPulse Pulse(double tau, double period, bool used = true) { return SPulse{tau, period, period / tau, used}; }

class PacketEditorTest : public ::testing::Test {
protected:
    void Begin(const std::vector<SPulse>& packet, double period) { editor.Begin(packet, period, kMinPulse); }
    // Types and confirms the three edits as an operator would.
    void Enter(EPulseEdit edit, double value) {
        editor.PulseEditChanged(edit, value);
        editor.PulseEditConfirmed(edit, value);
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const SPromptMessage& message : prompt.Shown()) texts.push_back(message.text);
        return texts;
    }
    std::vector<SPulse> Five() const {
        std::vector<SPulse> five;
        for (int i = 1; i <= 5; ++i) five.push_back(Pulse(1 * us, i * 2 * us));
        return five;
    }

    CShownEditor view;
    CScriptedPrompt prompt;
    CPacketEditor editor{view, prompt};
};

TEST_F(PacketEditorTest, BeginShowsTheCopyTheDefaultsAndTheSummary) {
    const std::vector<SPulse> packet{Pulse(1 * us, 1 * us), Pulse(1 * us, 2 * us), Pulse(1 * us, 3 * us),
                                     Pulse(1 * us, 10 * us, false)};
    Begin(packet, 5.99995 * us);
    EXPECT_EQ(view.rows, packet);
    EXPECT_EQ(view.period, 5.99995 * us);
    ExpectValues(view.Edits(), CPacketEditor::kDefaultPulseValues);
    EXPECT_EQ(view.summary.durationText, "Общая длительность пачки: 6 мкс");
    EXPECT_FALSE(view.summary.tooShort);
    EXPECT_EQ(view.summary.warningText, "");
    EXPECT_EQ(view.actions, (SPacketActionStates{false, false, false, false, true, true, true, true}));
    EXPECT_FALSE(editor.Modified());

    editor.PacketPeriodChanged(5.9998 * us);
    EXPECT_TRUE(view.summary.tooShort);
    EXPECT_EQ(view.summary.warningText, kPacketPeriodTooShortText);
    EXPECT_TRUE(editor.Modified());
    EXPECT_FALSE(editor.Ok());
    EXPECT_FALSE(editor.Accepted());
    EXPECT_EQ(Texts(), std::vector<std::string>{kPacketPeriodTooShortText});
    EXPECT_EQ(prompt.Shown()[0].caption, "Ошибка");

    // Clearing the tick of the longest pulse makes the period fit.
    editor.RowTicked(2, false);
    EXPECT_FALSE(view.summary.tooShort);
    EXPECT_TRUE(editor.Ok());
    EXPECT_TRUE(editor.Accepted());
    EXPECT_FALSE(editor.Packet()[2].used);
}

TEST_F(PacketEditorTest, SelectionFillsTheEditsAndEnablesTheActions) {
    Begin({Pulse(2 * us, 8 * us), SPulse{0, 3 * us, 5, true}}, 20 * us);
    struct SCase {
        std::vector<std::size_t> rows;
        SPulseValues edits;
        SPacketActionStates actions;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const SCase cases[] = {
        {{0}, {2 * us, 8 * us, 4}, {true, true, true, true, true, true, true, true}},
        {{1}, {0, 3 * us, 0}, {true, true, true, true, true, true, true, true}},
        {{0, 1}, {nan, nan, nan}, {false, false, false, true, true, true, true, true}},
        {{}, CPacketEditor::kDefaultPulseValues, {false, false, false, false, true, true, true, true}},
    };
    for (const SCase& c : cases) {
        editor.SelectionChanged(c.rows);
        ExpectValues(view.Edits(), c.edits);
        EXPECT_EQ(view.actions, c.actions);
    }
}

TEST_F(PacketEditorTest, InvalidValuesAreNotAddedUntilAnEditIsConfirmed) {
    Begin({}, 100 * us);
    editor.PulseEditChanged(EPulseEdit::Period, 1 * us);  // equal to the duration
    EXPECT_TRUE(editor.PulseInvalid());
    EXPECT_TRUE(std::isnan(view.edits.at(EPulseEdit::DutyFactor)));
    editor.Add();
    EXPECT_TRUE(editor.Packet().empty());
    EXPECT_EQ(Texts(), std::vector<std::string>{"Параметры импульса некорректны"});

    editor.PulseEditConfirmed(EPulseEdit::Period, 1 * us);
    editor.Add();
    ASSERT_EQ(editor.Packet().size(), 1u);
    EXPECT_EQ(editor.Packet()[0], (SPulse{1 * us, 1 * us, 1, true}));
    EXPECT_EQ(view.rows, editor.Packet());
    EXPECT_EQ(view.selection, std::vector<std::size_t>{0});
    EXPECT_TRUE(editor.Modified());

    // Several rows selected: the edits are blank, and blanks make no pulse.
    editor.Add();
    editor.SelectionChanged({0, 1});
    editor.Add();
    EXPECT_EQ(editor.Packet().size(), 2u);
    EXPECT_EQ(prompt.Shown().size(), 2u);
}

TEST_F(PacketEditorTest, ConfirmedEditsAreBoundedAndRoundedOnTheScreen) {
    Begin({}, 100 * us);
    Enter(EPulseEdit::Duration, 1 * us);
    Enter(EPulseEdit::Period, 0.5 * us);
    ExpectValues(view.Edits(), {1 * us, 1 * us, 1});
    Enter(EPulseEdit::DutyFactor, 1);
    ExpectValues(view.Edits(), {1 * us, 1.02 * us, 1.02});
    Enter(EPulseEdit::Duration, 1.234567 * us);
    ExpectValues(view.Edits(), {1.23 * us, 1.23 * us, 1});
}

TEST_F(PacketEditorTest, ApplyReplacesTheSelectedPulseAndKeepsItsTick) {
    Begin({Pulse(1 * us, 2 * us, false), Pulse(1 * us, 3 * us)}, 100 * us);
    editor.SelectionChanged({0});
    Enter(EPulseEdit::Period, 7 * us);
    editor.Apply();
    EXPECT_EQ(editor.Packet()[0], (SPulse{1 * us, 7 * us, 7, false}));
    EXPECT_EQ(view.rows[0], editor.Packet()[0]);
    EXPECT_TRUE(editor.Modified());

    editor.PulseEditChanged(EPulseEdit::DutyFactor, 0.5);
    editor.Apply();
    EXPECT_EQ(editor.Packet()[0].period, 7 * us);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Параметры импульса некорректны"});
}

TEST_F(PacketEditorTest, DeleteSelectsTheRowAtTheHighestDeletedIndexOrTheLast) {
    struct SCase {
        std::vector<std::size_t> deleted;
        std::size_t left;
        std::vector<std::size_t> selected;
    };
    const SCase cases[] = {
        {{3, 4}, 3, {2}},
        {{0, 1}, 3, {1}},
        {{2}, 4, {2}},
        {{0, 1, 2, 3, 4}, 0, {}},
    };
    for (const SCase& c : cases) {
        Begin(Five(), 100 * us);
        editor.SelectionChanged(c.deleted);
        editor.Delete();
        EXPECT_EQ(view.rows.size(), c.left);
        EXPECT_EQ(editor.Packet(), view.rows);
        EXPECT_EQ(view.selection, c.selected);
        EXPECT_TRUE(editor.Modified());
    }
    EXPECT_FALSE(view.actions.newList);
    EXPECT_FALSE(view.actions.remove);
}

TEST_F(PacketEditorTest, UpAndDownMoveThePulseAndTheSelectionWithinTheList) {
    Begin(Five(), 100 * us);
    editor.SelectionChanged({0});
    editor.MoveUp();
    EXPECT_FALSE(editor.Modified());
    editor.MoveDown();
    EXPECT_EQ(editor.Packet()[1].period, 2 * us);
    EXPECT_EQ(editor.Packet()[0].period, 4 * us);
    EXPECT_EQ(view.rows, editor.Packet());
    EXPECT_EQ(view.selection, std::vector<std::size_t>{1});
    EXPECT_TRUE(editor.Modified());

    editor.SelectionChanged({4});
    editor.MoveDown();
    EXPECT_EQ(editor.Packet()[4].period, 10 * us);
    editor.MoveUp();
    EXPECT_EQ(editor.Packet()[3].period, 10 * us);
    EXPECT_EQ(view.selection, std::vector<std::size_t>{3});
}

TEST_F(PacketEditorTest, TickingAllAndNoneChangesTheTotal) {
    Begin({Pulse(1 * us, 2 * us, false), Pulse(1 * us, 3 * us)}, 100 * us);
    editor.TickAll();
    EXPECT_TRUE(view.rows[0].used);
    EXPECT_EQ(view.summary.durationText, "Общая длительность пачки: 5 мкс");
    editor.UntickAll();
    EXPECT_FALSE(view.rows[1].used);
    EXPECT_EQ(view.summary.durationText, "Общая длительность пачки: 0 мкс");
    EXPECT_TRUE(editor.Modified());
}

TEST_F(PacketEditorTest, NewAsksOnlyForUnsavedChangesAndCancelKeepsThem) {
    Begin(Five(), 100 * us);
    editor.NewList();
    EXPECT_TRUE(editor.Packet().empty());
    EXPECT_TRUE(prompt.Shown().empty());

    Begin(Five(), 100 * us);
    editor.TickAll();
    prompt.QueueAnswer(EPromptResult::Cancel);
    editor.NewList();
    EXPECT_EQ(editor.Packet().size(), 5u);
    EXPECT_TRUE(editor.Modified());
    EXPECT_EQ(Texts(), std::vector<std::string>{"Все несохраненные данные будут стерты!\nПродолжить?"});
    EXPECT_EQ(prompt.Shown()[0].buttons, EPromptButtons::OkCancel);

    // Leaving with Cancel still asks about the changes; No leaves them.
    prompt.QueueAnswer(EPromptResult::No);
    EXPECT_TRUE(editor.CloseQuery());
    EXPECT_EQ(Texts().back(), "Список был изменен. Применить изменения?");
    EXPECT_FALSE(editor.Accepted());

    prompt.QueueAnswer(EPromptResult::Ok);
    editor.NewList();
    EXPECT_TRUE(view.rows.empty());
    EXPECT_FALSE(editor.Modified());
    EXPECT_EQ(view.summary.durationText, "Общая длительность пачки: 0 мкс");
}

TEST_F(PacketEditorTest, TheCloseQueryHasThreeAnswers) {
    struct SCase {
        EPromptResult answer;
        double period;
        bool closes;
        bool accepted;
        std::size_t messages;
    };
    const SCase cases[] = {
        {EPromptResult::Cancel, 100 * us, false, false, 1},
        {EPromptResult::No, 100 * us, true, false, 1},
        {EPromptResult::Yes, 100 * us, true, true, 1},
        {EPromptResult::Yes, 1 * us, false, false, 2},
    };
    for (const SCase& c : cases) {
        prompt.ClearShown();
        Begin(Five(), 100 * us);
        editor.PacketPeriodChanged(c.period);
        prompt.QueueAnswer(c.answer);
        EXPECT_EQ(editor.CloseQuery(), c.closes);
        EXPECT_EQ(editor.Accepted(), c.accepted);
        EXPECT_EQ(prompt.Shown().size(), c.messages);
        EXPECT_EQ(prompt.Shown()[0].buttons, EPromptButtons::YesNoCancel);
    }
    // Nothing changed: no question.
    prompt.ClearShown();
    Begin(Five(), 100 * us);
    EXPECT_TRUE(editor.CloseQuery());
    EXPECT_TRUE(prompt.Shown().empty());
}

TEST_F(PacketEditorTest, OpeningReplacesOrAppendsAndSavingClearsTheMark) {
    coretest::CTempDir dir;
    const std::string path = dir / "список.ppl";
    ASSERT_EQ(WritePacketFile(path, {Pulse(1 * us, 2 * us), Pulse(3 * us, 9 * us, false)}), pfsOk);

    // Appending to an empty list enables the actions that need rows.
    Begin({}, 100 * us);
    EXPECT_FALSE(view.actions.save);
    prompt.QueueFileName(path);
    editor.Open(EPacketOpen::Append);
    EXPECT_TRUE(view.actions.save);
    prompt.QueueFileName(path);
    editor.Open(EPacketOpen::Append);
    EXPECT_EQ(view.rows.size(), 4u);
    EXPECT_EQ(editor.Packet(), view.rows);
    EXPECT_TRUE(editor.Modified());
    EXPECT_EQ(prompt.ShownDialogs().back().dialog.title, "Открыть файл списка");
    EXPECT_TRUE(prompt.Shown().empty());  // appending asks nothing

    prompt.QueueAnswer(EPromptResult::Ok);
    prompt.QueueFileName(path);
    editor.Open(EPacketOpen::Replace);
    EXPECT_EQ(view.rows.size(), 2u);
    EXPECT_FALSE(editor.Modified());
    EXPECT_EQ(view.summary.durationText, "Общая длительность пачки: 2 мкс");

    // A cancelled dialog, then a file that is not there: nothing changes.
    editor.TickAll();
    prompt.QueueAnswer(EPromptResult::Ok);
    editor.Open(EPacketOpen::Replace);
    prompt.QueueFileName(dir / "missing.ppl");
    editor.Open(EPacketOpen::Append);
    EXPECT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(Texts().back(), "Не удалось открыть файл списка.");

    const std::string saved = dir / "сохранено.ppl";
    prompt.QueueFileName(saved);
    editor.Save();
    EXPECT_FALSE(editor.Modified());
    EXPECT_EQ(coretest::ReadFile(saved), PacketFileText(editor.Packet()));
    EXPECT_TRUE(prompt.ShownDialogs().back().save);
    EXPECT_EQ(prompt.ShownDialogs().back().dialog.defaultExtension, "ppl");
}

TEST_F(PacketEditorTest, ASaveThatFailsSaysSoAndKeepsTheChangeMark) {
    coretest::CTempDir dir;
    Begin(Five(), 100 * us);
    editor.TickAll();
    prompt.QueueFileName(dir / "no such folder/a.ppl");
    editor.Save();
    EXPECT_TRUE(editor.Modified());
    EXPECT_EQ(Texts(), std::vector<std::string>{"Не удалось сохранить файл списка."});
    EXPECT_EQ(prompt.Shown()[0].icon, EPromptIcon::Error);
}

}  // namespace
}  // namespace z5r
