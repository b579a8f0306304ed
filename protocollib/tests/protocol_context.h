// A library context owned by a test, closed when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "protocollib/protocol_lib.h"

namespace protocollib_test {

class CContext {
public:
    CContext() { EXPECT_EQ(OpenSession(&context_), 0); }
    ~CContext() { CloseSession(context_); }
    CContext(const CContext&) = delete;
    CContext& operator=(const CContext&) = delete;

    ProtocolContext* Get() const { return context_; }
    int Load(const std::string& fileName) const {
        return ProtLoadFromFile(context_, fileName.c_str());
    }

private:
    ProtocolContext* context_ = nullptr;
};

}  // namespace protocollib_test
