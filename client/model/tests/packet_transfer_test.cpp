// Only ticked pulses are sent, and the read-back returns into their places.
#include "model/packet_transfer.h"

#include <gtest/gtest.h>

namespace z5r {
namespace {

SPulse P(double tau, bool used = true) { return SPulse{tau, 10 * tau, 10, used}; }

TEST(PacketTransferTest, OnlyTickedPulsesAreSent) {
    EXPECT_EQ(PulsesToSend({P(1), P(2, false), P(3)}), (std::vector<SPulse>{P(1), P(3)}));
    EXPECT_TRUE(PulsesToSend({P(1, false)}).empty());
}

TEST(PacketTransferTest, TheReadBackTakesTheTickedPlacesAndUntickedPulsesStay) {
    const std::vector<SPulse> packet{P(1), P(2, false), P(3), P(4)};
    struct SCase {
        const char* what;
        std::vector<SPulse> readBack;
        std::vector<SPulse> merged;
    };
    const SCase cases[] = {
        {"changed values", {P(1.5), P(3.5), P(4.5)}, {P(1.5), P(2, false), P(3.5), P(4.5)}},
        {"shortened by the instrument", {P(1), P(3)}, {P(1), P(2, false), P(3)}},
        {"nothing taken", {}, {P(2, false)}},
        {"lengthened", {P(1), P(3), P(4), P(5)}, {P(1), P(2, false), P(3), P(4), P(5)}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<SPulse> merged = packet;
        MergeReadBack(merged, c.readBack);
        EXPECT_EQ(merged, c.merged);
    }
}

}  // namespace
}  // namespace z5r
