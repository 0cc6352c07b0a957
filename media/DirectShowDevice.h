#pragma once
#include "ComPtr.h"
#include "MediaDevice.h"

struct IBaseFilter;
struct IBasicAudio;
struct IBasicVideo;
struct IDvdControl;
struct IDvdGraphBuilder;
struct IDvdInfo;
struct IGraphBuilder;
struct IMediaControl;
struct IMediaPosition;
struct IMoniker;
struct IVideoWindow;

// Plays a file through a DirectShow filter graph, or a DVD volume through the
// DVD graph builder. Every COM object comes from the CoCreateInstance binding,
// so the engine simply fails to open anything when COM or DirectShow is missing.
class DirectShowDevice : public MediaDevice {
public:
    DirectShowDevice();
    ~DirectShowDevice();

    BOOL probe(const char* fileName) override;
    BOOL open(const char* fileName) override;
    BOOL close() override;
    BOOL play(BOOL pause) override;
    BOOL stop() override;
    BOOL seekExact(double seconds) override;
    BOOL seek(UINT seconds) override;
    BOOL isPlaying() override;
    BOOL getRate(double* rate) override;
    BOOL getRatePercent(LONG* percent) override;
    BOOL setRate(double rate) override;
    BOOL setRatePercent(UINT percent) override;
    BOOL getLengthExact(double* seconds) override;
    BOOL getLength(LONG* seconds) override;
    BOOL getPositionExact(double* seconds) override;
    BOOL getPosition(LONG* seconds) override;
    BOOL hasVideo() override;
    BOOL hasAudio() override;
    BOOL canMute() override;
    BOOL setMute(BOOL mute) override;
    BOOL getVideoSize(LONG* width, LONG* height) override;
    BOOL showVideo(BOOL show) override;
    BOOL attachVideoWindow(HWND owner, HWND drain, DWORD style, DWORD exStyle) override;
    void detachVideoWindow() override;
    BOOL moveVideoTo(const POINT* point) override;
    BOOL moveVideo(LONG x, LONG y) override;
    BOOL resizeVideo(LONG width, LONG height) override;
    BOOL setVideoRect(const RECT* rect) override;
    BOOL setVideoWindowRect(LONG x, LONG y, LONG width, LONG height) override;

    // Try each file as a DVD volume first.
    void setDvdEnabled(BOOL enabled);
    BOOL dvdEnabled();
    // The open medium was built by the DVD graph builder.
    BOOL isDvdOpen();

    // Whether a filter graph (a DVD graph builder) can be created at all.
    BOOL canCreateGraph();
    BOOL canCreateDvdGraph();
    // The graph with an added reference for the caller to release.
    BOOL graph(IGraphBuilder** out);

    // The names of the graph's filters in enumeration order, each a 256-byte
    // string in the system code page; free them with freeFilterNames.
    // Answers the count; 0 and no array when there is no filter or no memory.
    UINT filterNames(char*** names);
    static void freeFilterNames(char** names, UINT count);
    // A filter of the graph has "Windows Media" in its name; computed once per file.
    BOOL isWindowsMediaGraph();
    // The filter that reads path (the open file when path is null), with an
    // added reference: the filter named by the path, else the one whose
    // IFileSourceFilter reads it (some platforms name the source filter
    // otherwise than by its path).
    BOOL sourceFilter(const char* path, IBaseFilter** out);
    // The index of the open file's source filter in filterNames order, -1 when none.
    int sourceFilterIndex();

    // The monikers of one device or filter category; the caller releases them
    // with releaseMonikers. Null with count 0 when there is none.
    IMoniker** enumerateCategory(REFCLSID category, UINT* count);
    static void releaseMonikers(IMoniker** monikers, UINT count);
    // The "FriendlyName" property; free it with oleaut32::SysFreeString. Null on failure.
    BSTR friendlyName(IMoniker* moniker);
    // The display name; free it with ole32::CoTaskMemFree. Null on failure.
    LPOLESTR displayName(IMoniker* moniker);

private:
    BOOL isOpen() const { return fileName_[0] != '\0'; }
    BOOL openDvd(const WCHAR* path);
    BOOL openGraph(const WCHAR* path);
    BOOL queryGraphInterfaces();
    void readVideoSize();
    void readVolume();
    BOOL setExtendedStyle(DWORD exStyle);
    BOOL measureLength();
    void releaseInterfaces();

    BOOL dvdEnabled_ = FALSE;
    BOOL isDvd_ = FALSE;
    ComPtr<IDvdGraphBuilder> dvdGraphBuilder_;
    ComPtr<IDvdInfo> dvdInfo_;
    ComPtr<IDvdControl> dvdControl_;
    ComPtr<IGraphBuilder> graph_;
    ComPtr<IMediaControl> mediaControl_;
    ComPtr<IMediaPosition> mediaPosition_;
    ComPtr<IVideoWindow> videoWindow_;
    ComPtr<IBasicAudio> basicAudio_;
    ComPtr<IBasicVideo> basicVideo_;
    BOOL hasAudio_ = FALSE;
    BOOL canMute_ = FALSE;
    LONG isWindowsMedia_ = -1;
    char fileName_[MAX_PATH] = {};
    double rate_ = 1.0;
    LONG lengthSeconds_ = -1;
    DWORD dvdFlags_;
    HWND ownerWindow_ = nullptr;
    HWND drainWindow_ = nullptr;
    LONG savedVolume_ = 0;
    RECT videoRect_ = {};
    double lengthExact_ = -1.0;
};
