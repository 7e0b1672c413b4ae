// Runtime start, assertion capture and runtime-log capture shared by the network tests.
#pragma once

#include "SA.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

class NetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        asserts = 0;
        previous_ = SA_SetAssertHandler(&CountAssert);
        ASSERT_EQ(SA_Init(0, 0, -1), SA_OK);
        SA_SetLogFileEx(nullptr, 0);
        ClearLog();
        SA_SetLogCallback(&KeepLine);
    }
    void TearDown() override
    {
        SA_SetLogCallback(nullptr);
        SA_Release();
        SA_SetAssertHandler(previous_);
    }

    static std::vector<std::string> LogLines()
    {
        std::lock_guard<std::mutex> lock(logMutex_);
        return log_;
    }
    static void ClearLog()
    {
        std::lock_guard<std::mutex> lock(logMutex_);
        log_.clear();
    }

    static inline std::atomic<int> asserts{0};

private:
    static void CountAssert(const char *, const char *, const char *, uint32_t, const char *, const char *) { asserts++; }
    static void KeepLine(const char *line)
    {
        std::lock_guard<std::mutex> lock(logMutex_);
        log_.push_back(line);
    }
    static inline std::mutex logMutex_;
    static inline std::vector<std::string> log_;
    SA_AssertHandler previous_ = nullptr;
};
