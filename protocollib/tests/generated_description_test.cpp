// The generated Protocol.xml, read through the library, answers exactly what
// the protocol's own tables say, for every entry.
#include <gtest/gtest.h>

#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "kvproto/dictionary.h"
#include "kvproto/packet.h"
#include "protocol_context.h"

namespace {

using kvproto::DictionaryEntry;
using protocollib_test::CContext;

// Looked up independently of the dictionary's own lookup: the first entry
// in table order with this value.
std::string FirstNameWithValue(const std::vector<DictionaryEntry>& entries, std::int32_t value) {
    for (const auto& entry : entries) {
        if (entry.value == value) return entry.name;
    }
    return {};
}

class GeneratedDescription : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(context_.Load(KV_PROTOCOL_XML), 0); }
    ProtocolContext* Context() const { return context_.Get(); }

private:
    CContext context_;
};

TEST_F(GeneratedDescription, EveryCommandByNameAndByCode) {
    const auto& entries = kvproto::CommandDictionary().Entries();
    ASSERT_EQ(entries.size(), 7u);
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(GetCommandID(Context(), entry.name.c_str()), entry.value);
        EXPECT_EQ(GetCommandName(Context(), entry.value), FirstNameWithValue(entries, entry.value));
    }
    EXPECT_EQ(GetCommandID(Context(), "KV_SET"), 3);
    EXPECT_STREQ(GetCommandName(Context(), 6), "KV_RUN");
}

TEST_F(GeneratedDescription, EveryParameterByNameAndByIdWithItsFormat) {
    const auto& entries = kvproto::ParameterDictionary().Entries();
    ASSERT_EQ(entries.size(), 102u);
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(GetParameterID(Context(), entry.name.c_str()), entry.value);
        EXPECT_EQ(GetParameterName(Context(), entry.value),
                  FirstNameWithValue(entries, entry.value));
        // One format per parameter, whichever value is asked about.
        for (const int index : {0, 1, 5}) {
            EXPECT_EQ(GetParameterSize(Context(), entry.value, index),
                      static_cast<int>(kvproto::BytesPerValue(entry.format)));
            EXPECT_EQ(GetParameterFract(Context(), entry.value, index),
                      static_cast<int>(kvproto::FractionBytes(entry.format)));
        }
    }
    EXPECT_EQ(GetParameterID(Context(), "P_CLK"), 50);
    EXPECT_EQ(GetParameterID(Context(), "P_MAX_NUMBER"), 210);
}

TEST_F(GeneratedDescription, EveryStatusNamesTheFirstEntryWithItsValue) {
    const auto& entries = kvproto::StatusDictionary().Entries();
    ASSERT_EQ(entries.size(), 114u);
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(GetErrorName(Context(), static_cast<short>(entry.value)),
                  FirstNameWithValue(entries, entry.value));
    }
    // Shared value: the earlier entry wins; names come bare, without " = value".
    EXPECT_STREQ(GetErrorName(Context(), 15), "KV_IF5_OVERLOAD");
    EXPECT_STREQ(GetErrorName(Context(), -32768), "KV_CRITICAL_ERROR");
    EXPECT_STREQ(GetErrorName(Context(), -32767), "KV_UNKNOWN_COMMAND");
    EXPECT_STREQ(GetErrorName(Context(), 20480), "SE_DEVICE_DONT_ANSWER");
    EXPECT_STREQ(GetErrorName(Context(), -32475), "KV_W2T_USER_CHANGES");
}

TEST_F(GeneratedDescription, CodesOutsideTheTablesAreUnknown) {
    EXPECT_LT(GetCommandID(Context(), "KV_NOTHING"), 0);
    EXPECT_LT(GetCommandID(Context(), "kv_test"), 0);  // exact: the caller upper-cases
    EXPECT_LT(GetCommandID(Context(), ""), 0);
    EXPECT_LT(GetCommandID(Context(), nullptr), 0);
    EXPECT_STREQ(GetCommandName(Context(), 7), "");
    EXPECT_STREQ(GetCommandName(Context(), -1), "");
    EXPECT_LT(GetParameterID(Context(), "KV_TEST"), 0);  // tables are separate
    EXPECT_STREQ(GetParameterName(Context(), 41), "");   // the gap before P_CLK
    EXPECT_EQ(GetParameterSize(Context(), 41, 0), 0);
    EXPECT_EQ(GetParameterFract(Context(), 41, 0), 0);
    EXPECT_STREQ(GetErrorName(Context(), -1), "");
    EXPECT_STREQ(GetErrorName(Context(), 16), "");
}

// The file itself: version, table order and the Russian texts intact.
TEST(GeneratedFile, ListsEveryEntryInTableOrderWithItsTexts) {
    pugi::xml_document document;
    ASSERT_TRUE(document.load_file(KV_PROTOCOL_XML));
    const auto root = document.child("protocol");
    ASSERT_TRUE(root);
    EXPECT_EQ(root.attribute("version").as_int(), 1);

    const auto& commands = kvproto::CommandDictionary().Entries();
    size_t i = 0;
    for (const auto& node : root.child("commands").children("command")) {
        ASSERT_LT(i, commands.size());
        EXPECT_EQ(node.attribute("name").value(), commands[i].name);
        ++i;
    }
    EXPECT_EQ(i, commands.size());

    const auto& parameters = kvproto::ParameterDictionary().Entries();
    i = 0;
    for (const auto& node : root.child("parameters").children("parameter")) {
        ASSERT_LT(i, parameters.size());
        EXPECT_EQ(node.attribute("name").value(), parameters[i].name);
        EXPECT_EQ(node.attribute("description").value(), parameters[i].text);
        ++i;
    }
    EXPECT_EQ(i, parameters.size());

    const auto& statuses = kvproto::StatusDictionary().Entries();
    i = 0;
    for (const auto& node : root.child("statuses").children("status")) {
        ASSERT_LT(i, statuses.size());
        EXPECT_EQ(node.attribute("name").value(), statuses[i].name);
        EXPECT_EQ(node.attribute("text").value(), statuses[i].text);
        ++i;
    }
    EXPECT_EQ(i, statuses.size());
}

}  // namespace
