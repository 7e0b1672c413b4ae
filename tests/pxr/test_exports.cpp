// The shared library exports exactly the functions its public header declares.
#include "LibraryExports.h"

#include <gtest/gtest.h>

TEST(Exports, SharedLibraryExportsExactlyThePublicHeader)
{
    std::set<std::string> declared = libexports::DeclaredFunctions(PXR_PUBLIC_HEADER, "PXR_API");
    std::set<std::string> exported = libexports::ExportedFunctions(PXR_SHARED_LIBRARY);
    ASSERT_GT(declared.size(), 50u);
    for (const std::string &name : exported)
        EXPECT_TRUE(declared.count(name)) << "exported but not declared: " << name;
    for (const std::string &name : declared)
        EXPECT_TRUE(exported.count(name)) << "declared but not exported: " << name;
}
