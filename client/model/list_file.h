// Reading and writing sweep lists as SRF or CSV files. The format is the one
// the operator chose in the file dialog, never guessed from the file name.
// File names are the platform's (UTF-8 here). Failures are values; the caller
// shows ListFileMessage.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/list_point.h"
#include "model/segment_expansion.h"
#include "ui/prompt.h"

namespace z5r {

// The file types of the list dialogs, in the order of their filter
// "SRF (*.srf)|*.srf|CSV (*.csv)|*.csv".
enum class EListFileType { Srf, Csv };

// The extension the save dialog adds for a file type ("srf", "csv").
const char* ListFileExtension(EListFileType type);

enum class EListFileStatus {
    Ok,
    CannotOpen,   // could not be opened or read; nothing was read
    CsvRejected,  // a CSV file breaking the line rules; nothing was read
    CannotWrite,  // could not be opened or written in full
};

struct SListFileRead {
    EListFileStatus status = EListFileStatus::Ok;
    std::vector<SListPoint> segments;  // empty unless status is Ok
};

// The segments of a file's text (lines end in LF or CR LF).
SListFileRead ReadListText(std::string_view text, EListFileType type);

SListFileRead ReadListFile(const std::string& path, EListFileType type);

// Writes every segment, ticked or not, replacing the file's content. A CSV
// file holds the expanded points, levels capped by the ceiling when there is
// one. Reports CannotWrite also when the content did not reach the file in
// full.
EListFileStatus WriteListFile(const std::string& path, EListFileType type,
                              const std::vector<SListPoint>& segments,
                              std::optional<double> ceiling);

// Appends the lines of one segment as a file of `type` holds them (for CSV
// its expanded points; `scratch` holds them between calls).
void AppendListLines(std::string& out, EListFileType type, const SListPoint& segment,
                     std::optional<double> ceiling, SPointLists& scratch);

// The message box a status calls for (translated); none for Ok.
std::optional<SPromptMessage> ListFileMessage(EListFileStatus status);

}  // namespace z5r
