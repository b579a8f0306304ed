#include "report.h"

#include <cstdio>

namespace kv {

void ReportProblem(const char* text) { std::fprintf(stderr, "KvVISA: %s\n", text); }

}  // namespace kv
