#include "model/poll_errors.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace z5r {
namespace {

struct SCase {
    std::uint32_t code;
    EPollError kind;
};

TEST(PollErrors, EachCodeFallsIntoItsRange) {
    const SCase cases[] = {
        {0xBFFF0000u, EPollError::LinkLost},        {0xBFFF0015u, EPollError::LinkLost},
        {0xBFFF00A8u, EPollError::LinkLost},        {0xBFFF00A9u, EPollError::InstrumentFault},
        {0xBFFEFFFFu, EPollError::InstrumentFault}, {0xFFFF801Cu, EPollError::ExtRefLost},
        {0xFFFF801Bu, EPollError::InstrumentFault}, {0xFFFF8007u, EPollError::InstrumentFault},
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(ClassifyPollError(static_cast<std::int32_t>(c.code)), c.kind) << std::hex << c.code;
    }
}

}  // namespace
}  // namespace z5r
