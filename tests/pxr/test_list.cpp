// The generic list: order, insertion, taking items, and refusing to free a list with items.
#include "PxrTestSupport.h"

TEST_F(PxrTest, ListKeepsOrderAcrossInsertAndTake)
{
    PXRList *psList = PXRListCreate();
    int aiData[4] = {0, 1, 2, 3};
    PXRListItem *psTwo = PXRListPushBack(psList, &aiData[2]);
    PXRListInsert(psList, psTwo, &aiData[1]);
    PXRListInsert(psList, PXRListFirstItem(psList), &aiData[0]);
    PXRListInsert(psList, nullptr, &aiData[3]);
    ASSERT_EQ(PXRListSize(psList), 4u);
    int iExpected = 0;
    for (PXRListItem *psItem = PXRListFirstItem(psList); psItem; psItem = PXRListNextItem(psItem))
        EXPECT_EQ(*static_cast<int *>(psItem->pData), iExpected++);
    EXPECT_EQ(PXRListPreviousItem(psTwo)->pData, &aiData[1]);
    EXPECT_EQ(PXRListTakeItem(psList, psTwo), &aiData[2]);
    EXPECT_EQ(PXRListNextItem(PXRListNextItem(PXRListFirstItem(psList)))->pData, &aiData[3]);
    traces.clear();
    EXPECT_EQ(PXRListDestroy(psList), 0) << "a list with items is kept";
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_EQ(traces[0].iLevel, 2);
    while (PXRListFirstItem(psList))
        PXRListTakeItem(psList, PXRListFirstItem(psList));
    EXPECT_EQ(PXRListSize(psList), 0u);
    EXPECT_EQ(PXRListDestroy(psList), 1);
}
