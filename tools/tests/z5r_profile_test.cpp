// z5r-profile run as a child process on real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "korvel/common/xml_document.h"
#include "model/password_store_format.h"
#include "model/profile_list_file.h"
#include "support/child_process.h"

namespace {

struct SRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

SRun RunProfileTool(std::vector<std::string> args) {
    args.insert(args.begin(), Z5R_PROFILE_PATH);
    kvtest::ChildOptions options;
    options.pipeInput = true;
    options.captureErrors = true;
    kvtest::ChildProcess child(args, options);
    child.CloseInput();
    SRun run;
    run.out = child.ReadRest();
    run.err = child.ReadErrorRest();
    run.exitCode = child.Wait();
    return run;
}

class CProfileTool : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "z5r_profile_XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string At(const std::string& name) const { return dir_ + "/" + name; }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(At(name), std::ios::binary) << text;
    }

    std::string dir_;
};

std::vector<z5r::SProfile> SampleProfiles() {
    z5r::SProfile point = z5r::MakeInitialProfile();
    point.comment = "Точка 1 ГГц";
    point.freqparams.fix = 1e9;
    point.syncparams.phase = 12.5;
    point.packet = {z5r::SPulse{}, z5r::SPulse{2e-6, 1e-5, 5.0, false}};
    point.listelements = {z5r::SListPoint{}};
    return {point, z5r::SProfile{}};
}

TEST_F(CProfileTool, RoundTripGivesTheSameProfiles) {
    const auto profiles = SampleProfiles();
    ASSERT_EQ(z5r::WriteProfileListFile(At("a.z5p"), profiles, z5r::EProfileListMark::Secure),
              z5r::EProfileListWrite::Written);
    const SRun shown = RunProfileTool({"to-xml", At("a.z5p")});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(shown.out.find("<profilelist securemode=\"true\">"), std::string::npos);
    Write("a.xml", shown.out);
    const SRun written = RunProfileTool({"from-xml", At("a.xml"), At("b.z5p")});
    ASSERT_EQ(written.exitCode, 0) << written.err;
    std::vector<z5r::SProfile> read;
    ASSERT_EQ(z5r::ReadProfileListFile(At("b.z5p"), z5r::ESecureListTest::Require, read),
              z5r::EProfileListRead::Read);
    EXPECT_EQ(read, profiles);
}

TEST_F(CProfileTool, WritesAndShowsPasswordStores) {
    Write("secure.xml", "<Z5R_Client><Secure Pass=\"5820417396\"/></Z5R_Client>");
    ASSERT_EQ(RunProfileTool({"from-xml", At("secure.xml"), At("secure"), "--store"}).exitCode, 0);
    VxCore::CXMLDocument doc(true);
    doc.SetSignature(z5r::kPasswordStoreSignature);
    ASSERT_EQ(doc.Open(At("secure").c_str()), 0);
    EXPECT_STREQ(doc.Doc().child("Z5R_Client").child("Secure").attribute("Pass").value(), "5820417396");
    const SRun shown = RunProfileTool({"to-xml", At("secure")});
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_NE(shown.out.find("Pass=\"5820417396\""), std::string::npos);
}

struct SRefusal {
    const char* name;
    std::vector<std::string> args;  // "@" names a file in the test folder
    int exitCode;
    const char* message;
};

class CProfileToolRefusal : public CProfileTool, public ::testing::WithParamInterface<SRefusal> {};

// Refused runs say why on standard error and leave OUT as it was.
TEST_P(CProfileToolRefusal, SaysWhy) {
    Write("plain.z5p", "<profilelist/>");
    Write("bad.xml", "<profilelist><profile></profilelist>");
    Write("store.xml", "<Z5R_Client/>");
    Write("out.z5p", "previous");
    std::vector<std::string> args;
    for (const auto& arg : GetParam().args) args.push_back(arg.front() == '@' ? At(arg.substr(1)) : arg);
    const SRun run = RunProfileTool(args);
    EXPECT_EQ(run.exitCode, GetParam().exitCode);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    std::ifstream out(At("out.z5p"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(out), {}), "previous");
}

INSTANTIATE_TEST_SUITE_P(
    ProfileTool, CProfileToolRefusal,
    ::testing::Values(
        SRefusal{"NoCommand", {}, 2, "Usage:"},
        SRefusal{"UnknownOption", {"to-xml", "@plain.z5p", "--fast"}, 2, "unknown option --fast"},
        SRefusal{"MissingFile", {"to-xml", "@absent.z5p"}, 3, "cannot read"},
        SRefusal{"PlainXMLFile", {"to-xml", "@plain.z5p"}, 1, "neither a profile-list file nor a password store"},
        SRefusal{"MissingInput", {"from-xml", "@absent.xml", "@out.z5p"}, 3, "cannot read"},
        SRefusal{"MalformedInput", {"from-xml", "@bad.xml", "@out.z5p"}, 1, "is not well-formed XML"},
        SRefusal{"WrongRoot", {"from-xml", "@store.xml", "@out.z5p"}, 1, "needs \"profilelist\""},
        SRefusal{"WrongStoreRoot", {"from-xml", "@plain.z5p", "@out.z5p", "--store"}, 1, "needs \"Z5R_Client\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CProfileTool, HelpDescribesTheCommands) {
    const SRun run = RunProfileTool({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("from-xml IN.xml OUT"), std::string::npos);
}

}  // namespace
