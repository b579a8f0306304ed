#include "text_line_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>

#include "kvvisa/visa.h"

namespace kvtools {
namespace {

using EOutcome = TextLineReader::EOutcome;

// What one read of the session delivers.
struct Piece {
    std::string bytes;
    ViStatus status;
    ViUInt32 reportedCount = 0;  // when not 0, the count the read claims
};

class ScriptedReads {
public:
    explicit ScriptedReads(std::deque<Piece> pieces) : pieces_(std::move(pieces)) {}

    TextLineReader::ReadFunction Function() {
        return [this](ViPBuf buffer, ViUInt32 count, ViPUInt32 got) {
            ++reads_;
            if (pieces_.empty()) {
                *got = 0;
                return static_cast<ViStatus>(VI_ERROR_TMO);
            }
            const Piece piece = pieces_.front();
            pieces_.pop_front();
            const auto n = std::min<std::size_t>(piece.bytes.size(), count);
            std::memcpy(buffer, piece.bytes.data(), n);
            *got = piece.reportedCount != 0 ? piece.reportedCount : static_cast<ViUInt32>(n);
            return piece.status;
        };
    }
    int Reads() const { return reads_; }

private:
    std::deque<Piece> pieces_;
    int reads_ = 0;
};

std::string Z(const std::string& text) { return text + std::string(1, '\0'); }

TEST(TextLineReader, GathersALongLineFromSeveralReads) {
    ScriptedReads reads({{"P_FREQ = 1", VI_SUCCESS}, {" 2 3", VI_SUCCESS}, {Z(" 4"), VI_SUCCESS}});
    TextLineReader reader(reads.Function(), 16);
    auto first = reader.Next();
    EXPECT_EQ(first.outcome, EOutcome::Nothing);
    EXPECT_EQ(first.bytes, 10u);
    EXPECT_TRUE(reader.HasPartialLine());
    EXPECT_EQ(reader.Next().outcome, EOutcome::Nothing);
    const auto line = reader.Next();
    ASSERT_EQ(line.outcome, EOutcome::Line);
    EXPECT_EQ(line.line, "P_FREQ = 1 2 3 4");
    EXPECT_FALSE(reader.HasPartialLine());
}

TEST(TextLineReader, KeepsWhatFollowsALineForTheNextCall) {
    ScriptedReads reads({{Z("A = 1") + Z("B = 2") + "C =", VI_SUCCESS}, {Z(" 3"), VI_SUCCESS}});
    TextLineReader reader(reads.Function());
    EXPECT_EQ(reader.Next().line, "A = 1");
    EXPECT_EQ(reader.Next().line, "B = 2");
    EXPECT_EQ(reads.Reads(), 1);
    EXPECT_EQ(reader.Next().line, "C = 3");
}

TEST(TextLineReader, TimeOutAndBusyAreNothingAndKeepAPartialLine) {
    ScriptedReads reads({{"", VI_ERROR_RSRC_BUSY},
                         {"P_MODE", VI_SUCCESS},
                         {"", VI_ERROR_TMO},
                         {Z(" ? 3"), VI_SUCCESS}});
    TextLineReader reader(reads.Function());
    auto busy = reader.Next();
    EXPECT_EQ(busy.outcome, EOutcome::Nothing);
    EXPECT_EQ(busy.status, VI_ERROR_RSRC_BUSY);
    reader.Next();
    auto timedOut = reader.Next();
    EXPECT_EQ(timedOut.outcome, EOutcome::Nothing);
    EXPECT_EQ(timedOut.status, VI_ERROR_TMO);
    EXPECT_TRUE(reader.HasPartialLine());
    EXPECT_EQ(reader.Next().line, "P_MODE ? 3");
}

TEST(TextLineReader, AFailedReadDropsThePartialLine) {
    ScriptedReads reads({{"P_MO", VI_SUCCESS}, {"", VI_ERROR_CONN_LOST}, {Z("KV_TEST"), VI_SUCCESS}});
    TextLineReader reader(reads.Function());
    reader.Next();
    const auto failed = reader.Next();
    EXPECT_EQ(failed.outcome, EOutcome::Failed);
    EXPECT_EQ(failed.status, VI_ERROR_CONN_LOST);
    EXPECT_FALSE(reader.HasPartialLine());
    EXPECT_EQ(reader.Next().line, "KV_TEST");
}

TEST(TextLineReader, ALineThatArrivedWithAFailedTransfersStatusIsStillALine) {
    ScriptedReads reads({{Z("P_MODE = 3"), VI_ERROR_TMO}});
    TextLineReader reader(reads.Function());
    const auto line = reader.Next();
    EXPECT_EQ(line.outcome, EOutcome::Line);
    EXPECT_EQ(line.status, VI_ERROR_TMO);
    EXPECT_EQ(line.line, "P_MODE = 3");
}

TEST(TextLineReader, NeverTakesMoreThanItsBufferWhateverTheReadClaims) {
    ScriptedReads reads({{Z("abc"), VI_SUCCESS, 100000}});
    TextLineReader reader(reads.Function(), 8);
    const auto line = reader.Next();
    EXPECT_EQ(line.bytes, 8u);
    EXPECT_EQ(line.line, "abc");
}

}  // namespace
}  // namespace kvtools
