#include "model/srf_list_file.h"

#include <algorithm>
#include <type_traits>

#include "model/list_file_numbers.h"
#include "model/whole_number.h"

namespace z5r {

namespace {

constexpr char kSeparator = '\t';
constexpr char kLineEnd[] = "\r\n";
// A line with more numbers than the short layout holds is a long one.
constexpr std::size_t kShortLayoutNumbers = 3;

bool WrittenShort(const SListPoint& segment) {
    return segment.points == 1 ||
           (segment.startfreq == segment.stopfreq && segment.startpow == segment.stoppow);
}

}  // namespace

void AppendSrfLine(std::string& out, const SListPoint& segment) {
    const auto number = [&out](auto value) {
        if constexpr (std::is_same_v<decltype(value), double>) {
            AppendListReal(out, value);
        } else {
            AppendListInteger(out, value);
        }
    };
    const auto field = [&](auto value) {
        number(value);
        out += kSeparator;
    };
    if (WrittenShort(segment)) {
        field(segment.startfreq);
        field(segment.startpow);
        field(segment.points);
    } else {
        for (double value : {segment.startfreq, segment.stopfreq, segment.startpow, segment.stoppow})
            field(value);
        field(segment.points);
        field(segment.linfreq);
        number(segment.used);  // the long layout ends without a tab
    }
    out += kLineEnd;
}

SListPoint SrfSegment(std::string_view line) {
    std::string text(line);
    std::replace(text.begin(), text.end(), ',', '.');
    SListLineNumbers n{};
    const std::size_t count = ReadLeadingNumbers(text, n);

    if (count > kShortLayoutNumbers) {
        SListPoint segment;
        segment.startfreq = n[0];
        segment.stopfreq = n[1];
        segment.startpow = n[2];
        segment.stoppow = n[3];
        segment.points = TruncateToInt32(n[4]);
        segment.linfreq = TruncateToInt32(n[5]);
        segment.used = TruncateToInt32(n[6]);
        return segment;
    }
    return ShortLayoutSegment(n);
}

SListPoint ShortLayoutSegment(const SListLineNumbers& numbers) {
    SListPoint segment;
    segment.startfreq = segment.stopfreq = numbers[0];
    segment.startpow = segment.stoppow = numbers[1];
    segment.points = TruncateToInt32(numbers[2]);
    segment.linfreq = 1;
    segment.used = 1;
    return segment;
}

}  // namespace z5r
