#include "model/list_file.h"

#include <stdio.h>  // getline

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "model/csv_list_file.h"
#include "model/segment_expansion.h"
#include "model/srf_list_file.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

// Written in pieces of about this size, so a long CSV list is not held whole.
constexpr std::size_t kWriteChunk = 1 << 16;

// File names are handed to the system as they are: UTF-8 bytes.
class CFile {
public:
    explicit CFile(std::FILE* file) : file_(file) {}
    ~CFile() {
        if (file_ != nullptr) std::fclose(file_);
    }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    explicit operator bool() const { return file_ != nullptr; }
    std::FILE* get() const { return file_; }
    std::FILE* release() { return std::exchange(file_, nullptr); }

private:
    std::FILE* file_;
};

// The line buffer of the C library's line reader.
struct SLineBuffer {
    char* text = nullptr;
    std::size_t capacity = 0;
    SLineBuffer() = default;
    SLineBuffer(const SLineBuffer&) = delete;
    SLineBuffer& operator=(const SLineBuffer&) = delete;
    ~SLineBuffer() { std::free(text); }
};

std::string_view WithoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// Takes the lines of one file in turn, whatever their source.
class CListLineReader {
public:
    explicit CListLineReader(EListFileType type) : type_(type) {}

    // False once the file is rejected.
    bool Line(std::string_view line) {
        line = WithoutCarriageReturn(line);
        if (type_ == EListFileType::Csv) return csv_.Line(line);
        if (!line.empty()) srf_.push_back(SrfSegment(line));
        return true;
    }

    SListFileRead Finish() {
        if (type_ == EListFileType::Srf) return SListFileRead{EListFileStatus::Ok, std::move(srf_)};
        if (csv_.Rejected()) return SListFileRead{EListFileStatus::CsvRejected, {}};
        return SListFileRead{EListFileStatus::Ok, std::move(csv_.Segments())};
    }

private:
    EListFileType type_;
    std::vector<SListPoint> srf_;
    CCsvListReader csv_;
};

}  // namespace

const char* ListFileExtension(EListFileType type) {
    return type == EListFileType::Srf ? "srf" : "csv";
}

SListFileRead ReadListText(std::string_view text, EListFileType type) {
    CListLineReader reader(type);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (!reader.Line(text.substr(0, end))) break;
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return reader.Finish();
}

SListFileRead ReadListFile(const std::string& path, EListFileType type) {
    const CFile file(std::fopen(path.c_str(), "rb"));
    if (!file) return SListFileRead{EListFileStatus::CannotOpen, {}};
    CListLineReader reader(type);
    SLineBuffer line;
    while (true) {
        const ssize_t length = ::getline(&line.text, &line.capacity, file.get());
        if (length < 0) break;
        std::string_view text(line.text, static_cast<std::size_t>(length));
        if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
        if (!reader.Line(text))
            return reader.Finish();
    }
    // A read that failed before the end (a folder, a device error) must not
    // pass for a shorter list.
    if (std::ferror(file.get()) != 0) return SListFileRead{EListFileStatus::CannotOpen, {}};
    return reader.Finish();
}

EListFileStatus WriteListFile(const std::string& path, EListFileType type,
                              const std::vector<SListPoint>& segments,
                              std::optional<double> ceiling) {
    CFile file(std::fopen(path.c_str(), "wb"));
    if (!file) return EListFileStatus::CannotWrite;
    std::string chunk;
    SPointLists points;
    bool written = true;
    const auto flush = [&] {
        written = written && std::fwrite(chunk.data(), 1, chunk.size(), file.get()) == chunk.size();
        chunk.clear();
    };
    for (const SListPoint& segment : segments) {
        AppendListLines(chunk, type, segment, ceiling, points);
        if (chunk.size() >= kWriteChunk) flush();
    }
    flush();
    // The last of the content reaches the file only when it is closed.
    written = std::fclose(file.release()) == 0 && written;
    return written ? EListFileStatus::Ok : EListFileStatus::CannotWrite;
}

void AppendListLines(std::string& out, EListFileType type, const SListPoint& segment,
                     std::optional<double> ceiling, SPointLists& scratch) {
    if (type == EListFileType::Srf) {
        AppendSrfLine(out, segment);
    } else {
        AppendCsvLines(out, segment, ceiling, scratch);
    }
}

std::optional<SPromptMessage> ListFileMessage(EListFileStatus status) {
    const auto error = [](const char* text, unsigned flags) {
        return SPromptMessage{Tr(Z5R_TEXT("Ошибка")), Tr(text), EPromptIcon::Error,
                              EPromptButtons::Ok, flags};
    };
    switch (status) {
        case EListFileStatus::Ok:
            return std::nullopt;
        case EListFileStatus::CannotOpen:
            return error(Z5R_TEXT("Не удалось открыть файл списка."), pfNone);
        case EListFileStatus::CsvRejected:
            return error(Z5R_TEXT("Ошибка чтения CSV файла."), pfNoOwner);
        case EListFileStatus::CannotWrite:
            return error(Z5R_TEXT("Не удалось сохранить файл списка."), pfNone);
    }
    return std::nullopt;
}

}  // namespace z5r
