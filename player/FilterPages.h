#pragma once
#include <windows.h>

class DirectShowDevice;

// The property pages of a filter in the open DirectShow graph, found by its
// name (in the system code page).

// Whether the filter exists and names at least one property page.
BOOL filterHasPropertyPages(DirectShowDevice& device, const char* name);
// The system property frame for the filter and its pages, owned by owner,
// with the filter's name as caption; nothing when it has no pages.
void showFilterPropertyFrame(HWND owner, DirectShowDevice& device, const char* name);
