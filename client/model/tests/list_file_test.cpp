// Sweep-list files: the bytes written, the segments read, the files' failures.
#include "model/list_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "core/tests/temp_dir.h"
#include "model/list_file_numbers.h"

namespace z5r {

void PrintTo(const SListPoint& s, std::ostream* os) {
    *os << "{" << s.startfreq << ".." << s.stopfreq << " Hz, " << s.startpow << ".." << s.stoppow
        << " dBm, " << s.points << " points, lin " << s.linfreq << ", used " << s.used << "}";
}

namespace {

using coretest::CTempDir;
using coretest::ReadFile;
using coretest::WriteFile;

SListPoint Segment(double f0, double f1, double p0, double p1, int points, int linfreq = 1,
                   int used = 1) {
    return SListPoint{points, f0, f1, linfreq, used, p0, p1};
}

SListPoint Point(double freq, double level, int points = 1) {
    return Segment(freq, freq, level, level, points);
}

TEST(ListFileNumbers, AreWrittenWithThirteenSignificantDigits) {
    const std::vector<std::pair<double, std::string>> table = {
        {10000000, "10000000"}, {20000000000, "20000000000"}, {-10, "-10"},
        {0.5, "0.5"},           {1e-6, "1e-06"},             {1234567890123.4, "1234567890123"},
        {0.1 + 0.2, "0.3"},     {12345678901234.0, "1.234567890123e+13"},
    };
    for (const auto& [value, text] : table) {
        std::string out;
        AppendListReal(out, value);
        EXPECT_EQ(out, text) << value;
    }
}

struct SWriteCase {
    const char* name;
    EListFileType type;
    std::vector<SListPoint> segments;
    std::optional<double> ceiling;
    std::string bytes;
};

class ListWriteTable : public ::testing::TestWithParam<SWriteCase> {};

TEST_P(ListWriteTable, WritesTheLines) {
    const SWriteCase& c = GetParam();
    CTempDir dir;
    const std::string path = dir / "list";
    ASSERT_EQ(WriteListFile(path, c.type, c.segments, c.ceiling), EListFileStatus::Ok);
    EXPECT_EQ(ReadFile(path), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ListWriteTable,
    ::testing::Values(
        SWriteCase{"SrfDefaultSegmentIsLong", EListFileType::Srf, {SListPoint{}}, std::nullopt,
                   "10000000\t20000000000\t0\t0\t501\t1\t1\r\n"},
        SWriteCase{"SrfFixedPointIsShort", EListFileType::Srf, {Point(5e9, -10)}, std::nullopt,
                   "5000000000\t-10\t1\t\r\n"},
        SWriteCase{"SrfOnePointRangeIsShort", EListFileType::Srf,
                   {Segment(1e9, 2e9, -5, 5, 1, 0, 0)}, std::nullopt, "1000000000\t-5\t1\t\r\n"},
        SWriteCase{"SrfEqualEndsAreShort", EListFileType::Srf, {Point(1e9, 3.5, 7)},
                   std::nullopt, "1000000000\t3.5\t7\t\r\n"},
        SWriteCase{"SrfLevelRangeIsLong", EListFileType::Srf,
                   {Segment(1e9, 1e9, -10, 0, 11, 0, 0)}, std::nullopt,
                   "1000000000\t1000000000\t-10\t0\t11\t0\t0\r\n"},
        SWriteCase{"CsvUntickedSegmentExpands", EListFileType::Csv,
                   {Segment(1e9, 2e9, -10, -10, 3, 1, 0)}, std::nullopt,
                   "1000000000;-10\r\n1500000000;-10\r\n2000000000;-10\r\n"},
        SWriteCase{"CsvLevelsCappedByTheCeiling", EListFileType::Csv,
                   {Segment(1e9, 1e9, 0, 10, 3)}, 5.0,
                   "1000000000;0\r\n1000000000;5\r\n1000000000;5\r\n"},
        SWriteCase{"CsvSegmentsInOrder", EListFileType::Csv,
                   {Point(3e9, 1.25), Point(1e6, -0.5)}, std::nullopt,
                   "3000000000;1.25\r\n1000000;-0.5\r\n"},
        SWriteCase{"EmptyListEmptyFile", EListFileType::Srf, {}, std::nullopt, ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct SReadCase {
    const char* name;
    EListFileType type;
    std::string text;
    EListFileStatus status;
    std::vector<SListPoint> segments;
};

class ListReadTable : public ::testing::TestWithParam<SReadCase> {};

TEST_P(ListReadTable, GivesTheSegments) {
    const SReadCase& c = GetParam();
    CTempDir dir;
    const std::string path = dir / "list";
    WriteFile(path, c.text);
    const SListFileRead read = ReadListFile(path, c.type);
    EXPECT_EQ(read.status, c.status);
    EXPECT_EQ(read.segments, c.segments);
}

const std::vector<SListPoint> kNone;

INSTANTIATE_TEST_SUITE_P(
    Srf, ListReadTable,
    ::testing::Values(
        SReadCase{"LongThenShort", EListFileType::Srf,
                  "1000000000\t2000000000\t-10\t5\t11\t0\t0\r\n5000000000\t-10\t1\t\r\n",
                  EListFileStatus::Ok,
                  {Segment(1e9, 2e9, -10, 5, 11, 0, 0), Point(5e9, -10)}},
        SReadCase{"ShortReadsLinearAndTicked", EListFileType::Srf, "5e9\t-10\t1\t\n",
                  EListFileStatus::Ok, {Point(5e9, -10)}},
        SReadCase{"LfAndEmptyLines", EListFileType::Srf, "\n1\t2\t3\n\r\n4\t5\t6",
                  EListFileStatus::Ok, {Point(1, 2, 3), Point(4, 5, 6)}},
        SReadCase{"CommasAreDecimalPoints", EListFileType::Srf, "1,5\t-2,25\t3\t\r\n",
                  EListFileStatus::Ok, {Point(1.5, -2.25, 3)}},
        SReadCase{"TextEndsTheNumbers", EListFileType::Srf, "1000\t-3 dBm 17\r\n",
                  EListFileStatus::Ok, {Point(1000, -3, 0)}},
        SReadCase{"NoNumbersGivesZeros", EListFileType::Srf, "frequency\r\n",
                  EListFileStatus::Ok, {Point(0, 0, 0)}},
        SReadCase{"FourNumbersAreLong", EListFileType::Srf, "1 2 3 4\r\n", EListFileStatus::Ok,
                  {Segment(1, 2, 3, 4, 0, 0, 0)}},
        SReadCase{"CountsTruncatedTowardZero", EListFileType::Srf, "1 2 3 4 -7.9 2.5 1e12\r\n",
                  EListFileStatus::Ok, {Segment(1, 2, 3, 4, -7, 2, 2147483647)}},
        SReadCase{"NotFiniteIsNotANumber", EListFileType::Srf, "1e999 5\r\nnan\r\n",
                  EListFileStatus::Ok, {Point(0, 0, 0), Point(0, 0, 0)}},
        SReadCase{"CsvFileChosenAsSrfReadsAsSrf", EListFileType::Srf, "1000000000;-10\r\n",
                  EListFileStatus::Ok, {Point(1e9, 0, 0)}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Csv, ListReadTable,
    ::testing::Values(
        SReadCase{"WrittenLinesAreTickedPoints", EListFileType::Csv,
                  "1000000000;-10\r\n1500000000;-10\r\n2000000000;-10\r\n", EListFileStatus::Ok,
                  {Point(1e9, -10), Point(1.5e9, -10), Point(2e9, -10)}},
        SReadCase{"SemicolonAndDecimalComma", EListFileType::Csv, "1000000000;-10,5\r\n",
                  EListFileStatus::Ok, {Point(1e9, -10.5)}},
        SReadCase{"CommaSeparated", EListFileType::Csv, "1000000000,-10.5\r\n",
                  EListFileStatus::Ok, {Point(1e9, -10.5)}},
        SReadCase{"CommaSeparatedThreeNumbers", EListFileType::Csv, "1000000000,-10,5\r\n",
                  EListFileStatus::Ok, {Point(1e9, -10, 5)}},
        SReadCase{"QuotedFields", EListFileType::Csv, "\"1000000000\";\"-10\"\r\n",
                  EListFileStatus::Ok, {Point(1e9, -10)}},
        SReadCase{"BlankSeparatedDecimalCommas", EListFileType::Csv, "2e9  -3,5\n1e9 4\n",
                  EListFileStatus::Ok, {Point(2e9, -3.5), Point(1e9, 4)}},
        SReadCase{"TabSeparated", EListFileType::Csv, "2e9\t-3\n", EListFileStatus::Ok,
                  {Point(2e9, -3)}},
        SReadCase{"OneNumberIsOneDbmNoPoints", EListFileType::Csv, "7e8\r\n",
                  EListFileStatus::Ok, {Point(7e8, 1, 0)}},
        SReadCase{"EmptyLinesLaterAreSkipped", EListFileType::Csv, "1;2\r\n\r\n3;4\r\n",
                  EListFileStatus::Ok, {Point(1, 2), Point(3, 4)}},
        SReadCase{"SrfFileChosenAsCsvReadsAsCsv", EListFileType::Csv, "5000000000\t-10\t1\t\r\n",
                  EListFileStatus::Ok, {Point(5e9, -10, 1)}},
        SReadCase{"EmptyFirstLine", EListFileType::Csv, "\r\n1000000000;-10\r\n",
                  EListFileStatus::CsvRejected, kNone},
        SReadCase{"EmptyFirstLineCommas", EListFileType::Csv, "\n1000000000,-10\n",
                  EListFileStatus::CsvRejected, kNone},
        SReadCase{"CountChanges", EListFileType::Csv, "1;2\r\n3;4;5\r\n6;7\r\n",
                  EListFileStatus::CsvRejected, kNone},
        SReadCase{"SemicolonAfterFirstLineWithout", EListFileType::Csv, "1,2\r\n3;4\r\n",
                  EListFileStatus::CsvRejected, kNone},
        SReadCase{"NoSemicolonInSemicolonFile", EListFileType::Csv, "1;2\r\n3,4\r\n",
                  EListFileStatus::CsvRejected, kNone},
        SReadCase{"HeadingLine", EListFileType::Csv, "Frequency;Level\r\n1e9;-10\r\n",
                  EListFileStatus::CsvRejected, kNone},
        SReadCase{"ManyNumbersCountFifteen", EListFileType::Csv,
                  "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\n1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 "
                  "16 17\n",
                  EListFileStatus::Ok, {Point(1, 2, 3), Point(1, 2, 3)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ListFile, SavedListReadsBack) {
    const std::vector<SListPoint> list = {SListPoint{}, Segment(1e9, 3e9, -20, 5, 101, 0, 0),
                                          Segment(2.5e9, 2.5e9, -7.25, -7.25, 1, 0, 0)};
    CTempDir dir;
    const std::string path = dir / "list.srf";
    ASSERT_EQ(WriteListFile(path, EListFileType::Srf, list, std::nullopt), EListFileStatus::Ok);
    std::vector<SListPoint> expected = list;
    expected[2].linfreq = expected[2].used = 1;  // the short layout stores neither
    EXPECT_EQ(ReadListFile(path, EListFileType::Srf).segments, expected);
}

TEST(ListFile, CyrillicNameSavesAndOpens) {
    CTempDir dir;
    const std::string folder = dir / "Списки";
    std::filesystem::create_directory(folder);
    const std::string path = folder + "/развёртка №1.csv";
    ASSERT_EQ(WriteListFile(path, EListFileType::Csv, {Point(1e9, -10)}, std::nullopt),
              EListFileStatus::Ok);
    EXPECT_EQ(ReadFile(path), "1000000000;-10\r\n");
    EXPECT_EQ(ReadListFile(path, EListFileType::Csv).segments,
              std::vector<SListPoint>{Point(1e9, -10)});
}

TEST(ListFile, FailuresReadNothing) {
    CTempDir dir;
    const std::vector<std::string> unreadable = {dir / "missing.srf", dir.Path()};
    for (const std::string& path : unreadable) {
        const SListFileRead read = ReadListFile(path, EListFileType::Srf);
        EXPECT_EQ(read.status, EListFileStatus::CannotOpen) << path;
        EXPECT_TRUE(read.segments.empty()) << path;
    }
}

TEST(ListFile, FailedWritesAreReported) {
    CTempDir dir;
    const std::vector<SListPoint> list(5000, SListPoint{});
    // A folder that is not there, a folder, and a device that takes nothing.
    for (const std::string& path : {dir / "no/list.srf", dir.Path(), std::string("/dev/full")})
        EXPECT_EQ(WriteListFile(path, EListFileType::Srf, list, std::nullopt),
                  EListFileStatus::CannotWrite)
            << path;
}

TEST(ListFile, SaveDialogExtensionFollowsTheType) {
    EXPECT_STREQ(ListFileExtension(EListFileType::Srf), "srf");
    EXPECT_STREQ(ListFileExtension(EListFileType::Csv), "csv");
}

TEST(ListFile, MessagesOfTheFailures) {
    struct SMessageCase {
        EListFileStatus status;
        const char* text;
        unsigned flags;
    };
    const std::vector<SMessageCase> table = {
        {EListFileStatus::CannotOpen, "Не удалось открыть файл списка.", pfNone},
        {EListFileStatus::CsvRejected, "Ошибка чтения CSV файла.", pfNoOwner},
        {EListFileStatus::CannotWrite, "Не удалось сохранить файл списка.", pfNone},
    };
    for (const SMessageCase& c : table) {
        const std::optional<SPromptMessage> message = ListFileMessage(c.status);
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->caption, "Ошибка");
        EXPECT_EQ(message->text, c.text);
        EXPECT_EQ(message->icon, EPromptIcon::Error);
        EXPECT_EQ(message->flags, c.flags);
    }
    EXPECT_FALSE(ListFileMessage(EListFileStatus::Ok).has_value());
}

TEST(ListFile, HugeAndBinaryInputsAreRead) {
    CTempDir dir;
    std::string manyLines;
    for (int i = 0; i < 1000000; ++i) manyLines += "1;2\n";
    const std::string longLine = std::string(1000000, '7') + ";1\n";
    std::string binary;
    for (int i = 0; i < 65536; ++i) binary += static_cast<char>(i * 7919 % 256);

    WriteFile(dir / "many", manyLines);
    EXPECT_EQ(ReadListFile(dir / "many", EListFileType::Csv).segments.size(), 1000000u);
    WriteFile(dir / "long", longLine);
    const SListFileRead longRead = ReadListFile(dir / "long", EListFileType::Csv);
    // Too large to be a number: the level is the only number of the line.
    EXPECT_EQ(longRead.segments, std::vector<SListPoint>{Point(1, 1, 0)});
    WriteFile(dir / "binary", binary);
    EXPECT_EQ(ReadListFile(dir / "binary", EListFileType::Srf).status, EListFileStatus::Ok);
}

}  // namespace
}  // namespace z5r
