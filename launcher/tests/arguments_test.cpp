// The launcher's parameters on their way to the client: one text with a blank
// after each, split at blanks on arrival.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "arguments.h"

namespace {

using Words = std::vector<std::string>;

TEST(Arguments, TravelAsOneTextAndArriveSplitAtBlanks) {
    const struct {
        Words parameters;
        std::string text;
        Words arrive;
    } cases[] = {
        {{}, "", {}},
        {{"a", "b"}, "a b ", {"a", "b"}},
        {{"-a", "127.0.0.1", "-p", "x"}, "-a 127.0.0.1 -p x ", {"-a", "127.0.0.1", "-p", "x"}},
        {{"two words"}, "two words ", {"two", "words"}},
        {{"", "b"}, " b ", {"b"}},
        {{"  padded  "}, "  padded   ", {"padded"}},
    };
    for (const auto& c : cases) {
        const std::string text = z5r::BuildArgumentString(c.parameters);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(z5r::SplitArguments(text), c.arrive) << text;
    }
}

}  // namespace
