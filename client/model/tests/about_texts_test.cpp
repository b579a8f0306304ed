// The about window's lines and its mail target, from a version block.
#include <gtest/gtest.h>

#include "model/about_texts.h"

namespace {

TEST(AboutTexts, VersionBuildAndMailTargetComeFromTheVersionBlock) {
    const struct {
        z5r::SVersionInfo version;
        const char* versionLine;
        const char* buildLine;
        const char* mailTarget;
    } cases[] = {
        {{"P", "2.1.0.5", "2.1.0.77"}, "Версия 2.1.0.5", "Build 2.1.0.77", "mailto:help@x.example?subject=P 2.1.0.5"},
        {{"Z5R", "1.0.0.0", "1.0.0.0"}, "Версия 1.0.0.0", "Build 1.0.0.0", "mailto:help@x.example?subject=Z5R 1.0.0.0"},
    };
    for (const auto& c : cases) {
        const auto texts = z5r::MakeAboutTexts(c.version, {"help@x.example", "https://x.example/"});
        EXPECT_EQ(texts.versionLine, c.versionLine);
        EXPECT_EQ(texts.buildLine, c.buildLine);
        EXPECT_EQ(texts.mailTarget, c.mailTarget);
        EXPECT_EQ(texts.mailText, "help@x.example");
        EXPECT_EQ(texts.site, "https://x.example/");
    }
}

}  // namespace
