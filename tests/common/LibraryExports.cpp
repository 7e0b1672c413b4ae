// Reading a public header's declarations and a shared library's dynamic symbols (through nm).
#include "LibraryExports.h"

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

namespace libexports {

std::set<std::string> DeclaredFunctions(const std::string &headerPath, const std::string &exportMacro)
{
    std::ifstream file(headerPath);
    std::stringstream text;
    text << file.rdbuf();
    std::string header = text.str();
    std::set<std::string> names;
    const std::regex declaration("\\n" + exportMacro + R"(\s+[^;(]*?\b(\w+)\s*\()");
    for (auto it = std::sregex_iterator(header.begin(), header.end(), declaration); it != std::sregex_iterator(); ++it)
        names.insert((*it)[1].str());
    return names;
}

std::set<std::string> ExportedFunctions(const std::string &libraryPath)
{
    std::set<std::string> names;
    std::string command = "nm -D --defined-only " + libraryPath;
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

}  // namespace libexports
