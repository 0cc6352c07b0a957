#pragma once
#include <string>

// Full path of a file in the folder of the running test program, where the
// build puts the programs, the plug-in and the data files.
std::string besideTests(const char* name);

// A new empty folder under the system's temporary folder, with a trailing
// backslash; removed with everything in it by removeTree.
std::string makeTempFolder();
void removeTree(const std::string& folder);

// The UTF-16 form of a code-page text.
std::wstring widened(const std::string& text);
// A file's short (8.3) name in the code page; empty when it has none.
std::string shortNameOf(const std::wstring& path);
