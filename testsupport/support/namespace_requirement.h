// Tests that build network namespaces (unshare, ip, root) fail when the
// machine cannot give them what they need: a skipped namespace test would
// pass CI without testing anything. A developer without root may choose to
// skip them with KV_SKIP_NETNS_TESTS=1.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace kvtest {

inline constexpr char kSkipNamespaceTestsVariable[] = "KV_SKIP_NETNS_TESTS";

inline bool NamespaceTestsMaySkip() {
    const char* value = std::getenv(kSkipNamespaceTestsVariable);
    return value != nullptr && std::string_view(value) == "1";
}

}  // namespace kvtest

// Ends the current test (or fixture set-up) when `missing` (what the
// namespace test lacks; empty when nothing) is not empty: a failure, or a
// skip when the developer asked for one.
#define KV_REQUIRE_NAMESPACE_TOOLS(missing)                                                  \
    do {                                                                                     \
        const std::string kvMissing_ = (missing);                                            \
        if (!kvMissing_.empty()) {                                                           \
            if (::kvtest::NamespaceTestsMaySkip()) GTEST_SKIP() << kvMissing_;               \
            GTEST_FAIL() << kvMissing_ << " (set " << ::kvtest::kSkipNamespaceTestsVariable \
                         << "=1 to skip the network-namespace tests)";                      \
        }                                                                                    \
    } while (false)
