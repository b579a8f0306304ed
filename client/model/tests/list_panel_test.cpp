// The list panel's rules: row texts, enabled actions, the selection after
// each action, the list's flags and what each change hands to the transfer.
#include "model/list_panel.h"

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/tests/temp_dir.h"
#include "ui/scripted_prompt.h"

namespace z5r {
namespace {

using coretest::CTempDir;

constexpr int kSrfType = 0;
constexpr int kCsvType = 1;
const char* const kDiscard = "Все несохраненные данные будут стерты!\nПродолжить?";

// The list view: its rows, the selection and the actions as last shown. A
// written check box reaches the panel as the toolkit's notification does.
class CRecordingRows final : public IListRows {
public:
    CListPanel* panel = nullptr;
    std::vector<SSegmentRow> rows;
    int selected = -1;
    SListActions actions;
    bool saveEnabled = false;
    int rowWrites = 0;

    void ClearRows() override { rows.clear(); }
    void ShowRow(int index, const SSegmentRow& row) override {
        ++rowWrites;
        if (index == static_cast<int>(rows.size())) rows.push_back(row);
        rows[static_cast<std::size_t>(index)] = row;
        panel->ListLVItemChecked(index, row.checked);
    }
    void SelectRow(int row) override { selected = row; }
    void ShowListActions(const SListActions& usable) override {
        actions = usable;
        saveEnabled = usable.save;
    }
    void EnableSave() override { saveEnabled = true; }
};

// The editor: each opening takes the next scripted answer.
class CScriptedEditor final : public ISegmentEditorDialog {
public:
    struct SAnswer {
        bool ok;
        SListPoint entered;
    };
    std::deque<SAnswer> answers;
    std::vector<SListPoint> opened;  // what each opening was given
    int limitsSet = 0;

    void SetLimits(const SSegmentEditorLimits&) override { ++limitsSet; }
    bool EditSegment(SListPoint& segment) override {
        opened.push_back(segment);
        if (answers.empty()) return false;
        const SAnswer answer = answers.front();
        answers.pop_front();
        if (answer.ok) segment = answer.entered;
        return answer.ok;
    }
};

// The host: every transfer records the ticked segments it would send.
class CRecordingHost final : public IListPanelHost {
public:
    const CListPanel* panel = nullptr;
    std::vector<std::vector<SListPoint>> transfers;
    bool locked = false;

    void TransferFromList() override {
        std::vector<SListPoint> ticked;
        for (const SListPoint& s : panel->Segments()) {
            if (s.used != 0) ticked.push_back(s);
        }
        transfers.push_back(ticked);
    }
    SSegmentEditorLimits EditorLimits() const override { return {}; }
    std::optional<double> LevelCeiling() const override { return std::nullopt; }
    bool SettingsLocked() const override { return locked; }
};

SListPoint Segment(double startMHz, std::int32_t points = 2, std::int32_t used = 1) {
    SListPoint s;
    s.startfreq = startMHz * 1e6;
    s.stopfreq = startMHz * 1e6;
    s.points = points;
    s.used = used;
    return s;
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ListPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        rows_.panel = &panel_;
        host_.panel = &panel_;
        panel_.Attach(&rows_, &editor_, '.');
    }
    void Add(const SListPoint& segment) {
        editor_.answers.push_back({true, segment});
        panel_.AddLineActionExecute();
    }
    void AddRows(int count) {
        for (int i = 0; i < count; ++i) Add(Segment(i + 1));
    }
    std::vector<double> StartsMHz() const {
        std::vector<double> starts;
        for (const SListPoint& s : panel_.Segments()) starts.push_back(s.startfreq / 1e6);
        return starts;
    }
    std::string WriteFile(const std::string& name, const std::string& text) {
        const std::string path = dir_.Path() + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    CTempDir dir_;
    CScriptedPrompt prompt_{EPromptResult::Ok};
    CRecordingHost host_;
    CListPanel panel_{host_, prompt_};
    CRecordingRows rows_;
    CScriptedEditor editor_;
};

TEST(SegmentRowTest, TextsOfARow) {
    SListPoint ranged;
    ranged.startpow = -5;
    ranged.stoppow = 3.25;
    SListPoint singleByPoints;
    singleByPoints.points = 1;
    SListPoint fine = Segment(1.5);
    fine.used = 2;
    SListPoint unused = Segment(1000.000000001);
    unused.used = 0;
    struct SCase {
        const char* what;
        SListPoint segment;
        char decimalPoint;
        SSegmentRow row;
    };
    const SCase cases[] = {
        {"a new segment", SListPoint{}, '.', {"1", "10 … 20000 МГц", "0 дБм", "501", true}},
        {"a level range", ranged, '.', {"1", "10 … 20000 МГц", "-5 … 3.25 дБм", "501", true}},
        {"one point shows its start", singleByPoints, '.', {"1", "10 МГц", "0 дБм", "1", true}},
        {"a used of 2 shows an empty box", fine, ',', {"1", "1,5 МГц", "0 дБм", "2", false}},
        {"nine decimals of MHz", unused, '.', {"1", "1000.000000001 МГц", "0 дБм", "2", false}},
    };
    for (const SCase& c : cases) EXPECT_EQ(SegmentRow(0, c.segment, c.decimalPoint), c.row) << c.what;
    EXPECT_EQ(SegmentRow(41, SListPoint{}, '.').number, "42");
}

TEST(ListActionsTest, EnabledCommandsFollowTheSelection) {
    struct SCase {
        int rows;
        int selected;
        SListActions usable;
    };
    const SCase cases[] = {
        {0, 0, {}},
        {3, 0, {true, true, false, false, false, false, false, false}},
        {3, 1, {true, true, true, true, true, true, true, true}},
        {3, 2, {true, true, false, true, false, false, true, true}},
    };
    for (const SCase& c : cases) EXPECT_EQ(ListActionsFor(c.rows, c.selected), c.usable) << c.rows << "/" << c.selected;
}

TEST_F(ListPanelTest, AddingAppendsARowMarksTheListAndTransfersIt) {
    Add(SListPoint{});
    ASSERT_EQ(rows_.rows.size(), 1u);
    EXPECT_EQ(rows_.rows[0].frequency, "10 … 20000 МГц");
    EXPECT_TRUE(panel_.Modified());
    EXPECT_TRUE(rows_.saveEnabled);
    EXPECT_EQ(editor_.limitsSet, 1);
    EXPECT_EQ(editor_.opened.front(), SListPoint{}) << "the editor starts from a new segment";
    ASSERT_EQ(host_.transfers.size(), 1u);
    EXPECT_EQ(host_.transfers[0].size(), 1u);
}

TEST_F(ListPanelTest, ACancelledEditorOrConfirmationChangesNothing) {
    AddRows(2);
    const auto before = panel_.Segments();
    const std::size_t transfers = host_.transfers.size();
    editor_.answers.push_back({false, Segment(99)});
    panel_.AddLineActionExecute();
    panel_.SelectionChanged({1});
    editor_.answers.push_back({false, Segment(99)});
    panel_.EditLineActionExecute();
    prompt_.QueueAnswer(EPromptResult::Cancel);
    panel_.NewListActionExecute();
    EXPECT_EQ(panel_.Segments(), before);
    EXPECT_EQ(rows_.rows.size(), 2u);
    EXPECT_EQ(host_.transfers.size(), transfers);
    ASSERT_EQ(prompt_.Shown().size(), 1u);
    EXPECT_EQ(prompt_.Shown()[0].text, kDiscard);
}

TEST_F(ListPanelTest, EditingReplacesTheFirstSelectedSegment) {
    AddRows(3);
    panel_.SelectionChanged({2, 1});
    editor_.answers.push_back({true, Segment(50)});
    panel_.EditLineActionExecute();
    EXPECT_EQ(editor_.opened.back(), Segment(2)) << "the first selected row is edited";
    EXPECT_EQ(StartsMHz(), (std::vector<double>{1, 50, 3}));
    EXPECT_EQ(rows_.rows[1].frequency, "50 МГц");
}

TEST_F(ListPanelTest, DeletingSelectsTheRowBeforeTheFirstDeleted) {
    struct SCase {
        const char* what;
        int rows;
        std::vector<int> deleted;
        std::vector<double> left;
        int selected;  // -1: none
    };
    const SCase cases[] = {
        {"rows 3 and 5 of 6 select row 2", 6, {2, 4}, {1, 2, 4, 6}, 1},
        {"row 1 selects the new first row", 3, {0}, {2, 3}, 0},
        {"every row leaves nothing to select", 2, {0, 1}, {}, -1},
    };
    for (const SCase& c : cases) {
        CRecordingHost host;
        CListPanel panel(host, prompt_);
        CRecordingRows rows;
        CScriptedEditor editor;
        host.panel = rows.panel = &panel;
        panel.Attach(&rows, &editor, '.');
        for (int i = 0; i < c.rows; ++i) {
            editor.answers.push_back({true, Segment(i + 1)});
            panel.AddLineActionExecute();
        }
        panel.SelectionChanged(c.deleted);
        panel.DeleteLineActionExecute();
        std::vector<double> left;
        for (const SListPoint& s : panel.Segments()) left.push_back(s.startfreq / 1e6);
        EXPECT_EQ(left, c.left) << c.what;
        EXPECT_EQ(rows.rows.size(), c.left.size()) << c.what;
        if (c.selected >= 0) {
            EXPECT_EQ(rows.selected, c.selected) << c.what;
            EXPECT_EQ(panel.Selection(), std::vector<int>{c.selected}) << c.what;
        } else {
            EXPECT_EQ(rows.actions, SListActions{}) << c.what;
        }
        EXPECT_EQ(host.transfers.back().size(), c.left.size()) << c.what;
    }
}

TEST_F(ListPanelTest, AUsedOfTwoTakesPartAndADeletionRewritesItAsTicked) {
    Add(Segment(1, 2, 2));
    Add(Segment(2));
    EXPECT_FALSE(rows_.rows[0].checked);
    EXPECT_EQ(panel_.Segments()[0].used, 2) << "writing the row is not a click";
    EXPECT_EQ(host_.transfers.back().size(), 2u);
    panel_.SelectionChanged({1});
    panel_.DeleteLineActionExecute();
    EXPECT_EQ(panel_.Segments()[0].used, 1);
    EXPECT_TRUE(rows_.rows[0].checked);
}

TEST_F(ListPanelTest, UpAndDownMoveTheSegmentWithItsSelection) {
    AddRows(3);
    struct SCase {
        const char* what;
        void (CListPanel::*action)();
        int from;
        std::vector<double> order;
        int selected;
    };
    const SCase cases[] = {
        {"down from the first", &CListPanel::DownLineActionExecute, 0, {2, 1, 3}, 1},
        {"down from the last does nothing", &CListPanel::DownLineActionExecute, 2, {2, 1, 3}, 2},
        {"up from the last", &CListPanel::UpLineActionExecute, 2, {2, 3, 1}, 1},
        {"up from the first does nothing", &CListPanel::UpLineActionExecute, 0, {2, 3, 1}, 0},
    };
    for (const SCase& c : cases) {
        panel_.SelectionChanged({c.from});
        (panel_.*c.action)();
        EXPECT_EQ(StartsMHz(), c.order) << c.what;
        EXPECT_EQ(panel_.Selection(), std::vector<int>{c.selected}) << c.what;
        EXPECT_EQ(rows_.rows[static_cast<std::size_t>(c.selected)].frequency,
                  std::to_string(static_cast<int>(c.order[static_cast<std::size_t>(c.selected)])) + " МГц")
            << c.what;
    }
}

TEST_F(ListPanelTest, TicksOfAllRowsAndOfOne) {
    AddRows(3);
    panel_.DeselAllActionExecute();
    for (const SListPoint& s : panel_.Segments()) EXPECT_EQ(s.used, 0);
    EXPECT_TRUE(host_.transfers.back().empty()) << "an empty list is sent";
    panel_.ListLVItemChecked(1, true);
    EXPECT_EQ(host_.transfers.back().size(), 1u);
    panel_.SelAllActionExecute();
    EXPECT_EQ(host_.transfers.back().size(), 3u);
    for (const SSegmentRow& row : rows_.rows) EXPECT_TRUE(row.checked);
}

TEST_F(ListPanelTest, WhatEachActionDoesToTheModifiedMark) {
    const std::string srf = WriteFile("one.srf", "5000000 6000000 0 0 2 1 1\r\n");
    struct SCase {
        const char* what;
        bool before;
        std::function<void()> action;
        bool after;
    };
    const SCase cases[] = {
        {"new keeps it set", true, [&] { panel_.NewListActionExecute(); }, true},
        {"new keeps it clear", false, [&] { panel_.NewListActionExecute(); }, false},
        {"a click keeps it clear", false, [&] { panel_.ListLVItemChecked(0, false); }, false},
        {"select all sets it", false, [&] { panel_.SelAllActionExecute(); }, true},
        {"replacing from a file clears it", true,
         [&] { prompt_.QueueFile(srf, kSrfType); panel_.OpenListActionExecute(EListOpen::Replace); }, false},
        {"appending a file sets it", false,
         [&] { prompt_.QueueFile(srf, kSrfType); panel_.OpenListActionExecute(EListOpen::Append); }, true},
        {"saving clears it", true,
         [&] { prompt_.QueueFile(dir_.Path() + "/saved.srf", kSrfType); panel_.SaveListActionExecute(); }, false},
        {"a failed save keeps it", true,
         [&] { prompt_.QueueFile(dir_.Path() + "/no/such/folder.srf", kSrfType); panel_.SaveListActionExecute(); },
         true},
    };
    for (const SCase& c : cases) {
        panel_.NewListActionExecute();  // confirmed by the default answer
        Add(Segment(1));
        if (!c.before) {
            prompt_.QueueFile(dir_.Path() + "/clean.srf", kSrfType);
            panel_.SaveListActionExecute();
        }
        ASSERT_EQ(panel_.Modified(), c.before) << c.what;
        c.action();
        EXPECT_EQ(panel_.Modified(), c.after) << c.what;
    }
}

TEST_F(ListPanelTest, OpeningReplacesOrAppendsAndSelects) {
    AddRows(4);
    panel_.SelectionChanged({2});
    const std::string csv = WriteFile("points.csv", "100;-1\r\n200;-2\r\n");
    prompt_.QueueFile(csv, kCsvType);
    panel_.OpenListActionExecute(EListOpen::Append);
    EXPECT_EQ(StartsMHz(), (std::vector<double>{1, 2, 3, 4, 0.0001, 0.0002}));
    EXPECT_EQ(rows_.rows.size(), 6u);
    EXPECT_EQ(panel_.Selection(), std::vector<int>{2}) << "appending selects the row selected before";
    EXPECT_EQ(host_.transfers.back().size(), 6u);

    prompt_.QueueFile(csv, kCsvType);
    panel_.OpenListActionExecute(EListOpen::Replace);
    EXPECT_EQ(StartsMHz(), (std::vector<double>{0.0001, 0.0002}));
    EXPECT_EQ(panel_.Selection(), std::vector<int>{0});
    ASSERT_FALSE(prompt_.ShownDialogs().empty());
    EXPECT_EQ(prompt_.ShownDialogs().back().dialog.title, "Открыть файл списка");
}

TEST_F(ListPanelTest, AFileThatCannotBeReadLeavesTheListAsItWas) {
    AddRows(2);
    const std::size_t transfers = host_.transfers.size();
    struct SCase {
        std::string path;
        int type;
        const char* message;
    };
    const SCase cases[] = {
        {WriteFile("mixed.csv", "1;2\r\n3,4\r\n"), kCsvType, "Ошибка чтения CSV файла."},
        {dir_.Path() + "/missing.srf", kSrfType, "Не удалось открыть файл списка."},
    };
    for (const SCase& c : cases) {
        prompt_.ClearShown();
        prompt_.QueueFile(c.path, c.type);
        panel_.OpenListActionExecute(EListOpen::Replace);
        EXPECT_EQ(StartsMHz(), (std::vector<double>{1, 2})) << c.path;
        ASSERT_FALSE(prompt_.Shown().empty()) << c.path;
        EXPECT_EQ(prompt_.Shown().back().text, c.message);
    }
    EXPECT_EQ(host_.transfers.size(), transfers);
}

TEST_F(ListPanelTest, SavingWritesTheTypeChosenInTheDialog) {
    Add(Segment(5, 2));
    const std::string path = dir_.Path() + "/list.srf";
    prompt_.QueueFile(path, kCsvType);
    panel_.SaveListActionExecute();
    EXPECT_EQ(Read(path), "5000000;0\r\n5000000;0\r\n") << "the name's extension does not decide";
}

TEST_F(ListPanelTest, ADoubleClickEditsTheSelectedRowOrAdds) {
    AddRows(1);
    editor_.answers.push_back({true, Segment(7)});
    panel_.ListLVDblClick();
    EXPECT_EQ(StartsMHz(), (std::vector<double>{1, 7}));
    panel_.SelectionChanged({0});
    editor_.answers.push_back({true, Segment(8)});
    panel_.ListLVDblClick();
    EXPECT_EQ(StartsMHz(), (std::vector<double>{8, 7}));
}

TEST_F(ListPanelTest, LockedSettingsShowNoRows) {
    host_.locked = true;
    Add(Segment(1));
    EXPECT_TRUE(rows_.rows.empty());
    EXPECT_EQ(panel_.Segments().size(), 1u);
    host_.locked = false;
    panel_.ShowAllSegments();
    EXPECT_EQ(rows_.rows.size(), 1u);
}

}  // namespace
}  // namespace z5r
