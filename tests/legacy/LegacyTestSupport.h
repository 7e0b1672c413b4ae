// Fixture of the legacy library's tests: the runtime started, the library's waits shortened,
// and every error and connection-state report of the handles recorded from any thread.
#ifndef LEGACY_TEST_SUPPORT_H
#define LEGACY_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "Lumatrek_Internal.h"
#include "SA_Core.h"

using namespace std::chrono_literals;

// An error report as the callback saw it.
struct ErrorReport {
    LumatrekHandle *psHandle;
    int32_t i32Code;
    std::string text;
    int32_t i32Critical;
    int32_t i32Type;
    std::string function;
};

class LumatrekTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SA_Init(0, 0, -1), SA_OK);
        // As in the program: the runtime's own log file stays off unless a test sets one.
        LumatrekSetLogFile(nullptr, 0);
        LT_resetTiming();
        LT_Timing *psTiming = LT_timing();
        psTiming->u32PauseStepMs = 20;
        psTiming->u32ReadSliceMs = 50;
        psTiming->u32LongJoinMs = 5000;
        psTiming->u32ShortJoinMs = 5000;
    }
    void TearDown() override
    {
        LT_resetTiming();
        SA_Release();
    }

    static void onError(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, void *pUser)
    {
        auto *psTest = static_cast<LumatrekTest *>(pUser);
        std::lock_guard lock(psTest->mutex);
        psTest->errors.push_back({psHandle, psError->i32Code, psError->pcszText ? psError->pcszText : "",
                                  psError->i32Critical, psError->i32Type,
                                  psError->pcszFunction ? psError->pcszFunction : ""});
        psTest->changed.notify_all();
    }
    static void onState(LumatrekHandle *, LumatrekConnectionState *psState, void *pUser)
    {
        auto *psTest = static_cast<LumatrekTest *>(pUser);
        std::lock_guard lock(psTest->mutex);
        psTest->states.push_back(*psState);
        psTest->changed.notify_all();
    }

    LumatrekHandle *create(const char *pcszConnection, uint32_t u32Flags)
    {
        LumatrekErrorInfo sError;
        LT_initError(&sError, "test", 1);
        return LumatrekCreateInternal(pcszConnection, u32Flags, &LumatrekTest::onState, this, &LumatrekTest::onError,
                                      this, &sError);
    }

    size_t stateCount()
    {
        std::lock_guard lock(mutex);
        return states.size();
    }
    std::vector<LumatrekConnectionState> statesSince(size_t szMark)
    {
        std::lock_guard lock(mutex);
        return {states.begin() + static_cast<std::ptrdiff_t>(szMark), states.end()};
    }
    std::vector<ErrorReport> reported()
    {
        std::lock_guard lock(mutex);
        return errors;
    }
    bool waitFor(std::chrono::milliseconds timeout, const std::function<bool()> &condition)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, timeout, condition);
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<ErrorReport> errors;
    std::vector<LumatrekConnectionState> states;
};

#endif
