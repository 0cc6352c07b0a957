#pragma once

// The built-in type picture, shown when no bitmap file loads.
#define IDB_BUILTIN 102
