#pragma once
#include <windows.h>

#include <new>

// Takes every item an enumerator (IEnumFilters, IEnumMoniker, ...) hands out
// into a new array, each with a reference; count is the number taken. Null
// with count 0 when there is none or no memory. Free it with releaseAll.
template <class Item, class Enumerator>
Item** enumerateAll(Enumerator* items, UINT* count)
{
    *count = 0;
    UINT total = 0;
    Item* item = nullptr;
    while (items->Next(1, &item, nullptr) == S_OK) {
        item->Release();
        ++total;
    }
    if (!total || FAILED(items->Reset()))
        return nullptr;
    Item** all = new (std::nothrow) Item*[total];
    if (!all)
        return nullptr;
    // The set may have shrunk since it was counted.
    UINT taken = 0;
    while (taken < total && items->Next(1, &all[taken], nullptr) == S_OK)
        ++taken;
    if (!taken) {
        delete[] all;
        return nullptr;
    }
    *count = taken;
    return all;
}

template <class Item>
void releaseAll(Item** items, UINT count)
{
    if (!items)
        return;
    for (UINT i = 0; i < count; ++i)
        items[i]->Release();
    delete[] items;
}
