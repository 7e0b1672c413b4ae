// The shared library exports exactly the functions its public header declares.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::set<std::string> declaredFunctions()
{
    std::ifstream file(PXR_PUBLIC_HEADER);
    std::stringstream text;
    text << file.rdbuf();
    std::string header = text.str();
    std::set<std::string> names;
    const std::regex declaration(R"(\nPXR_API\s+[^;(]*?\b(\w+)\s*\()");
    for (auto it = std::sregex_iterator(header.begin(), header.end(), declaration); it != std::sregex_iterator(); ++it)
        names.insert((*it)[1].str());
    return names;
}

std::set<std::string> exportedFunctions()
{
    std::set<std::string> names;
    std::string command = std::string("nm -D --defined-only ") + PXR_SHARED_LIBRARY;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return names;
    char line[512];
    while (fgets(line, sizeof(line), pipe)) {
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name)
            names.insert(name);
    }
    pclose(pipe);
    return names;
}

} // namespace

TEST(Exports, SharedLibraryExportsExactlyThePublicHeader)
{
    std::set<std::string> declared = declaredFunctions();
    std::set<std::string> exported = exportedFunctions();
    ASSERT_GT(declared.size(), 50u);
    for (const std::string &name : exported)
        EXPECT_TRUE(declared.count(name)) << "exported but not declared: " << name;
    for (const std::string &name : declared)
        EXPECT_TRUE(exported.count(name)) << "declared but not exported: " << name;
}
