// The password rules, the store "secure" on real files, and superuser mode's
// login, logout and change with the dialogs answered by a scripted prompt.
#include <gtest/gtest.h>

#include <filesystem>

#include "korvel/common/xml_document.h"
#include "model/password_rules.h"
#include "model/password_store.h"
#include "model/superuser.h"
#include "temp_dir.h"
#include "ui/scripted_prompt.h"

namespace z5r {
namespace {

using coretest::CTempDir;

constexpr const char* kBrokenStore = "Невозможна работа в режиме суперпользователя. Переустановите программу.";

// A store document as text, written with the store's signature.
void WriteStoreXml(const std::string& path, const char* xml) {
    VxCore::CXMLDocument doc(true);
    doc.Open(nullptr);
    doc.SetSignature(kPasswordStoreSignature);
    doc.SetCompression(true);
    ASSERT_TRUE(doc.Doc().load_string(xml));
    ASSERT_EQ(doc.Save(path.c_str()), VxCore::xdrOk);
}

TEST(PasswordRules, Matching) {
    const struct {
        const char* stored;
        const char* entered;
        bool matches;
    } cases[] = {
        {"secret ", "secret", true},    // a trailing blank of the store
        {"secret", "\tsecret\r\n", true},
        {"Secret", "secret", false},    // case-sensitive
        {"se cret", "secret", false},   // inner blanks count
        {"", "  ", true},
    };
    for (const auto& c : cases) EXPECT_EQ(PasswordMatches(c.stored, c.entered), c.matches) << c.stored << "|" << c.entered;
}

TEST(PasswordRules, Change) {
    const struct {
        SPasswordChange change;
        bool accepted;
    } cases[] = {
        {{"old", "new", "new"}, true},
        {{" old ", "new ", "new"}, true},
        {{"old", "", ""}, true},  // an empty password
        {{"olD", "new", "new"}, false},
        {{"old", "new", "New"}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(PasswordChangeAccepted("old", c.change), c.accepted) << c.change.newPassword;
}

TEST(PasswordStore, Reading) {
    CTempDir dir;
    const struct {
        const char* xml;  // nullptr: no file
        std::optional<std::string> password;
    } cases[] = {
        {nullptr, std::nullopt},
        {"<Z5R_Client><Secure Pass=\"abc \"/></Z5R_Client>", "abc "},
        {"<Z5R_Client><Secure/></Z5R_Client>", kFactoryPassword},
        {"<Z5R_Client/>", std::nullopt},
        {"<Other><Secure Pass=\"x\"/></Other>", std::nullopt},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string path = dir / ("secure" + std::to_string(n++));
        if (c.xml != nullptr) WriteStoreXml(path, c.xml);
        EXPECT_EQ(ReadPassword(path), c.password) << (c.xml ? c.xml : "none");
    }
    // A profile list is not a store.
    coretest::WriteFile(dir / "plain", "<Z5R_Client><Secure Pass=\"x\"/></Z5R_Client>");
    EXPECT_EQ(ReadPassword(dir / "plain"), std::nullopt);
}

TEST(PasswordStore, WritingNeedsAnExistingStore) {
    CTempDir dir;
    const std::string path = dir / "secure";
    EXPECT_FALSE(WritePassword(path, "new"));
    EXPECT_FALSE(std::filesystem::exists(path));
    WriteStoreXml(path, "<Z5R_Client><Secure Pass=\"old\"/></Z5R_Client>");
    ASSERT_TRUE(WritePassword(path, "новый пароль"));
    EXPECT_EQ(ReadPassword(path), "новый пароль");
}

class SuperuserTest : public ::testing::Test {
protected:
    void SetUp() override {
        state_.connectedFlag = true;
        state_.superuserMenu = true;
        superuser_.SetStorePath(store_);
        WriteStoreXml(store_, "<Z5R_Client><Secure Pass=\" Pass1 \"/></Z5R_Client>");
    }

    CTempDir dir_;
    std::string store_ = dir_ / "secure";
    SMainState state_;
    CScriptedPrompt prompt_;
    int refreshed_ = 0;
    CSuperuser superuser_{state_, prompt_, [this] { ++refreshed_; }};
};

TEST_F(SuperuserTest, LoginRetriesWithoutAMessageAndLogoutLocksAgain) {
    prompt_.QueuePassword("pass1");
    prompt_.QueuePassword("Pass1");
    superuser_.PassSuperuserActionExecute();
    EXPECT_EQ(prompt_.PasswordDialogsShown(), 2);
    EXPECT_TRUE(prompt_.Shown().empty());
    EXPECT_FALSE(state_.settingsLocked);
    EXPECT_TRUE(state_.superuserIn);
    EXPECT_EQ(superuser_.Actions(), (SSuperuserActions{false, true, true}));
    EXPECT_EQ(refreshed_, 1);

    superuser_.ExitSupermodeActionExecute();
    EXPECT_TRUE(state_.settingsLocked);
    EXPECT_FALSE(state_.superuserIn);
    EXPECT_EQ(superuser_.Actions(), SSuperuserActions{});
    EXPECT_EQ(refreshed_, 2);

    // Cancel leaves everything locked.
    superuser_.PassSuperuserActionExecute();
    EXPECT_TRUE(state_.settingsLocked);
    EXPECT_EQ(refreshed_, 2);
}

TEST_F(SuperuserTest, ChangingThePassword) {
    prompt_.QueuePasswordChange(SPasswordChange{"wrong", "n", "n"});
    prompt_.QueuePasswordChange(SPasswordChange{"Pass1", " new", "new"});
    superuser_.ChangePassSuperuserActionExecute();
    EXPECT_EQ(prompt_.PasswordDialogsShown(), 2);
    // Stored as typed; the login trims both sides.
    EXPECT_EQ(ReadPassword(store_), " new");
    prompt_.QueuePassword("new");
    superuser_.PassSuperuserActionExecute();
    EXPECT_TRUE(state_.superuserIn);
}

TEST_F(SuperuserTest, ABrokenStoreIsReportedAndAFailedChangeLogsOut) {
    state_.superuserIn = true;
    state_.settingsLocked = false;
    prompt_.QueuePasswordChange(SPasswordChange{"Pass1", "x", "x"});
    std::filesystem::remove(store_);
    superuser_.ChangePassSuperuserActionExecute();
    EXPECT_EQ(prompt_.ShownTexts(), std::vector<std::string>{kBrokenStore});
    EXPECT_TRUE(state_.superuserIn);  // nothing asked, nothing changed

    WriteStoreXml(store_, "<Z5R_Client><Secure Pass=\"Pass1\"/></Z5R_Client>");
    superuser_.SetStorePath(dir_ / "missing");
    superuser_.PassSuperuserActionExecute();
    EXPECT_EQ(prompt_.PasswordDialogsShown(), 0);
    superuser_.SetStorePath(store_);
    // The store vanishes between reading it and writing the new password.
    prompt_.ClearShown();
    struct CVanishingPrompt final : CScriptedPrompt {
        std::string store;
        std::optional<SPasswordChange> AskPasswordChange() override {
            std::filesystem::remove(store);
            return SPasswordChange{"Pass1", "x", "x"};
        }
    } vanishing;
    vanishing.store = store_;
    CSuperuser superuser(state_, vanishing, [] {});
    superuser.SetStorePath(store_);
    superuser.ChangePassSuperuserActionExecute();
    EXPECT_EQ(vanishing.ShownTexts(), std::vector<std::string>{kBrokenStore});
    EXPECT_FALSE(state_.superuserIn);
    EXPECT_TRUE(state_.settingsLocked);
}

}  // namespace
}  // namespace z5r
