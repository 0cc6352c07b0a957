// What the DirectShow engine tells about its filter graph: whether graphs can
// be built at all, the graph itself, its filters and its source filter.
#include "DirectShowDevice.h"

#include <dshow.h>
#include <string.h>

#include "DirectShowEnum.h"
#include "Ole.h"

namespace {

const UINT filterNameSize = 256;

// The FILTER_INFO name; the graph reference that comes with it is given back.
BOOL queryFilterName(IBaseFilter* filter, WCHAR (&name)[MAX_FILTER_NAME])
{
    FILTER_INFO info = {};
    if (FAILED(filter->QueryFilterInfo(&info)))
        return FALSE;
    if (info.pGraph)
        info.pGraph->Release();
    lstrcpynW(name, info.achName, MAX_FILTER_NAME);
    return TRUE;
}

void readFilterName(IBaseFilter* filter, char* name)
{
    WCHAR wide[MAX_FILTER_NAME];
    if (!queryFilterName(filter, wide)
        || !WideCharToMultiByte(CP_ACP, 0, wide, -1, name, filterNameSize, nullptr, nullptr))
        name[0] = '\0';
}

BOOL isNamed(IBaseFilter* filter, const WCHAR* name)
{
    WCHAR wide[MAX_FILTER_NAME];
    return queryFilterName(filter, wide) && lstrcmpiW(wide, name) == 0;
}

BOOL readsFile(IBaseFilter* filter, const WCHAR* path)
{
    ComPtr<IFileSourceFilter> source;
    LPOLESTR current = nullptr;
    if (!source.queryFrom(filter, IID_IFileSourceFilter) || FAILED(source->GetCurFile(&current, nullptr)) || !current)
        return FALSE;
    BOOL same = lstrcmpiW(current, path) == 0;
    ole32::CoTaskMemFree(current);
    return same;
}

// The filter named by the path first, as the platform usually names a file's
// source filter; else the filter that reports reading the path.
int findSourceFilter(IBaseFilter** filters, UINT count, const WCHAR* path)
{
    for (UINT i = 0; i < count; ++i)
        if (isNamed(filters[i], path))
            return (int)i;
    for (UINT i = 0; i < count; ++i)
        if (readsFile(filters[i], path))
            return (int)i;
    return -1;
}

IBaseFilter** graphFilters(IGraphBuilder* graph, UINT* count)
{
    *count = 0;
    ComPtr<IEnumFilters> filters;
    if (!graph || FAILED(graph->EnumFilters(filters.out())) || !filters)
        return nullptr;
    return enumerateAll<IBaseFilter>(filters.get(), count);
}

// The index of path's source filter among the graph's filters, -1 when none;
// the filter itself with a reference into out when out is given.
int locateSourceFilter(IGraphBuilder* graph, const char* path, IBaseFilter** out)
{
    WCHAR widePath[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH) || !widePath[0])
        return -1;
    UINT count = 0;
    IBaseFilter** filters = graphFilters(graph, &count);
    int index = filters ? findSourceFilter(filters, count, widePath) : -1;
    if (index >= 0 && out) {
        *out = filters[index];
        (*out)->AddRef();
    }
    releaseAll(filters, count);
    return index;
}

} // namespace

BOOL DirectShowDevice::canCreateGraph()
{
    LockScope hold(lock);
    ComPtr<IGraphBuilder> probe;
    return SUCCEEDED(ole32::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                             probe.outVoid()))
        && probe;
}

BOOL DirectShowDevice::canCreateDvdGraph()
{
    LockScope hold(lock);
    ComPtr<IDvdGraphBuilder> probe;
    return SUCCEEDED(ole32::CoCreateInstance(CLSID_DvdGraphBuilder, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IDvdGraphBuilder, probe.outVoid()))
        && probe;
}

BOOL DirectShowDevice::graph(IGraphBuilder** out)
{
    if (!out)
        return FALSE;
    LockScope hold(lock);
    *out = graph_.get();
    if (!*out)
        return FALSE;
    (*out)->AddRef();
    return TRUE;
}

UINT DirectShowDevice::filterNames(char*** names)
{
    if (!names)
        return 0;
    *names = nullptr;
    LockScope hold(lock);
    UINT count = 0;
    IBaseFilter** filters = graphFilters(graph_.get(), &count);
    if (!filters)
        return 0;
    char** result = new (std::nothrow) char*[count]();
    BOOL complete = result != nullptr;
    for (UINT i = 0; complete && i < count; ++i) {
        result[i] = new (std::nothrow) char[filterNameSize];
        if (result[i])
            readFilterName(filters[i], result[i]);
        else
            complete = FALSE;
    }
    releaseAll(filters, count);
    if (!complete) {
        freeFilterNames(result, count);
        return 0;
    }
    *names = result;
    return count;
}

void DirectShowDevice::freeFilterNames(char** names, UINT count)
{
    if (!names)
        return;
    for (UINT i = 0; i < count; ++i)
        delete[] names[i];
    delete[] names;
}

BOOL DirectShowDevice::isWindowsMediaGraph()
{
    LockScope hold(lock);
    if (isWindowsMedia_ < 0 && graph_) {
        char** names = nullptr;
        UINT count = filterNames(&names);
        isWindowsMedia_ = 0;
        for (UINT i = 0; i < count; ++i)
            if (strstr(names[i], "Windows Media"))
                isWindowsMedia_ = 1;
        freeFilterNames(names, count);
    }
    return isWindowsMedia_ == 1;
}

BOOL DirectShowDevice::sourceFilter(const char* path, IBaseFilter** out)
{
    if (!out)
        return FALSE;
    *out = nullptr;
    LockScope hold(lock);
    return locateSourceFilter(graph_.get(), path ? path : fileName_, out) >= 0;
}

int DirectShowDevice::sourceFilterIndex()
{
    LockScope hold(lock);
    return isOpen() ? locateSourceFilter(graph_.get(), fileName_, nullptr) : -1;
}
