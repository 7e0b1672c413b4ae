// Fixture of the command connection's tests: a test KGV sensor with its command port answered
// as a sensor would, a command handle on it, and the waits the tests count from a mark.
#ifndef COMMAND_TEST_SUPPORT_H
#define COMMAND_TEST_SUPPORT_H

#include <memory>
#include <string>
#include <vector>

#include "KgvDevice.h"
#include "KgvSensor.h"
#include "LegacyTestSupport.h"
#include "SA_Internal.h"

class CommandTest : public LumatrekTest {
protected:
    void SetUp() override
    {
        LumatrekTest::SetUp();
        LT_Timing *psTiming = LT_timing();
        psTiming->u32ReconnectPauseMs = 40;
        psTiming->u32CommandRetryGapMs = 20;
        psTiming->u32CameraRetryMs = 20;
        psTiming->u32TransferTimeoutMs = 3000;
        psTiming->u32SlowTransferMs = 3000;
        // An idle connection the sensor closed is noticed by the keep-alive's write.
        psTiming->u32CommandKeepAliveMs = 100;
        sensor = std::make_unique<kgvsim::KgvSensor>();
    }
    void TearDown() override
    {
        LumatrekDestroy(&handle);
        device.reset();
        sensor.reset();
        SA_SetTickOffsetForTest(0);
        LumatrekTest::TearDown();
    }

    // The device answers the command port; the handle connects to it.
    void start(kgvsim::DeviceSetup setup = {})
    {
        device = std::make_unique<kgvsim::KgvDevice>(*sensor, std::move(setup));
        handle = createOn(sensor->port(kgvsim::Port::Command));
        ASSERT_NE(handle, nullptr);
    }
    LumatrekHandle *createOn(uint16_t u16Port)
    {
        const std::string text = "127.0.0.1:" + std::to_string(u16Port) + ",0,0";
        return LumatrekCreateCommand(text.c_str(), &LumatrekTest::onState, this, &LumatrekTest::onError, this);
    }
    // Started and ready to serve.
    void startReady(kgvsim::DeviceSetup setup = {})
    {
        start(std::move(setup));
        ASSERT_EQ(WaitReady(handle, 5000), 0) << "the command handle did not become ready";
    }

    size_t packetCount() { return sensor->packets(kgvsim::Port::Command).size(); }
    std::vector<kgvsim::Packet> packetsSince(size_t szMark)
    {
        auto all = sensor->packets(kgvsim::Port::Command);
        return {all.begin() + static_cast<std::ptrdiff_t>(std::min(szMark, all.size())), all.end()};
    }
    // Codes of the packets after the mark, keep-alives left out.
    std::vector<uint32_t> codesSince(size_t szMark)
    {
        std::vector<uint32_t> codes;
        for (const auto &p : packetsSince(szMark)) {
            if (p.code != kgvsim::kKeepAlive)
                codes.push_back(p.code);
        }
        return codes;
    }
    size_t errorCount()
    {
        std::lock_guard lock(mutex);
        return errors.size();
    }
    std::vector<ErrorReport> errorsSince(size_t szMark)
    {
        std::lock_guard lock(mutex);
        return {errors.begin() + static_cast<std::ptrdiff_t>(szMark), errors.end()};
    }
    // Waits for a report of that code after the mark.
    bool waitForError(size_t szMark, int32_t i32Code, std::chrono::milliseconds limit = 5s)
    {
        return waitFor(limit, [&] {
            for (size_t i = szMark; i < errors.size(); i++) {
                if (errors[i].i32Code == i32Code)
                    return true;
            }
            return false;
        });
    }
    // A new connection after the mark, and the channel ready on it.
    bool reconnected(size_t szConnections)
    {
        return sensor->waitForConnections(kgvsim::Port::Command, szConnections + 1, 5s) &&
               WaitReady(handle, 5000) == 0;
    }

    std::unique_ptr<kgvsim::KgvSensor> sensor;
    std::unique_ptr<kgvsim::KgvDevice> device;
    LumatrekHandle *handle = nullptr;
};

#endif
