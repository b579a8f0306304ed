// Running kvtalk and kvmon as child processes from the application folder,
// where the library finds its protocol description.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/child_process.h"

namespace kvtools_test {

inline constexpr const char* kKvtalk = KVTALK_PATH;
inline constexpr const char* kKvmon = KVMON_PATH;
inline constexpr const char* kKvfind = KVFIND_PATH;

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Starts a tool with standard input and standard error piped.
std::unique_ptr<kvtest::ChildProcess> StartTool(const std::vector<std::string>& argv);

// Runs a tool to its end with `input` on standard input.
ToolRun RunTool(const std::vector<std::string>& argv, std::string_view input = {});

// Splits output into lines without their newlines.
std::vector<std::string> Lines(const std::string& text);

}  // namespace kvtools_test
