#pragma once
#include <string>

// Full path of a file in the folder of the running test program, where the
// build puts the programs, the plug-in and the data files.
std::string besideTests(const char* name);

// A new empty folder under the system's temporary folder, with a trailing
// backslash; removed with everything in it by removeTree.
std::string makeTempFolder();
void removeTree(const std::string& folder);
