#include "FilterPages.h"

#include <dshow.h>

#include "ComPtr.h"
#include "DirectShowDevice.h"
#include "Ole.h"

namespace {

// A filter and the pages it names, the page list freed with the holder.
struct FilterPages {
    WCHAR name[MAX_FILTER_NAME] = {};
    ComPtr<IBaseFilter> filter;
    CAUUID pages = {};

    FilterPages() = default;
    FilterPages(const FilterPages&) = delete;
    FilterPages& operator=(const FilterPages&) = delete;
    ~FilterPages()
    {
        if (pages.pElems)
            ole32::CoTaskMemFree(pages.pElems);
    }

    BOOL find(DirectShowDevice& device, const char* filterName)
    {
        ComPtr<IGraphBuilder> graph;
        ComPtr<ISpecifyPropertyPages> specify;
        return MultiByteToWideChar(CP_ACP, 0, filterName, -1, name, MAX_FILTER_NAME) &&
               device.graph(graph.out()) && SUCCEEDED(graph->FindFilterByName(name, filter.out())) &&
               specify.queryFrom(filter.get(), IID_ISpecifyPropertyPages) &&
               SUCCEEDED(specify->GetPages(&pages)) && pages.cElems > 0;
    }
};

} // namespace

BOOL filterHasPropertyPages(DirectShowDevice& device, const char* name)
{
    FilterPages found;
    return found.find(device, name);
}

void showFilterPropertyFrame(HWND owner, DirectShowDevice& device, const char* name)
{
    FilterPages found;
    if (!found.find(device, name))
        return;
    IUnknown* object = found.filter.get();
    olepro32::OleCreatePropertyFrame(owner, 0, 0, found.name, 1, &object, found.pages.cElems,
                                     found.pages.pElems, GetUserDefaultLCID(), 0, nullptr);
}
