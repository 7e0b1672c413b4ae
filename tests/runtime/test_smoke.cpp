#include <gtest/gtest.h>
#include "SA.h"

TEST(RuntimeStart, InitAndReleaseBalance) {
  ASSERT_EQ(SA_OK, SA_Init(0, 0, -1));
  SA_Release();
}
