// What a shared library exports against what its public header declares, for the tests
// that check each library exports exactly its interface.
#pragma once

#include <set>
#include <string>

namespace libexports {

// The names of the functions the header declares after the export macro (as in "PXR_API").
std::set<std::string> DeclaredFunctions(const std::string &headerPath, const std::string &exportMacro);
// The names of the symbols the shared library defines in its dynamic table.
std::set<std::string> ExportedFunctions(const std::string &libraryPath);

}  // namespace libexports
