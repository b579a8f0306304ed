// Malformed and hostile description files: each one loads or fails cleanly,
// bad entries are skipped without taking good ones with them, and every
// lookup afterwards gives a sane answer.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "protocol_context.h"
#include "test_files.h"

namespace {

using protocollib_test::CContext;
using protocollib_test::CTempDir;

// Whatever was loaded, answers stay within what the header fields can carry.
void ExpectSaneAnswers(ProtocolContext* context) {
    for (int code = -70000; code <= 70000; code += 97) {
        ASSERT_NE(GetCommandName(context, code), nullptr);
        ASSERT_NE(GetParameterName(context, code), nullptr);
        ASSERT_NE(GetErrorName(context, static_cast<short>(code)), nullptr);
        const int size = GetParameterSize(context, code, 0);
        const int fract = GetParameterFract(context, code, 0);
        EXPECT_GE(size, 0);
        EXPECT_LE(size, 15);
        EXPECT_GE(fract, 0);
        EXPECT_LE(fract, size);
    }
    for (const char* name : {"GOOD", "BAD", "", "P_GOOD"}) {
        const int command = GetCommandID(context, name);
        if (command >= 0) {
            EXPECT_STREQ(GetCommandName(context, command), name);
        }
        const int parameter = GetParameterID(context, name);
        if (parameter >= 0) {
            EXPECT_STREQ(GetParameterName(context, parameter), name);
        }
    }
}

std::string Wrap(const std::string& commands, const std::string& parameters = "",
                 const std::string& statuses = "") {
    return "<protocol version=\"1\"><commands><command name=\"GOOD\" value=\"1\"/>" + commands +
           "</commands><parameters><parameter name=\"P_GOOD\" id=\"7\" size=\"4\" fract=\"2\"/>" +
           parameters + "</parameters><statuses><status name=\"S_GOOD\" value=\"-5\"/>" + statuses +
           "</statuses></protocol>";
}

void ExpectGoodEntries(ProtocolContext* context) {
    EXPECT_EQ(GetCommandID(context, "GOOD"), 1);
    EXPECT_EQ(GetParameterID(context, "P_GOOD"), 7);
    EXPECT_EQ(GetParameterSize(context, 7, 0), 4);
    EXPECT_EQ(GetParameterFract(context, 7, 0), 2);
    EXPECT_STREQ(GetErrorName(context, -5), "S_GOOD");
}

std::string BinaryJunk() {
    std::string junk;
    unsigned state = 12345;
    for (int i = 0; i < 4096; ++i) {
        state = state * 1103515245u + 12345u;
        junk += static_cast<char>(state >> 16);
    }
    return junk;
}

// Elements nested far deeper than any recursion could survive.
std::string DeeplyNested(int depth) {
    std::string xml = Wrap("");
    const std::string end = "</protocol>";
    std::string nest;
    for (int i = 0; i < depth; ++i) nest += "<a>";
    for (int i = 0; i < depth; ++i) nest += "</a>";
    return xml.insert(xml.size() - end.size(), nest);
}

struct RefusedCase {
    const char* label;
    std::string content;
};

TEST(HostileFiles, UnreadableDescriptionsFailTheLoad) {
    const std::vector<RefusedCase> cases = {
        {"empty file", ""},
        {"blanks only", " \n\t\n"},
        {"binary junk", BinaryJunk()},
        {"plain text", "KV_TEST = 0\nKV_RESET\n"},
        {"declaration only", "<?xml version=\"1.0\"?>"},
        {"wrong root", "<protocols version=\"1\"><commands/></protocols>"},
        {"root in another element", "<x><protocol version=\"1\"/></x>"},
        {"no version",
         "<protocol><commands><command name=\"A\" value=\"0\"/></commands></protocol>"},
        {"future version", "<protocol version=\"2\"/>"},
        {"non-numeric version", "<protocol version=\"one\"/>"},
        {"truncated", Wrap("").substr(0, 60)},
        {"unclosed element", "<protocol version=\"1\"><commands><command name=\"A\" value=\"0\">"},
        {"zero byte inside", std::string("<protocol version=\"1\">\0</protocol>", 34)},
        {"mismatched tags", "<protocol version=\"1\"><commands></statuses></protocol>"},
    };
    CTempDir folder;
    for (const auto& test : cases) {
        SCOPED_TRACE(test.label);
        CContext context;
        EXPECT_LT(context.Load(folder.Write("refused.xml", test.content)), 0);
        EXPECT_LT(GetCommandID(context.Get(), "A"), 0);
        ExpectSaneAnswers(context.Get());
    }
}

struct SkippedCase {
    const char* label;
    std::string content;
    std::function<void(ProtocolContext*)> check;  // beyond the good entries
};

TEST(HostileFiles, BadEntriesAreSkippedAndTheRestLoads) {
    const auto noBadCommand = [](ProtocolContext* c) { EXPECT_LT(GetCommandID(c, "BAD"), 0); };
    const auto noBadParameter = [](ProtocolContext* c) { EXPECT_LT(GetParameterID(c, "BAD"), 0); };
    const std::vector<SkippedCase> cases = {
        {"command without value", Wrap("<command name=\"BAD\"/>"), noBadCommand},
        {"command without name", Wrap("<command value=\"9\"/>"),
         [](ProtocolContext* c) { EXPECT_STREQ(GetCommandName(c, 9), ""); }},
        {"empty name", Wrap("<command name=\"\" value=\"9\"/>"),
         [](ProtocolContext* c) { EXPECT_STREQ(GetCommandName(c, 9), ""); }},
        {"name with a blank", Wrap("<command name=\"BAD NAME\" value=\"9\"/>"),
         [](ProtocolContext* c) {
             EXPECT_LT(GetCommandID(c, "BAD NAME"), 0);
             EXPECT_STREQ(GetCommandName(c, 9), "");
         }},
        {"name with an equals sign", Wrap("<command name=\"BAD=2\" value=\"9\"/>"),
         [](ProtocolContext* c) { EXPECT_STREQ(GetCommandName(c, 9), ""); }},
        {"non-numeric value", Wrap("<command name=\"BAD\" value=\"nine\"/>"), noBadCommand},
        {"trailing junk in value", Wrap("<command name=\"BAD\" value=\"9x\"/>"), noBadCommand},
        {"blank before value", Wrap("<command name=\"BAD\" value=\" 9\"/>"), noBadCommand},
        {"hexadecimal value", Wrap("<command name=\"BAD\" value=\"0x9\"/>"), noBadCommand},
        {"huge value", Wrap("<command name=\"BAD\" value=\"99999999999999999999999999\"/>"),
         noBadCommand},
        {"negative command", Wrap("<command name=\"BAD\" value=\"-3\"/>"), noBadCommand},
        {"command beyond 16 bits", Wrap("<command name=\"BAD\" value=\"65536\"/>"), noBadCommand},
        {"duplicate name keeps the first",
         Wrap("<command name=\"GOOD\" value=\"2\"/><command name=\"OTHER\" value=\"1\"/>"),
         [](ProtocolContext* c) {
             EXPECT_STREQ(GetCommandName(c, 2), "");
             EXPECT_STREQ(GetCommandName(c, 1), "GOOD");  // OTHER shares 1 but came later
             EXPECT_EQ(GetCommandID(c, "OTHER"), 1);
         }},
        {"status beyond 16 bits",
         Wrap("", "",
              "<status name=\"BAD\" value=\"32768\"/><status name=\"BAD2\" value=\"-32769\"/>"),
         [](ProtocolContext* c) {
             EXPECT_STREQ(GetErrorName(c, 0), "");  // 32768 must not wrap to anything
             EXPECT_STREQ(GetErrorName(c, -32768), "");
             EXPECT_STREQ(GetErrorName(c, 32767), "");
         }},
        {"statuses sharing a value",
         Wrap("", "",
              "<status name=\"S_LATER\" value=\"-5\"/><status name=\"S_TOP\" value=\"32767\"/>"),
         [](ProtocolContext* c) { EXPECT_STREQ(GetErrorName(c, 32767), "S_TOP"); }},
        {"size beyond a nibble",
         Wrap("", "<parameter name=\"BAD\" id=\"8\" size=\"16\" fract=\"0\"/>"), noBadParameter},
        {"fraction larger than size",
         Wrap("", "<parameter name=\"BAD\" id=\"8\" size=\"1\" fract=\"2\"/>"), noBadParameter},
        {"negative size", Wrap("", "<parameter name=\"BAD\" id=\"8\" size=\"-1\" fract=\"0\"/>"),
         noBadParameter},
        {"parameter id beyond 16 bits",
         Wrap("", "<parameter name=\"BAD\" id=\"70000\" size=\"2\" fract=\"0\"/>"), noBadParameter},
        {"parameter without a format", Wrap("", "<parameter name=\"P_PLAIN\" id=\"8\"/>"),
         [](ProtocolContext* c) {
             EXPECT_EQ(GetParameterID(c, "P_PLAIN"), 8);
             EXPECT_EQ(GetParameterSize(c, 8, 0), 0);
             EXPECT_EQ(GetParameterFract(c, 8, 0), 0);
         }},
        {"second parameter with an id keeps the first format",
         Wrap("", "<parameter name=\"P_LATER\" id=\"7\" size=\"1\" fract=\"0\"/>"),
         [](ProtocolContext* c) {
             EXPECT_STREQ(GetParameterName(c, 7), "P_GOOD");
             EXPECT_EQ(GetParameterID(c, "P_LATER"), 7);
         }},
        {"unknown elements and attributes",
         Wrap("<junk name=\"BAD\" value=\"3\"/><command name=\"EXTRA\" value=\"3\" colour=\"red\">"
              "<child/>text</command>"),
         [](ProtocolContext* c) {
             EXPECT_LT(GetCommandID(c, "BAD"), 0);
             EXPECT_EQ(GetCommandID(c, "EXTRA"), 3);
         }},
        {"entries outside their section",
         "<protocol version=\"1\"><command name=\"BAD\" value=\"3\"/><commands>"
         "<status name=\"BAD\" value=\"3\"/><command name=\"GOOD\" value=\"1\"/></commands>"
         "<parameters><parameter name=\"P_GOOD\" id=\"7\" size=\"4\" fract=\"2\"/></parameters>"
         "<statuses><status name=\"S_GOOD\" value=\"-5\"/></statuses></protocol>",
         [](ProtocolContext* c) {
             EXPECT_LT(GetCommandID(c, "BAD"), 0);
             EXPECT_STREQ(GetErrorName(c, 3), "");
         }},
        {"escaped markup in a name", Wrap("<command name=\"&lt;BAD&gt;\" value=\"9\"/>"),
         [](ProtocolContext* c) { EXPECT_STREQ(GetCommandName(c, 9), ""); }},
        {"entity declarations are not expanded",
         "<!DOCTYPE protocol [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>" +
             Wrap("<command name=\"&b;\" value=\"9\"/>"),
         [](ProtocolContext* c) { EXPECT_STREQ(GetCommandName(c, 9), ""); }},
        {"very long name", Wrap("<command name=\"" + std::string(100000, 'L') + "\" value=\"9\"/>"),
         [](ProtocolContext* c) { EXPECT_EQ(std::string(GetCommandName(c, 9)).size(), 100000u); }},
        {"deep nesting", DeeplyNested(100000), [](ProtocolContext*) {}},
    };
    CTempDir folder;
    for (const auto& test : cases) {
        SCOPED_TRACE(test.label);
        CContext context;
        ASSERT_EQ(context.Load(folder.Write("skipped.xml", test.content)), 0);
        ExpectGoodEntries(context.Get());
        test.check(context.Get());
        ExpectSaneAnswers(context.Get());
    }
}

}  // namespace
