// Shared fixture of the library tests: the library started, every trace line recorded.
#ifndef PXR_TEST_SUPPORT_H
#define PXR_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PXR_Internal.h"
#include "SA_Log.h"

struct TraceLine {
    int iLevel;
    std::string text;
};

class PxrTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(PXR_initLibrary(), 1);
        PXRSetTraceFunction(&PxrTest::record, this);
    }
    void TearDown() override
    {
        PXRSetTraceFunction(nullptr, nullptr);
        PXR_releaseLibrary();
    }
    bool traced(int iLevel, const std::string &text) const
    {
        for (const TraceLine &line : traces)
            if (line.iLevel == iLevel && line.text == text)
                return true;
        return false;
    }
    static int record(PXR *, int iLevel, const char *pcszText, void *pUser)
    {
        static_cast<PxrTest *>(pUser)->traces.push_back({iLevel, pcszText});
        return 0;
    }
    std::vector<TraceLine> traces;
};

// An element with attributes given as name, value, name, value...
inline PXRMsgElement *makeElement(const char *pcszName, std::initializer_list<const char *> attributes = {})
{
    PXRMsgElement *psElement = PXRMsgElementCreate(pcszName);
    for (auto it = attributes.begin(); it != attributes.end() && it + 1 != attributes.end(); it += 2)
        PXRMsgElementSetAttribute(psElement, *it, *(it + 1));
    return psElement;
}

inline PXRMsgElement *addChild(PXRMsgElement *psParent, const char *pcszName,
                               std::initializer_list<const char *> attributes = {})
{
    PXRMsgElement *psChild = makeElement(pcszName, attributes);
    PXRMsgElementAddChild(psParent, psChild);
    return psChild;
}

// A gtest name from a case's description.
inline std::string caseName(const char *pcszWhat)
{
    std::string name;
    for (const char *p = pcszWhat; *p; p++)
        name += isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}

#endif
