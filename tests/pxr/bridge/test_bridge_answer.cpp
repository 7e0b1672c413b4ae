// The bridge's answers and its light connection text: failed answers formed from a legacy
// handle's last error, whatever that error leaves empty, and addresses too long to form.
#include <gtest/gtest.h>

#include <string>

#include "LegacyTestSupport.h"
#include "PXRLT_Internal.h"

namespace {

std::string attribute(PXRMsg *psMsg, const char *pcszName)
{
    const char *pcszValue = PXRMsgElementAttributeValue(PXRMsgChild(psMsg), pcszName);
    return pcszValue ? pcszValue : "<none>";
}

TEST(BridgeAnswer, StatusReplacesTheOldRoot)
{
    PXRMsg *psAnswer = PXRMsgCreate();
    ASSERT_TRUE(PXRMsgSetChild(psAnswer, PXRMsgElementCreate("old")));
    ASSERT_TRUE(PXRLT_setAnswer(psAnswer, 1, "ignored"));
    EXPECT_STREQ(PXRMsgElementName(PXRMsgChild(psAnswer)), "answer");
    EXPECT_EQ(attribute(psAnswer, "status"), "ok");
    EXPECT_EQ(attribute(psAnswer, "errorText"), "<none>");
    ASSERT_TRUE(PXRLT_setAnswer(psAnswer, 0, "Must be locked"));
    EXPECT_EQ(attribute(psAnswer, "status"), "failed");
    EXPECT_EQ(attribute(psAnswer, "errorText"), "Must be locked");
    PXRMsgDestroy(psAnswer);
}

class BridgeErrorAnswer : public LumatrekTest {};

TEST_F(BridgeErrorAnswer, LastErrorFormsTheTextAndNullPartsAreSafe)
{
    LumatrekHandle *psHandle = create("127.0.0.1", 1);
    ASSERT_NE(psHandle, nullptr);
    struct Case {
        const char *pcszFunction;
        const char *pcszText;
        const char *pcszPlain;
        const char *pcszWhere;
    } const asCases[] = {
        {"LumatrekSetZoom", "Timeout", "LumatrekSetZoom : Timeout", "In LumatrekSetZoom : Timeout (-7)"},
        {nullptr, nullptr, "Unknown : ", "In Unknown :  (-7)"},
        {nullptr, "Full", "Unknown : Full", "In Unknown : Full (-7)"},
    };
    for (const Case &sCase : asCases) {
        for (int bWhere = 0; bWhere < 2; ++bWhere) {
            psHandle->sLastError = {-7, sCase.pcszText, 0, 1, sCase.pcszFunction};
            PXRMsg *psAnswer = PXRMsgCreate();
            ASSERT_TRUE(bWhere ? PXRLT_setErrorAnswerWhere(psHandle, psAnswer)
                               : PXRLT_setErrorAnswer(psAnswer, psHandle));
            EXPECT_EQ(attribute(psAnswer, "status"), "failed");
            EXPECT_EQ(attribute(psAnswer, "errorText"), bWhere ? sCase.pcszWhere : sCase.pcszPlain);
            PXRMsgDestroy(psAnswer);
            // The error was taken: the handle's record is clear again.
            EXPECT_EQ(psHandle->sLastError.i32Code, 0);
        }
    }
    LumatrekDestroy(&psHandle);
}

TEST(BridgeLightConnection, TextCarriesPortsAndRefusesTooLongAddresses)
{
    char aszText[128];
    ASSERT_TRUE(PXRLT_lightConnectionText(aszText, sizeof(aszText), "192.168.1.20", 10001, 10000));
    EXPECT_STREQ(aszText, "192.168.1.20:0,10001,10000");
    const std::string longHost(120, 'h');
    EXPECT_FALSE(PXRLT_lightConnectionText(aszText, sizeof(aszText), longHost.c_str(), 10001, 10000));
    EXPECT_STREQ(aszText, "");
    EXPECT_FALSE(PXRLT_lightConnectionText(aszText, sizeof(aszText), nullptr, 1, 2));
}

} // namespace
