// The library has no windows: problems it must tell a person about go to
// standard error through this one function.
#pragma once

namespace kv {

void ReportProblem(const char* text);

}  // namespace kv
