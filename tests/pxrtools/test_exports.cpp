// The shared library exports exactly the functions its public header declares.
#include "LibraryExports.h"

#include <gtest/gtest.h>

TEST(ToolExports, SharedLibraryExportsExactlyThePublicHeader)
{
    std::set<std::string> declared = libexports::DeclaredFunctions(PXRTOOLS_PUBLIC_HEADER, "PXRPTOOL_API");
    std::set<std::string> exported = libexports::ExportedFunctions(PXRTOOLS_SHARED_LIBRARY);
    ASSERT_EQ(declared.size(), 14u);
    EXPECT_EQ(exported, declared);
}
