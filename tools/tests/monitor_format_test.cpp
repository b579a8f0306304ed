#include "monitor_format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "kvvisa/visa.h"

namespace kvmon {
namespace {

TEST(MonitorFormat, TimeOfDayHasZeroPaddedMilliseconds) {
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(ClockText(timespec{12 * 3600 + 34 * 60 + 56, 7'999'999}), "12:34:56.007");
    EXPECT_EQ(ClockText(timespec{86400 + 5, 999'000'000}), "00:00:05.999");
}

TEST(MonitorFormat, LineShowsDirectionAndAFailedTransfersStatus) {
    const timespec noon{12 * 3600, 0};
    setenv("TZ", "UTC", 1);
    tzset();
    const ViByte bytes[] = {0xAA, 0x05, 0x00};
    EXPECT_EQ(TransferLine(noon, 1, HexText(bytes, 3), VI_SUCCESS), "12:00:00.000 >> AA 05 00");
    EXPECT_EQ(TransferLine(noon, 0, "P_MODE = 3", VI_ERROR_TMO),
              "12:00:00.000 << P_MODE = 3  [VI_ERROR_TMO]");
    EXPECT_EQ(TransferLine(noon, 7, "(no data)", VI_SUCCESS), "12:00:00.000 ?? (no data)");
    EXPECT_EQ(HexText(bytes, 0), "");
}

}  // namespace
}  // namespace kvmon
