#include "script_line.h"

#include <gtest/gtest.h>

namespace kvtalk {
namespace {

TEST(ScriptLine, SkipsOnlyBlankAndCommentLines) {
    EXPECT_TRUE(IsBlankOrComment(""));
    EXPECT_TRUE(IsBlankOrComment(" \t "));
    EXPECT_TRUE(IsBlankOrComment("  # P_MODE = 3"));
    EXPECT_FALSE(IsBlankOrComment("P_MODE = 3 # set"));
    EXPECT_FALSE(IsBlankOrComment("\r"));
}

}  // namespace
}  // namespace kvtalk
