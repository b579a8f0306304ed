#include "model/csv_list_file.h"

#include <algorithm>
#include <span>

#include "model/list_file_numbers.h"
#include "model/srf_list_file.h"

namespace z5r {

namespace {

constexpr char kWrittenSeparator = ';';
constexpr char kLineEnd[] = "\r\n";
constexpr std::size_t kFirstLine = 0;

// Reads the numbers at the start of every blank-separated field, a comma in a
// field being its decimal point.
std::size_t ReadFields(std::string& line, std::span<double> numbers) {
    std::size_t count = 0;
    std::size_t start = 0;
    while (start <= line.size() && count < numbers.size()) {
        std::size_t stop = line.find(' ', start);
        if (stop == std::string::npos) stop = line.size();
        const auto field = line.begin() + static_cast<std::ptrdiff_t>(start);
        const auto fieldEnd = line.begin() + static_cast<std::ptrdiff_t>(stop);
        std::replace(field, fieldEnd, ',', '.');
        count += ReadLeadingNumbers(std::string_view(line).substr(start, stop - start),
                                    numbers.subspan(count));
        start = stop + 1;
    }
    return count;
}

}  // namespace

void AppendCsvLines(std::string& out, const SListPoint& segment, std::optional<double> ceiling,
                    SPointLists& scratch) {
    ExpandSegment(scratch, true, RangeOf(segment), ceiling);
    for (std::size_t i = 0; i < scratch.Size(); ++i) {
        AppendListReal(out, scratch.freqs[i]);
        out += kWrittenSeparator;
        AppendListReal(out, scratch.levels[i]);
        out += kLineEnd;
    }
}

bool CCsvListReader::Reject() {
    rejected_ = true;
    segments_.clear();
    return false;
}

bool CCsvListReader::Line(std::string_view line) {
    if (rejected_) return false;
    const std::size_t index = lineIndex_++;
    if (line.empty()) return true;

    work_.assign(line);
    if (work_.find(';') != std::string::npos) {
        if (index != kFirstLine && !semicolonMode_) return Reject();
        semicolonMode_ = true;
        std::replace(work_.begin(), work_.end(), ';', ' ');
    } else if (semicolonMode_) {
        return Reject();
    }
    std::replace(work_.begin(), work_.end(), '"', ' ');

    SListLineNumbers n{};
    std::size_t count = 0;
    if (work_.find(' ') != std::string::npos) {
        count = ReadFields(work_, n);
    } else {
        std::replace(work_.begin(), work_.end(), ',', ' ');
        count = ReadLeadingNumbers(work_, n);
    }
    if (index != kFirstLine && count != columns_) return Reject();
    // A line of frequency and level is one point.
    if (count < n.size()) n[count] = 1.0;
    columns_ = count;
    segments_.push_back(ShortLayoutSegment(n));
    return true;
}

}  // namespace z5r
