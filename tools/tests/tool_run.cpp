#include "tool_run.h"

namespace kvtools_test {

std::unique_ptr<kvtest::ChildProcess> StartTool(const std::vector<std::string>& argv) {
    kvtest::ChildOptions options;
    options.pipeInput = true;
    options.captureErrors = true;
    options.workingDirectory = KV_APP_DIR;
    return std::make_unique<kvtest::ChildProcess>(argv, options);
}

ToolRun RunTool(const std::vector<std::string>& argv, std::string_view input) {
    auto child = StartTool(argv);
    child->WriteInput(input);
    child->CloseInput();
    ToolRun run;
    run.out = child->ReadRest();
    run.err = child->ReadErrorRest();
    run.exitCode = child->Wait();
    return run;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace kvtools_test
