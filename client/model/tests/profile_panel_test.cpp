// The profile panel's rules: enabling, the tooltip, the capture summary, and
// the commands and list loading on real files in a temporary folder.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/profile_enums.h"
#include "model/profile_list_file.h"
#include "model/profile_panel.h"
#include "model/profile_tooltip.h"
#include "temp_dir.h"
#include "ui/scripted_prompt.h"

namespace z5r {
namespace {

using coretest::CTempDir;

// The main window around the panel: the record, the flags and the working
// packet and list, and how often the record was applied.
class CHost final : public IProfilePanelHost {
public:
    bool SettingsLocked() const override { return locked; }
    bool SecureMark() const override { return locked || superuserIn; }
    bool Connected() const override { return connected; }
    bool SecureInstrument() const override { return secure; }
    SProfile& Current() override { return current; }
    const std::vector<SPulse>& WorkingPacket() const override { return packet; }
    const std::vector<SListPoint>& WorkingList() const override { return list; }
    int AttStrategyShown() const override { return current.powparams.strategy; }
    void ApplyCurrentSettings() override { applied.push_back(current); }

    bool locked = false;
    bool superuserIn = false;
    bool connected = true;
    bool secure = false;
    SProfile current = MakeInitialProfile();
    std::vector<SPulse> packet;
    std::vector<SListPoint> list;
    std::vector<SProfile> applied;
};

class CRows final : public IProfileRows {
public:
    void ClearRows() override { rows.clear(); }
    void ShowRow(int index, const SProfileRow& row) override {
        if (index == static_cast<int>(rows.size())) rows.push_back(row); else rows.at(static_cast<std::size_t>(index)) = row;
    }
    void RemoveLastRow() override { rows.pop_back(); }
    void ShowProfileActions(const SProfilePanelActions& usable) override { actions = usable; }
    SCaptureSource CaptureSource() const override { return source; }

    std::vector<SProfileRow> rows;
    SProfilePanelActions actions;
    SCaptureSource source;
};

SProfile Named(const std::string& comment, double fix) {
    SProfile p = MakeInitialProfile();
    p.comment = comment;
    p.freqparams.fix = fix;
    return p;
}

// ---------------------------------------------------------------- rules

TEST(ProfileActions, ResetAndSelection) {
    struct SCase {
        bool connected, locked;
        int rows;
        bool selected;
        SProfilePanelActions expected;
    };
    //                 list  new   open  save  add   upd   edit  del   apply def
    const SCase cases[] = {
        {false, true, 3, false, {false, false, false, false, false, false, false, false, false, false}},
        {true, false, 0, false, {true, true, true, false, true, false, false, false, false, true}},
        {true, false, 2, false, {true, true, true, true, true, false, false, false, false, true}},
        {true, false, 2, true, {true, true, true, true, true, true, true, true, true, true}},
        {true, true, 2, true, {true, false, false, false, false, false, false, false, true, false}},
        {false, false, 2, false, {false, false, false, false, false, false, false, false, false, true}},
    };
    for (const SCase& c : cases) {
        const SProfilePanelActions actions =
            ProfileActionsForSelection(ProfileActionsAfterReset(c.connected, c.locked, c.rows), c.selected, c.locked);
        EXPECT_EQ(actions, c.expected) << c.connected << c.locked << c.rows << c.selected;
    }
}

TEST(ProfileTooltip, Texts) {
    SProfile fixed = MakeInitialProfile();
    fixed.freqparams.fix = 1.5e9;
    fixed.powparams.fix = -10;
    fixed.syncparams.erg = true;
    fixed.syncparams.rgfreq = rf10MHz;

    SProfile sweep = fixed;
    sweep.controlparams.mode = omFrequencySweep;
    sweep.controlparams.trigger = tmExternal;
    sweep.controlparams.dwell = 0.001;
    sweep.syncparams = {};
    sweep.syncparams.syncin = true;
    sweep.syncparams.syncmode = soSweepStart;
    sweep.syncparams.synctime = 0.000255;
    sweep.syncparams.syncout = true;
    sweep.freqparams.start = 1e9;
    sweep.freqparams.stop = 2e9;
    sweep.freqparams.points = 101;
    sweep.freqparams.mode = stLog;
    sweep.powparams.allowlimit = true;
    sweep.powparams.limit = 5;

    SProfile power = MakeInitialProfile();
    power.controlparams.mode = omPowerSweep;
    power.controlparams.dwell = 0.005;
    power.freqparams.fix = 5e9;
    power.powparams.start = -30;
    power.powparams.stop = 0;
    power.powparams.points = 31;
    power.syncparams.epc = true;

    SProfile list = MakeInitialProfile();
    list.controlparams.mode = omListSweep;
    list.controlparams.dwell = 0.002;

    const struct {
        SProfile profile;
        std::string text;
    } cases[] = {
        {fixed,
         "Режим работы:Фиксированная частота и мощность;\nЧастота:1500 МГц;\nМощность:-10 дБм;\n"
         "Управление аттенюатором:Минимум гармоник;;\nВнешний ОГ:10 МГц;"},
        {sweep,
         "Режим работы:Сканирование по частоте;\nРежим запуска:Внешний;\nМомент запуска:Начало развертки/инв;\n"
         "Время удержания:1000 мкс;\nЧастота:1000 … 2000 МГц;Количество точек101;\nТип развёртки:Логарифмический;\n"
         "Мощность:-10 дБм;\nОграничение\u00a0мощности:5 дБм;\nУправление аттенюатором:Минимум гармоник;\n"
         "Синхровыход:Старт развертки/255 мкс/инв"},
        {power,
         "Режим работы:Сканирование по мощности;\nРежим запуска:Автоматический;\nМомент запуска:Начало развертки;\n"
         "Время удержания:5000 мкс;\nЧастота:5000 МГц;\nМощность:-30 … 0 дБм; Количество точек31;\n"
         "Управление аттенюатором:Минимум гармоник;;\nВнешн.упр.мощностью: Включено;"},
        {list,
         "Режим работы:Сканирование по списку;\nРежим запуска:Автоматический;\nМомент запуска:Начало развертки;\n"
         "Время удержания:2000 мкс;\n\nУправление аттенюатором:Минимум гармоник;"},
    };
    for (const auto& c : cases) EXPECT_EQ(ProfileTooltip(c.profile), c.text);
}

TEST(ProfileCapture, Summary) {
    std::array<SEditText, kEditCount> texts{};
    texts[eiStart] = {"1", "ГГц"};
    texts[eiStop] = {"2", "ГГц"};
    texts[eiCenter] = {"1.5", "ГГц"};
    texts[eiPowStart] = {"-30", "дБм"};
    texts[eiPowStop] = {"0", "дБм"};
    texts[eiPowCenter] = {"-10", "дБм"};
    std::array<SEditText, kEditCount> mixed = texts;
    mixed[eiStart] = {"500", "МГц"};
    const struct {
        int mode;
        const std::array<SEditText, kEditCount>& texts;
        std::string summary;
    } cases[] = {
        {omFixed, texts, "1.5 ГГц; -10 дБм"},
        {omFrequencySweep, texts, "1 - 2 ГГц; -10 дБм"},
        {omFrequencySweep, mixed, "500 МГц - 2 ГГц; -10 дБм"},
        {omPowerSweep, texts, "1.5 ГГц; -30 - 0 дБм; "},
        {omFrequencyPowerSweep, texts, "1 - 2 ГГц; -30 - 0 дБм; "},
        {omListSweep, texts, "Список"},
    };
    for (const auto& c : cases) EXPECT_EQ(CaptureSummary(c.mode, c.texts), c.summary) << c.mode;
}

// ---------------------------------------------------------------- the panel on files

class ProfilePanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        folders_ = {dir_.Path() + "/app", dir_.Path() + "/vendor", dir_.Path() + "/vendor/client",
                    dir_.Path() + "/vendor/client/defprofiles"};
        std::filesystem::create_directories(folders_.application);
        panel_.SetFolders(folders_);
        panel_.Attach(&rows_);
    }
    void WriteDefault(const std::vector<SProfile>& profiles) {
        ASSERT_EQ(WriteProfileListFile(panel_.DefaultFile(), profiles, EProfileListMark::Plain), EProfileListWrite::Written);
    }
    std::vector<SProfile> ReadBack(const std::string& path, EProfileListRead expected = EProfileListRead::Read) {
        std::vector<SProfile> profiles;
        EXPECT_EQ(ReadProfileListFile(path, ESecureListTest::Skip, profiles), expected);
        return profiles;
    }
    void Connect() {
        panel_.LoadUserList();
        panel_.ResetActions(true);
    }

    CTempDir dir_;
    SProfileFolders folders_;
    CHost host_;
    CScriptedPrompt prompt_;
    CRows rows_;
    CProfilePanel panel_{host_, prompt_};
};

TEST_F(ProfilePanelTest, LoadingTakesTheLastProfileAsTheCurrentSettings) {
    WriteDefault({Named("a", 1e9), Named("b", 2e9), Named("", 3e9)});
    host_.connected = false;
    panel_.LoadDefaultList();
    EXPECT_EQ(host_.current.freqparams.fix, 3e9);
    ASSERT_EQ(rows_.rows.size(), 2u);
    EXPECT_EQ(rows_.rows[1], (SProfileRow{"2", "b", false}));

    // Only the current-settings profile: an empty list.
    WriteDefault({Named("", 4e9)});
    panel_.LoadDefaultList();
    EXPECT_TRUE(panel_.Profiles().empty());
    EXPECT_EQ(host_.current.freqparams.fix, 4e9);
    EXPECT_TRUE(prompt_.Shown().empty());
}

TEST_F(ProfilePanelTest, TheUserFileIsSeededFromTheDefaultAndWrittenAtDisconnection) {
    WriteDefault({Named("a", 1e9), Named("", 3e9)});
    Connect();
    EXPECT_TRUE(std::filesystem::exists(panel_.UserFile()));
    EXPECT_EQ(host_.current.freqparams.fix, 3e9);

    host_.current.freqparams.fix = 7e9;
    host_.list = {SListPoint{}};
    ASSERT_TRUE(panel_.SaveUserList());
    const std::vector<SProfile> saved = ReadBack(panel_.UserFile());
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0].comment, "a");
    EXPECT_EQ(saved[1].freqparams.fix, 7e9);
    EXPECT_EQ(saved[1].listelements.size(), 1u);

    // The next connection starts from what was saved, not from the default.
    panel_.LoadUserList();
    EXPECT_EQ(host_.current.freqparams.fix, 7e9);
}

TEST_F(ProfilePanelTest, ASecureInstrumentRefusesAPlainUserFileAndLoadsTheDefault) {
    WriteDefault({Named("a", 1e9), Named("", 3e9)});
    host_.secure = true;
    host_.locked = true;
    std::filesystem::create_directories(folders_.defProfiles);
    const std::string secureFile = folders_.defProfiles + "/profile_s.z5p";
    ASSERT_EQ(panel_.UserFile(), secureFile);
    ASSERT_EQ(WriteProfileListFile(secureFile, {Named("", 9e9)}, EProfileListMark::Plain), EProfileListWrite::Written);
    Connect();
    EXPECT_EQ(prompt_.ShownTexts(),
              std::vector<std::string>{"Файл профилей имеет неправильный формат. Будет загружен профиль по умолчанию."});
    EXPECT_EQ(host_.current.freqparams.fix, 3e9);

    // Written while locked, the list carries the mark and is accepted next time.
    host_.current.freqparams.fix = 8e9;
    ASSERT_TRUE(panel_.SaveUserList());
    prompt_.ClearShown();
    panel_.LoadUserList();
    EXPECT_TRUE(prompt_.Shown().empty());
    EXPECT_EQ(host_.current.freqparams.fix, 8e9);
    // Locked, only Apply remains, and no tooltip is built.
    panel_.SelectionChanged(0);
    EXPECT_EQ(rows_.actions, (SProfilePanelActions{true, false, false, false, false, false, false, false, true, false}));
    EXPECT_EQ(panel_.Tooltip(0), std::nullopt);
}

TEST_F(ProfilePanelTest, MissingDefaultFile) {
    panel_.LoadDefaultList();
    EXPECT_EQ(prompt_.ShownTexts(), std::vector<std::string>{"Не удалось найти файл профилей."});
    EXPECT_EQ(host_.current, MakeInitialProfile());
    // The default-settings command still applies the settings it has.
    prompt_.ClearShown();
    prompt_.QueueAnswer(EPromptResult::Cancel);
    panel_.DefaultProfileActionExecute();
    EXPECT_EQ(prompt_.ShownTexts(), std::vector<std::string>{"Будут установлены настройки по умолчанию!\nПродолжить?"});
    EXPECT_EQ(host_.applied.size(), 1u);
}

TEST_F(ProfilePanelTest, AUserFileThatCannotBeWrittenIsReported) {
    WriteDefault({Named("", 3e9)});
    Connect();
    std::filesystem::remove(panel_.UserFile());
    std::filesystem::create_directory(panel_.UserFile());  // a folder where the file should be
    EXPECT_FALSE(panel_.SaveUserList());
    EXPECT_EQ(prompt_.ShownTexts(), std::vector<std::string>{"Не удалось сохранить файл профилей."});
}

TEST_F(ProfilePanelTest, AddUpdateEditDeleteAndApply) {
    WriteDefault({Named("", 3e9)});
    Connect();
    rows_.source.texts[eiCenter] = {"3", "ГГц"};
    rows_.source.texts[eiPowCenter] = {"-130", "дБм"};
    rows_.source.steps.edits[eiDwell] = SEditStep{0.5, true, -3};

    // Add always proposes the summary; a cancelled dialog adds nothing.
    host_.current.comment = "old comment";
    panel_.AddProfileActionExecute();
    EXPECT_TRUE(panel_.Profiles().empty());
    prompt_.QueueComment("first");
    panel_.AddProfileActionExecute();
    prompt_.QueueComment("second");
    panel_.AddProfileActionExecute();
    EXPECT_EQ(prompt_.ProposedComments(), (std::vector<std::string>(3, "3 ГГц; -130 дБм")));
    ASSERT_EQ(panel_.Profiles().size(), 2u);
    EXPECT_EQ(panel_.Profiles()[0].controlparams.dwellinc, 0.5);
    EXPECT_TRUE(panel_.Modified());
    EXPECT_TRUE(rows_.actions.save && rows_.actions.newList);

    // Apply marks the row; Update of a profile with a comment asks nothing.
    panel_.SelectionChanged(0);
    panel_.ApplyProfileActionExecute();
    EXPECT_EQ(panel_.Applied(), 0);
    EXPECT_TRUE(rows_.rows[0].applied);
    host_.current.freqparams.fix = 6e9;
    panel_.SelectionChanged(1);
    panel_.UpdateProfileActionExecute();
    EXPECT_EQ(prompt_.ProposedComments().size(), 3u);
    EXPECT_EQ(panel_.Profiles()[1].comment, "second");
    EXPECT_EQ(panel_.Profiles()[1].freqparams.fix, 6e9);
    EXPECT_EQ(panel_.Applied(), 1);
    EXPECT_FALSE(rows_.rows[0].applied);
    panel_.ForgetApplied();
    EXPECT_FALSE(rows_.rows[1].applied);

    prompt_.QueueComment("renamed");
    panel_.EditProfileActionExecute();
    EXPECT_EQ(rows_.rows[1], (SProfileRow{"2", "renamed", false}));

    // Deleting one of two keeps New and Save; deleting the last disables them.
    panel_.SelectionChanged(0);
    panel_.DelProfileActionExecute();
    EXPECT_EQ(rows_.rows, (std::vector<SProfileRow>{{"1", "renamed", false}}));
    EXPECT_TRUE(rows_.actions.save && rows_.actions.newList);
    EXPECT_FALSE(rows_.actions.apply);
    panel_.SelectionChanged(0);
    panel_.DelProfileActionExecute();
    EXPECT_TRUE(rows_.rows.empty());
    EXPECT_FALSE(rows_.actions.save || rows_.actions.newList);
}

TEST_F(ProfilePanelTest, UpdateCancelledInTheCommentDialogKeepsTheStoredProfile) {
    WriteDefault({Named("", 3e9), Named("", 4e9)});
    Connect();
    host_.current.freqparams.fix = 6e9;
    panel_.SelectionChanged(0);
    panel_.UpdateProfileActionExecute();  // no comment queued: the dialog is cancelled
    EXPECT_EQ(prompt_.ProposedComments().size(), 1u);
    EXPECT_EQ(panel_.Profiles()[0].freqparams.fix, 3e9);
    EXPECT_FALSE(panel_.Modified());
}

TEST_F(ProfilePanelTest, NewOpenAndSave) {
    WriteDefault({Named("a", 1e9), Named("", 3e9)});
    Connect();
    const std::string saved = dir_ / "mine.z5p";
    prompt_.QueueFileName(saved);
    panel_.SaveProfileListActionExecute();
    EXPECT_EQ(ReadBack(saved).size(), 1u);
    EXPECT_FALSE(rows_.actions.save);

    // The file written at disconnection opens with every profile.
    ASSERT_TRUE(panel_.SaveUserList());
    prompt_.QueueFileName(panel_.UserFile());
    panel_.OpenProfileListActionExecute();
    ASSERT_EQ(panel_.Profiles().size(), 2u);
    EXPECT_EQ(rows_.rows[1], (SProfileRow{"2", "", false}));
    EXPECT_TRUE(rows_.actions.newList);

    // Modified, New asks first; Cancel keeps the list.
    prompt_.QueueComment("c");
    panel_.AddProfileActionExecute();
    prompt_.QueueAnswer(EPromptResult::Cancel);
    panel_.NewProfileListActionExecute();
    EXPECT_EQ(panel_.Profiles().size(), 3u);
    panel_.NewProfileListActionExecute();
    EXPECT_TRUE(panel_.Profiles().empty());
    EXPECT_FALSE(rows_.actions.newList || rows_.actions.save);

    // A file that is not a list leaves the list as it was.
    coretest::WriteFile(dir_ / "junk.z5p", "junk");
    prompt_.QueueFileName(dir_ / "junk.z5p");
    panel_.OpenProfileListActionExecute();
    EXPECT_TRUE(panel_.Profiles().empty());
}

TEST_F(ProfilePanelTest, DoubleClickAddsWithoutASelectionAndAppliesWithOne) {
    WriteDefault({Named("a", 1e9), Named("", 3e9)});
    Connect();
    prompt_.QueueComment("added");
    panel_.ProfLVDblClick();
    EXPECT_EQ(panel_.Profiles().size(), 2u);
    panel_.SelectionChanged(0);
    panel_.ProfLVEnter();
    ASSERT_EQ(host_.applied.size(), 1u);
    EXPECT_EQ(host_.applied[0].freqparams.fix, 1e9);
    EXPECT_EQ(panel_.Applied(), 0);
}

TEST_F(ProfilePanelTest, AKillDuringTheSaveAtDisconnectionLeavesThePreviousFileReadable) {
    WriteDefault({Named("", 3e9)});
    Connect();
    // Large enough that a save takes a while.
    host_.list.assign(2000, SListPoint{});
    for (int i = 0; i < 20; ++i) {
        prompt_.QueueComment("p" + std::to_string(i));
        panel_.AddProfileActionExecute();
    }
    ASSERT_TRUE(panel_.SaveUserList());
    for (int round = 0; round < 3; ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(ready[0]);
            for (;;) {
                panel_.SaveUserList();
                if (write(ready[1], "s", 1) != 1) _exit(1);
            }
        }
        close(ready[1]);
        // Killed while the saves follow each other, wherever one is.
        char saved = 0;
        for (int i = 0; i <= round; ++i) ASSERT_EQ(read(ready[0], &saved, 1), 1);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        close(ready[0]);
        const std::vector<SProfile> read = ReadBack(panel_.UserFile());
        ASSERT_EQ(read.size(), 21u);
        EXPECT_EQ(read.back().listelements.size(), 2000u);
    }
}

}  // namespace
}  // namespace z5r
