// The version block as the tools and the reader see it: in this very test
// program (which carries one, as every program file does), in copies of it
// changed with objcopy, and in files that are no program files at all.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "z5r/version_block.h"

namespace fs = std::filesystem;
using z5r::ParseFixedVersion;
using z5r::ReadVersionBlock;
using z5r::SFixedVersion;
using z5r::SVersionInfo;

namespace {

std::string OutputOf(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

class VersionBlockFile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/z5r_version_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        self_ = fs::read_symlink("/proc/self/exe");
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Write(const std::string& name, const std::string& bytes) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // A copy of this program whose block holds `content` instead.
    fs::path WithBlock(const std::string& content) {
        const fs::path block = Write("block.bin", content);
        const fs::path copy = dir_ / "changed";
        const std::string command = std::string(OBJCOPY) + " --update-section .z5r_version='" + block.string() +
                                    "' '" + self_.string() + "' '" + copy.string() + "'";
        EXPECT_EQ(system(command.c_str()), 0) << command;
        return copy;
    }

    fs::path dir_;
    fs::path self_;
};

TEST_F(VersionBlockFile, ThisProgramCarriesTheProjectVersion) {
    const auto info = z5r::ReadOwnVersionBlock();
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->productName, PRODUCT_NAME);
    EXPECT_EQ(info->productVersion, PRODUCT_VERSION);
    EXPECT_EQ(info->fileVersion, PRODUCT_VERSION);
}

TEST_F(VersionBlockFile, ReadelfShowsTheBlock) {
    const std::string shown = OutputOf(std::string(READELF) + " -p .z5r_version '" + self_.string() + "'");
    EXPECT_NE(shown.find("Z5R-VERSION-1"), std::string::npos) << shown;
    EXPECT_NE(shown.find(std::string("ProductVersion=") + PRODUCT_VERSION), std::string::npos) << shown;
}

TEST_F(VersionBlockFile, ABlockWrittenWithObjcopyIsRead) {
    const std::string content("Z5R-VERSION-1\0FileVersion=1.2.3.4\0ProductName=P\0ProductVersion=2.1.0.5\0", 70);
    const auto info = ReadVersionBlock(WithBlock(content).string());
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->productName, "P");
    EXPECT_EQ(info->productVersion, "2.1.0.5");
    EXPECT_EQ(info->fileVersion, "1.2.3.4");
}

TEST_F(VersionBlockFile, FilesWithoutABlockReadAsNoVersion) {
    const std::string self = self_.string();
    const fs::path removed = dir_ / "removed";
    ASSERT_EQ(system((std::string(OBJCOPY) + " --remove-section .z5r_version '" + self + "' '" +
                      removed.string() + "'").c_str()), 0);
    std::ifstream in(self_, std::ios::binary);
    std::string head(4096, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));

    const struct {
        const char* what;
        fs::path path;
    } cases[] = {
        {"section removed", removed},
        {"wrong magic", WithBlock(std::string("Z5R-VERSION-9\0ProductVersion=1.0", 32))},
        {"missing file", dir_ / "absent"},
        {"empty file", Write("empty", "")},
        {"text file", Write("text", "ProductVersion=1.0.0.0\n")},
        {"ELF magic only", Write("magic", "\x7f" "ELF")},
        {"ELF header without its sections", Write("head", head)},
        {"a folder", dir_},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(ReadVersionBlock(c.path.string()).has_value()) << c.what;
    }
}

TEST(FixedVersion, ReadsOneToFourNumbers) {
    const struct {
        const char* text;
        std::optional<SFixedVersion> expected;
    } cases[] = {
        {"1.2.3.4", SFixedVersion{1, 2, 3, 4}},
        {"2.5", SFixedVersion{2, 5, 0, 0}},
        {"65535.0.0.7", SFixedVersion{65535, 0, 0, 7}},
        {"65536.0", std::nullopt},
        {"1.2.3.4.5", std::nullopt},
        {"1..2", std::nullopt},
        {"1.2.", std::nullopt},
        {"", std::nullopt},
        {"-1.2", std::nullopt},
        {"1.2 beta", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseFixedVersion(c.text);
        ASSERT_EQ(parsed.has_value(), c.expected.has_value()) << c.text;
        if (!parsed) continue;
        EXPECT_EQ(parsed->major, c.expected->major) << c.text;
        EXPECT_EQ(parsed->minor, c.expected->minor) << c.text;
        EXPECT_EQ(parsed->release, c.expected->release) << c.text;
        EXPECT_EQ(parsed->build, c.expected->build) << c.text;
    }
}

}  // namespace
