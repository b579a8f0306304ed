// Packet files: the text of each line, what reading makes of any line, and
// real files in a temporary folder.
#include "model/packet_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "temp_dir.h"

namespace z5r {
namespace {

using coretest::CTempDir;
using coretest::ReadFile;
using coretest::WriteFile;

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(PacketFileTest, WritesOneLineEachWithThirteenDigitsAndCrLf) {
    const std::vector<SPulse> packet{
        SPulse{},
        SPulse{2.5e-6, 1.0 / 3.0 * 1e-5, 4.0 / 3.0, false},
        SPulse{123456.7890123456, 0.0, -1.0, true},
    };
    EXPECT_EQ(PacketFileText(packet),
              "1e-06\t1e-05\t10\t1\r\n"
              "2.5e-06\t3.333333333333e-06\t1.333333333333\t0\r\n"
              "123456.7890123\t0\t-1\t1\r\n");
    EXPECT_EQ(PacketFileText({}), "");
}

TEST(PacketFileTest, ReadsEachLineAsAPulse) {
    struct SCase {
        const char* what;
        const char* text;
        SPulse pulse;
    };
    const SCase cases[] = {
        {"a written line", "1e-06\t1e-05\t10\t1\r\n", {1e-6, 1e-5, 10, true}},
        {"three numbers: unticked", "1e-06 1e-05 10", {1e-6, 1e-5, 10, false}},
        {"a comma as decimal point", "2,5e-06 1e-05 4 1", {2.5e-6, 1e-5, 4, true}},
        {"more numbers than four", "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17", {1, 2, 3, true}},
        {"junk after the numbers", "1e-6 2e-6 xyz 1", {1e-6, 2e-6, 0, false}},
        {"junk first", "abc 1 2 3", {0, 0, 0, false}},
        {"plus signs and blanks", "  +3e-6\t\t+6e-6 2 +1 ", {3e-6, 6e-6, 2, true}},
        {"any number but 0 ticks", "1 2 3 -0.5", {1, 2, 3, true}},
        {"too large for a double", "1e999 -1e999 5 1", {kInf, -kInf, 5, true}},
        {"too small for a double", "1e-999 2 3 0", {0, 2, 3, false}},
        {"bounds are not applied", "-4 1e3 0 1", {-4, 1000, 0, true}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<SPulse> pulses = ParsePacketText(c.text);
        ASSERT_EQ(pulses.size(), 1u);
        EXPECT_EQ(pulses[0], c.pulse);
    }
}

TEST(PacketFileTest, SkipsEmptyLinesAndTakesLfAndCrLf) {
    const std::vector<SPulse> pulses = ParsePacketText("\r\n1 2 3 1\n\n4 5 6 0\r\n\r\n7 8 9 1");
    ASSERT_EQ(pulses.size(), 3u);
    EXPECT_EQ(pulses[0], (SPulse{1, 2, 3, true}));
    EXPECT_EQ(pulses[1], (SPulse{4, 5, 6, false}));
    EXPECT_EQ(pulses[2], (SPulse{7, 8, 9, true}));
    EXPECT_TRUE(ParsePacketText("").empty());
    EXPECT_TRUE(ParsePacketText("\r\n\n").empty());
}

TEST(PacketFileTest, NotANumberReadsBackAsNotANumber) {
    const std::vector<SPulse> pulses = ParsePacketText(PacketFileText({SPulse{std::nan(""), kInf, 1, true}}));
    ASSERT_EQ(pulses.size(), 1u);
    EXPECT_TRUE(std::isnan(pulses[0].tau));
    EXPECT_EQ(pulses[0].period, kInf);
}

TEST(PacketFileTest, AFileWithACyrillicNameReadsBackWhatWasWritten) {
    CTempDir dir;
    const std::string path = dir / "пачка импульсов.ppl";
    const std::vector<SPulse> packet{SPulse{}, SPulse{2e-8, 4e-8, 2, false}, SPulse{1.23456789e-6, 4, 3.3e6, true}};
    ASSERT_EQ(WritePacketFile(path, packet), pfsOk);
    EXPECT_EQ(ReadFile(path), PacketFileText(packet));

    std::vector<SPulse> read{SPulse{9, 9, 1, true}};
    ASSERT_EQ(ReadPacketFile(path, read), pfsOk);
    ASSERT_EQ(read.size(), 4u);  // appended to what was there
    EXPECT_EQ(std::vector<SPulse>(read.begin() + 1, read.end()), packet);

    // Writing again replaces the content.
    ASSERT_EQ(WritePacketFile(path, {SPulse{}}), pfsOk);
    EXPECT_EQ(ReadFile(path), "1e-06\t1e-05\t10\t1\r\n");
}

TEST(PacketFileTest, FilesThatCannotBeReadOrWrittenSaySo) {
    CTempDir dir;
    std::vector<SPulse> pulses{SPulse{}};
    EXPECT_EQ(ReadPacketFile(dir / "missing.ppl", pulses), pfsCannotOpen);
    EXPECT_EQ(ReadPacketFile(dir.Path(), pulses), pfsCannotOpen);
    EXPECT_EQ(pulses.size(), 1u);

    EXPECT_EQ(WritePacketFile(dir / "no such folder/a.ppl", pulses), pfsCannotWrite);
    EXPECT_EQ(WritePacketFile(dir.Path(), pulses), pfsCannotWrite);
    // A device that is always full: the failure shows when the data is written out.
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(WritePacketFile("/dev/full", pulses), pfsCannotWrite);
    }
}

TEST(PacketFileTest, AMillionLinesAndBinaryJunkAreRead) {
    CTempDir dir;
    std::string lines;
    for (int i = 0; i < 1000000; ++i) lines += "1e-06\t1e-05\t10\t1\r\n";
    WriteFile(dir / "big.ppl", lines);
    std::vector<SPulse> pulses;
    ASSERT_EQ(ReadPacketFile(dir / "big.ppl", pulses), pfsOk);
    EXPECT_EQ(pulses.size(), 1000000u);
    EXPECT_EQ(pulses.back(), SPulse{});

    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 37) % 256);
    WriteFile(dir / "binary.ppl", binary);
    pulses.clear();
    ASSERT_EQ(ReadPacketFile(dir / "binary.ppl", pulses), pfsOk);
    // One pulse per non-empty line, whatever it holds.
    EXPECT_FALSE(pulses.empty());
    EXPECT_LE(pulses.size(), 4096u / 256u * 2u);
}

}  // namespace
}  // namespace z5r
