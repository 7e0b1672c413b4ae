// Runtime start and assertion capture shared by the network tests.
#pragma once

#include "SA.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

class NetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        asserts = 0;
        previous_ = SA_SetAssertHandler(&CountAssert);
        ASSERT_EQ(SA_Init(0, 0, -1), SA_OK);
    }
    void TearDown() override
    {
        SA_Release();
        SA_SetAssertHandler(previous_);
    }

    static inline std::atomic<int> asserts{0};

private:
    static void CountAssert(const char *, const char *, const char *, uint32_t, const char *, const char *) { asserts++; }
    SA_AssertHandler previous_ = nullptr;
};
