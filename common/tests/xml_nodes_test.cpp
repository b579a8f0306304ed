#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "korvel/common/xml_nodes.h"

namespace {

using namespace VxCore;

class CDoubleRoundTrip : public ::testing::TestWithParam<double> {};

TEST_P(CDoubleRoundTrip, ReadsBackExactly) {
    pugi::xml_document doc;
    auto element = doc.append_child("e");
    AddAttribute(element, "v", GetParam());
    EXPECT_EQ(GetNodeDoubleValue(doc, "e/@v", -1.0), GetParam()) << element.attribute("v").value();
}

INSTANTIATE_TEST_SUITE_P(XMLNodes, CDoubleRoundTrip,
                         ::testing::Values(0.0, 12.5, 0.1, 1.0 / 3.0, 0.000004, 123456789012.34567, -130.0,
                                           1e-300, std::numeric_limits<double>::max(),
                                           std::numeric_limits<double>::denorm_min(),
                                           std::numeric_limits<double>::infinity()));

TEST(XMLNodes, IntsAndBoolsAndTextsReadBack) {
    pugi::xml_document doc;
    auto element = doc.append_child("e");
    AddAttribute(element, "i", -2147483647 - 1);
    AddAttribute(element, "b", true);
    AddAttribute(element, "f", false);
    AddAttribute(element, "t", "Профиль 1");
    EXPECT_EQ(GetNodeIntValue(element, "@i", 0), -2147483647 - 1);
    EXPECT_TRUE(GetNodeBoolValue(element, "@b", false));
    EXPECT_FALSE(GetNodeBoolValue(element, "@f", true));
    EXPECT_STREQ(GetNodeStringValue(element, "@t", ""), "Профиль 1");
}

TEST(XMLNodes, AddAttributeReplacesAnExistingValue) {
    pugi::xml_document doc;
    auto element = doc.append_child("e");
    AddAttribute(element, "v", 1);
    AddAttribute(element, "v", 2);
    EXPECT_EQ(GetNodeIntValue(element, "@v", 0), 2);
    EXPECT_FALSE(element.attribute("v").next_attribute());
}

struct SFallback {
    const char* name;
    const char* xml;
    const char* path;
};

class CFallback : public ::testing::TestWithParam<SFallback> {};

// Every getter gives its default when the path selects nothing usable.
TEST_P(CFallback, GivesTheDefault) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(GetParam().xml));
    const auto root = doc.first_child();
    EXPECT_EQ(GetNodeIntValue(root, GetParam().path, 7), 7);
    EXPECT_EQ(GetNodeDoubleValue(root, GetParam().path, 2.5), 2.5);
    EXPECT_TRUE(GetNodeBoolValue(root, GetParam().path, true));
    EXPECT_FALSE(GetNodeBoolValue(root, GetParam().path, false));
}

INSTANTIATE_TEST_SUITE_P(XMLNodes, CFallback,
                         ::testing::Values(SFallback{"AbsentAttribute", "<e/>", "@mode"},
                                           SFallback{"AbsentChild", "<e/>", "freqparams/@start"},
                                           SFallback{"NotANumber", "<e v='abc'/>", "@v"},
                                           SFallback{"NumberWithJunk", "<e v='12x'/>", "@v"},
                                           SFallback{"Empty", "<e v=''/>", "@v"},
                                           SFallback{"OutOfRange", "<e v='1e999'/>", "@v"},
                                           SFallback{"InvalidPath", "<e v='1'/>", "@@["}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(XMLNodes, StringGetterDefaultsOnlyWhenAbsent) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<e c='' /><f>text</f>"));
    EXPECT_STREQ(GetNodeStringValue(doc, "e/@c", "none"), "");
    EXPECT_STREQ(GetNodeStringValue(doc, "e/@d", "none"), "none");
    EXPECT_STREQ(GetNodeStringValue(doc, "f", "none"), "text");
}

TEST(XMLNodes, ElementOrCreateFindsOrAppends) {
    pugi::xml_document doc;
    auto root = doc.append_child("root");
    const auto created = GetElementOrCreate(root, "freqparams");
    EXPECT_EQ(GetElementOrCreate(root, "freqparams"), created);
    EXPECT_EQ(std::string(root.first_child().name()), "freqparams");
    EXPECT_FALSE(created.next_sibling());
}

TEST(XMLNodes, GetElementPassesOnlyElements) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<e>text</e>"));
    EXPECT_EQ(GetElement(doc.first_child()), doc.first_child());
    EXPECT_FALSE(GetElement(doc.first_child().first_child()));
}

}  // namespace
