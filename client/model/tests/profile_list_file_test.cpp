#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvel/common/xml_document.h"
#include "model/profile_columns.h"
#include "model/profile_list_file.h"
#include "temp_dir.h"

namespace z5r {
namespace {

using coretest::CTempDir;

SProfile FullProfile() {
    SProfile p = MakeInitialProfile();
    p.comment = "Свип 1 \"<&>\"\tконец";
    p.controlparams.mode = 2;
    p.controlparams.dwell = 1.0 / 3.0;
    p.freqparams.start = 123456789012.34567;
    p.freqparams.startinctype = true;
    p.powparams.strategy = 3;
    p.powparams.allowlimit = true;
    p.powparams.limit = -12.345678901234567;
    p.syncparams.phase = 12.5;
    p.syncparams.erg = true;
    p.pulsemodparams.tau = 0.000004;
    p.packet = {SPulse{0.000004, 0.00001, 2.5, true}, SPulse{1e-7, 3e-7, 3.0, false}};
    p.listelements = {SListPoint{11, 1e7, 2e10, 0, 1, -10.1, 5.5}, SListPoint{1, 0.1, 0.2, 1, 0, 0, 0}};
    return p;
}

struct SRoundTrip {
    const char* name;
    std::vector<SProfile> profiles;
};

class CProfileRoundTrip : public ::testing::TestWithParam<SRoundTrip> {};

// What is written reads back exactly, through a real file.
TEST_P(CProfileRoundTrip, ReadsBackWhatWasWritten) {
    CTempDir dir;
    const std::string path = dir / "list.z5p";
    ASSERT_EQ(WriteProfileListFile(path, GetParam().profiles, EProfileListMark::Plain), EProfileListWrite::Written);
    std::vector<SProfile> read{SProfile{}};
    ASSERT_EQ(ReadProfileListFile(path, ESecureListTest::Skip, read), EProfileListRead::Read);
    EXPECT_EQ(read, GetParam().profiles);
}

INSTANTIATE_TEST_SUITE_P(ProfileListFile, CProfileRoundTrip,
                         ::testing::Values(SRoundTrip{"NoProfiles", {}},
                                           SRoundTrip{"EmptySequences", {SProfile{}}},
                                           SRoundTrip{"Full", {FullProfile(), MakeInitialProfile()}}),
                         [](const auto& info) { return std::string(info.param.name); });

std::vector<std::string> Names(pugi::xml_node node) {
    std::vector<std::string> names;
    for (auto child : node.children()) names.push_back(child.name());
    return names;
}

std::vector<std::string> AttributeNames(pugi::xml_node node) {
    std::vector<std::string> names;
    for (auto attribute : node.attributes()) names.push_back(attribute.name());
    return names;
}

TEST(ProfileListDocument, KeepsTheOrderOfElementsAndAttributes) {
    pugi::xml_document doc;
    BuildProfileListDocument(doc, {SProfile{}}, EProfileListMark::Plain);
    const auto profile = doc.child("profilelist").child("profile");
    EXPECT_EQ(AttributeNames(profile), (std::vector<std::string>{"comment"}));
    EXPECT_EQ(Names(profile), (std::vector<std::string>{"controlparams", "freqparams", "powparams", "syncparams",
                                                        "pulsemodparams", "listelements"}));
    EXPECT_EQ(AttributeNames(profile.child("controlparams")),
              (std::vector<std::string>{"mode", "trigger", "runmode", "dwell", "dwellinc", "dwellinctype",
                                        "dwellincpow"}));
    EXPECT_EQ(AttributeNames(profile.child("powparams")).back(), "strategy");
    EXPECT_EQ(AttributeNames(profile.child("freqparams")).size(), 19u);
    EXPECT_EQ(AttributeNames(profile.child("syncparams")).size(), 13u);
    EXPECT_EQ(AttributeNames(profile.child("pulsemodparams")).size(), 13u);
    EXPECT_EQ(Names(profile.child("pulsemodparams")), std::vector<std::string>(4, "element"));
    EXPECT_EQ(Names(profile.child("listelements")), std::vector<std::string>(7, "element"));
}

TEST(ProfileListDocument, WritesColumnsEachValueFollowedByASpace) {
    SProfile profile;
    profile.packet = {SPulse{0.000004, 0.00001, 2.5, false}};
    profile.listelements = {SListPoint{501, 1e7, 2e10, 1, 0, 0, -3.5}};
    pugi::xml_document doc;
    BuildProfileListDocument(doc, {profile}, EProfileListMark::Plain);
    const auto p = doc.child("profilelist").child("profile");
    auto pulses = p.child("pulsemodparams").child("element");
    EXPECT_STREQ(pulses.text().get(), "4e-06 ");
    EXPECT_STREQ(pulses.next_sibling().next_sibling().next_sibling().text().get(), "0 ");
    auto lists = p.child("listelements").child("element");
    EXPECT_STREQ(lists.text().get(), "1e+07 ");
    for (int i = 0; i < 4; ++i) lists = lists.next_sibling();
    EXPECT_STREQ(lists.text().get(), "501 ");
}

TEST(ProfileListDocument, MarksSecureLists) {
    pugi::xml_document plain, secure;
    BuildProfileListDocument(plain, {}, EProfileListMark::Plain);
    BuildProfileListDocument(secure, {}, EProfileListMark::Secure);
    EXPECT_FALSE(plain.child("profilelist").attribute("securemode"));
    EXPECT_STREQ(secure.child("profilelist").attribute("securemode").value(), "true");
}

struct SReadCase {
    const char* name;
    const char* xml;
    std::vector<SPulse> packet;
    std::vector<SListPoint> segments;
};

class CProfileRead : public ::testing::TestWithParam<SReadCase> {};

TEST_P(CProfileRead, ReadsTheSequences) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(GetParam().xml));
    std::vector<SProfile> profiles;
    ASSERT_EQ(ReadProfileListDocument(doc, ESecureListTest::Skip, profiles), EProfileListRead::Read);
    ASSERT_EQ(profiles.size(), 1u);
    EXPECT_EQ(profiles[0].packet, GetParam().packet);
    EXPECT_EQ(profiles[0].listelements, GetParam().segments);
}

#define PACKET(a, b, c, d) \
    "<profilelist><profile><pulsemodparams><element>" a "</element><element>" b "</element><element>" c \
    "</element><element>" d "</element></pulsemodparams></profile></profilelist>"

INSTANTIATE_TEST_SUITE_P(
    ProfileListDocument, CProfileRead,
    ::testing::Values(
        SReadCase{"DecimalCommas", PACKET("0,000004 0,00001 ", "1 1 ", "2 2 ", "1 0 "),
                  {SPulse{0.000004, 1, 2, true}, SPulse{0.00001, 1, 2, false}}, {}},
        SReadCase{"ColumnEndsAtJunk", PACKET("1 2 x 3 ", "1 1 1 1 ", "1 1 1 1 ", "1 1 1 1 "),
                  {SPulse{1, 1, 1, true}, SPulse{2, 1, 1, true}}, {}},
        SReadCase{"ShortColumnsTakeDefaults", PACKET("5 6 ", "7 ", "", ""),
                  {SPulse{5, 7, SPulse{}.q, true}, SPulse{6, SPulse{}.period, SPulse{}.q, true}}, {}},
        SReadCase{"ThreePacketColumns",
                  "<profilelist><profile><pulsemodparams><element>1 </element><element>1 </element>"
                  "<element>1 </element></pulsemodparams></profile></profilelist>",
                  {}, {}},
        SReadCase{"OlderListThenColumns",
                  "<profilelist><profile><lists><list points='3' startfreq='1' stopfreq='2' startpow='-1' "
                  "stoppow='-2' linfreq='0' used='1'/><list/></lists><listelements><element>5 </element>"
                  "<element>6 </element><element>7 </element><element>8 </element><element>9.9 </element>"
                  "<element>0 </element><element>-1.7 </element></listelements></profile></profilelist>",
                  {},
                  {SListPoint{3, 1, 2, 0, 1, -1, -2}, SListPoint{0, 0, 0, 0, 0, 0, 0},
                   SListPoint{9, 5, 6, 0, -1, 7, 8}}},
        SReadCase{"SixListColumns",
                  "<profilelist><profile><listelements><element>5 </element><element>6 </element>"
                  "<element/><element/><element/><element/></listelements></profile></profilelist>",
                  {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileListDocument, AbsentGroupsAndAttributesTakeTheRecordDefaults) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<profilelist><profile><powparams strategy='-2.9' start='-5'/>"
                                "<pulsemodparams tau='0.5'/></profile></profilelist>"));
    std::vector<SProfile> profiles;
    ASSERT_EQ(ReadProfileListDocument(doc, ESecureListTest::Skip, profiles), EProfileListRead::Read);
    SProfile expected;
    expected.powparams.strategy = -2;
    expected.powparams.start = -5;
    expected.pulsemodparams.tau = 0.5;
    ASSERT_EQ(profiles.size(), 1u);
    EXPECT_EQ(profiles[0], expected);
}

struct SResultCase {
    const char* name;
    const char* xml;
    ESecureListTest test;
    EProfileListRead result;
};

class CProfileResult : public ::testing::TestWithParam<SResultCase> {};

// Anything but Read leaves the list in memory as it was.
TEST_P(CProfileResult, GivesTheResult) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(GetParam().xml));
    const std::vector<SProfile> before{FullProfile()};
    std::vector<SProfile> profiles = before;
    EXPECT_EQ(ReadProfileListDocument(doc, GetParam().test, profiles), GetParam().result);
    if (GetParam().result != EProfileListRead::Read) {
        EXPECT_EQ(profiles, before);
    } else {
        EXPECT_TRUE(profiles.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    ProfileListDocument, CProfileResult,
    ::testing::Values(
        SResultCase{"NoRoot", "<profiles/>", ESecureListTest::Skip, EProfileListRead::BadFormat},
        SResultCase{"NotSecure", "<profilelist/>", ESecureListTest::Require, EProfileListRead::NotSecureList},
        SResultCase{"SecureFalse", "<profilelist securemode='false'/>", ESecureListTest::Require,
                    EProfileListRead::NotSecureList},
        SResultCase{"Secure", "<profilelist securemode='true'/>", ESecureListTest::Require, EProfileListRead::Read},
        SResultCase{"TestSkipped", "<profilelist/>", ESecureListTest::Skip, EProfileListRead::Read}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileListFile, SecureTestOnlyForOtherFilesOfASecureConnectedInstrument) {
    EXPECT_EQ(SecureListTestFor(true, true, false), ESecureListTest::Require);
    EXPECT_EQ(SecureListTestFor(true, true, true), ESecureListTest::Skip);
    EXPECT_EQ(SecureListTestFor(true, false, false), ESecureListTest::Skip);
    EXPECT_EQ(SecureListTestFor(false, true, false), ESecureListTest::Skip);
}

TEST(ProfileListFile, FilesNotOfTheFormatAreUnreadable) {
    CTempDir dir;
    coretest::WriteFile(dir / "plain.z5p", "<profilelist/>");
    VxCore::CXMLDocument other(true);
    other.Open(nullptr);
    other.SetSignature("QLT\x01");
    other.Doc().append_child("profilelist");
    ASSERT_EQ(other.Save((dir / "other.z5p").c_str()), 0);
    const std::vector<SProfile> before{FullProfile()};
    for (const char* name : {"absent.z5p", "plain.z5p", "other.z5p"}) {
        std::vector<SProfile> profiles = before;
        EXPECT_EQ(ReadProfileListFile(dir / name, ESecureListTest::Skip, profiles), EProfileListRead::Unreadable)
            << name;
        EXPECT_EQ(profiles, before);
    }
    EXPECT_FALSE(ProfileListReadMessage(EProfileListRead::Unreadable));
}

TEST(ProfileListFile, AFailedWriteSaysSo) {
    CTempDir dir;
    EXPECT_EQ(WriteProfileListFile(dir / "absent/list.z5p", {}, EProfileListMark::Plain),
              EProfileListWrite::CannotWrite);
    const auto message = ProfileListWriteMessage(EProfileListWrite::CannotWrite);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, "Не удалось сохранить файл профилей.");
    EXPECT_FALSE(ProfileListWriteMessage(EProfileListWrite::Written));
}

TEST(ProfileListFile, ReadMessages) {
    const auto bad = ProfileListReadMessage(EProfileListRead::BadFormat);
    const auto notSecure = ProfileListReadMessage(EProfileListRead::NotSecureList);
    ASSERT_TRUE(bad && notSecure);
    EXPECT_EQ(bad->caption, "Ошибка");
    EXPECT_EQ(bad->icon, EPromptIcon::Error);
    EXPECT_EQ(bad->text, "Файл профилей имеет неправильный формат.");
    EXPECT_EQ(notSecure->text, "Файл профилей имеет неправильный формат. Будет загружен профиль по умолчанию.");
}

TEST(ProfileListDocument, RefusesColumnsBeyondTheLimit) {
    std::string column;
    for (std::size_t i = 0; i <= kMaxColumnValues; ++i) column += "1 ";
    const std::string xml = "<profilelist><profile><pulsemodparams><element>" + column +
                            "</element><element/><element/><element/></pulsemodparams></profile></profilelist>";
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(xml.c_str()));
    std::vector<SProfile> profiles{SProfile{}};
    EXPECT_EQ(ReadProfileListDocument(doc, ESecureListTest::Skip, profiles), EProfileListRead::BadFormat);
    EXPECT_EQ(profiles.size(), 1u);
}

TEST(ProfileColumns, RefusesColumnsBeyondTheLimit) {
    std::string column;
    for (std::size_t i = 0; i <= kMaxColumnValues; ++i) column += "1 ";
    EXPECT_FALSE(ParseColumn(column));
    column.resize(column.size() - 2);
    EXPECT_EQ(ParseColumn(column)->size(), kMaxColumnValues);
}

}  // namespace
}  // namespace z5r
