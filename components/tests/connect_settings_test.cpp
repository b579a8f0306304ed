// The connection dialog's settings file, read and written in real files.
#include "korvel/components/connect_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "korvel/components/instrument_search.h"
#include "temp_dir.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;

using test::TempDir;

void Write(const fs::path& file, const std::string& content) {
    std::ofstream out(file, std::ios::binary);
    out << content;
}

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

TEST(ConnectSettings, RoundTripKeepsEverythingPerDevice) {
    TempDir dir;
    const std::string file = (dir / "config.xml").string();
    ConnectSettings z5r{true, "192.168.1.20", {"192.168.1.20", "10.0.0.7"}};
    ConnectSettings other{false, "10.1.1.1", {"10.1.1.1"}};
    ASSERT_TRUE(SaveConnectSettings(file, "Z5R", z5r));
    ASSERT_TRUE(SaveConnectSettings(file, "Other", other));

    const ConnectSettings back = LoadConnectSettings(file, "Z5R");
    EXPECT_TRUE(back.autoConnect);
    EXPECT_EQ(back.address, "192.168.1.20");
    EXPECT_EQ(back.history, z5r.history);
    EXPECT_EQ(LoadConnectSettings(file, "Other").address, "10.1.1.1");

    // Saving one device again replaces its entry and keeps the other.
    z5r.autoConnect = false;
    ASSERT_TRUE(SaveConnectSettings(file, "Z5R", z5r));
    EXPECT_FALSE(LoadConnectSettings(file, "Z5R").autoConnect);
    EXPECT_EQ(LoadConnectSettings(file, "Other").history, other.history);
    EXPECT_EQ(Read(file).find("<device name=\"Z5R\""), Read(file).rfind("<device name=\"Z5R\""));
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator{}), 1);
}

TEST(ConnectSettings, NothingStoredGivesDefaults) {
    TempDir dir;
    const auto isDefault = [](const ConnectSettings& s) {
        return !s.autoConnect && s.address.empty() && s.history.empty();
    };
    EXPECT_TRUE(isDefault(LoadConnectSettings("", "Z5R")));
    EXPECT_FALSE(SaveConnectSettings("", "Z5R", ConnectSettings{true, "1.2.3.4", {}}));
    EXPECT_TRUE(isDefault(LoadConnectSettings((dir / "missing.xml").string(), "Z5R")));

    const auto file = dir / "config.xml";
    for (const char* content :
         {"", "<connection/>", "not xml at all", "<connection><device",
          "<other><device name=\"Z5R\" address=\"1.1.1.1\"/></other>",
          "\xEF\xBB\xBF<connection><device name=\"Z5R\" autoconnect=\"maybe\"/>"
          "</connection>"}) {
        Write(file, content);
        EXPECT_TRUE(isDefault(LoadConnectSettings(file.string(), "Z5R"))) << content;
    }
    // Far too large to be a settings file, though it starts like one.
    Write(file, "<connection><device name=\"Z5R\" address=\"1.1.1.1\"/>" +
                    std::string(2 << 20, ' ') + "</connection>");
    EXPECT_TRUE(isDefault(LoadConnectSettings(file.string(), "Z5R")));
    // A folder where the file should be: nothing read, nothing written.
    fs::create_directory(dir / "folder.xml");
    EXPECT_TRUE(isDefault(LoadConnectSettings((dir / "folder.xml").string(), "Z5R")));
    EXPECT_FALSE(SaveConnectSettings((dir / "folder.xml").string(), "Z5R", {}));
    EXPECT_FALSE(SaveConnectSettings((dir / "no" / "such.xml").string(), "Z5R", {}));
}

TEST(ConnectSettings, CorruptFileIsReplacedOnSave) {
    TempDir dir;
    const auto file = dir / "config.xml";
    Write(file, "<connection><device name=\"Z5R\"");
    ASSERT_TRUE(SaveConnectSettings(file.string(), "Z5R", ConnectSettings{true, "10.0.0.2", {}}));
    EXPECT_EQ(LoadConnectSettings(file.string(), "Z5R").address, "10.0.0.2");
}

TEST(ConnectSettings, HistoryIsCleanedOnLoad) {
    TempDir dir;
    const auto file = dir / "config.xml";
    std::string content =
        "<connection><device name=\"Z5R\" address=\" 10.0.0.1 \"><history>"
        "<address>10.0.0.1</address><address>  </address>"
        "<address>10.0.0.2</address><address>10.0.0.1</address>";
    for (int i = 3; i < 20; ++i) content += "<address>10.0.0." + std::to_string(i) + "</address>";
    content += "</history></device></connection>";
    Write(file, content);
    const ConnectSettings loaded = LoadConnectSettings(file.string(), "Z5R");
    EXPECT_EQ(loaded.address, "10.0.0.1");
    ASSERT_EQ(loaded.history.size(), kConnectHistorySize);
    EXPECT_EQ(loaded.history[0], "10.0.0.1");
    EXPECT_EQ(loaded.history[1], "10.0.0.2");
    EXPECT_EQ(loaded.history[2], "10.0.0.3");
}

TEST(RememberAddress, MovesToTheFrontAndCaps) {
    ConnectSettings settings;
    for (int i = 0; i < 12; ++i) RememberAddress(settings, "10.0.0." + std::to_string(i));
    RememberAddress(settings, " 10.0.0.5 ");
    RememberAddress(settings, "   ");
    ASSERT_EQ(settings.history.size(), kConnectHistorySize);
    EXPECT_EQ(settings.history[0], "10.0.0.5");
    EXPECT_EQ(settings.history[1], "10.0.0.11");
    EXPECT_EQ(std::count(settings.history.begin(), settings.history.end(), "10.0.0.5"), 1);
}

TEST(ParseFoundResource, SplitsTheLibrarysEntries) {
    const auto found = ParseFoundResource("TCPIP1::192.168.1.20::8888::SOCKET", "\tZ5R TEST ");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->host, "192.168.1.20");
    EXPECT_EQ(found->port, "8888");
    EXPECT_EQ(found->description, "Z5R TEST");
    EXPECT_EQ(ParseFoundResource("tcpip::host.lab::8888::socket", "")->host, "host.lab");
    for (const char* junk :
         {"", "TCPIP", "ASRL1::INSTR", "TCPIP1::::8888::SOCKET", "TCPIP1::h::::SOCKET",
          "TCPIP1::h::88a::SOCKET", "TCPIP1::h::8888::INSTR", "TCPIP1::h::8888::SOCKETX",
          "TCPIPx::h::1::SOCKET"}) {
        EXPECT_FALSE(ParseFoundResource(junk, "")) << junk;
    }
}

}  // namespace
}  // namespace korvel
