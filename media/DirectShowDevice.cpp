#include "DirectShowDevice.h"

#include <dshow.h>

#include "Ole.h"
#include "Vbmp3Device.h"

namespace {

const LONG silentVolume = -10000; // hundredths of a decibel

// The VBMP3 library reads an MP3 file's length from the file, where the graph
// estimates it; it takes nothing but MPEG audio, so other files fall through.
BOOL measureWithVbmp3(const char* fileName, LONG* seconds)
{
    Vbmp3Device vbmp3;
    LONG measured = -1;
    BOOL known = vbmp3.open(fileName) && vbmp3.getLength(&measured) && measured >= 0;
    vbmp3.close();
    if (known)
        *seconds = measured;
    return known;
}

} // namespace

DirectShowDevice::DirectShowDevice() : dvdFlags_(AM_DVD_SWDEC_ONLY) {}

// The interfaces release themselves; a graph still open is closed first.
DirectShowDevice::~DirectShowDevice()
{
    close();
}

BOOL DirectShowDevice::probe(const char* fileName)
{
    LockScope hold(lock);
    BOOL opened = open(fileName);
    close();
    return opened;
}

BOOL DirectShowDevice::open(const char* fileName)
{
    if (!fileName)
        return FALSE;
    LockScope hold(lock);
    close();
    isDvd_ = hasAudio_ = canMute_ = FALSE;
    SetRectEmpty(&videoRect_);

    // A longer name would name another file once cut, so it is refused.
    WCHAR path[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, fileName, -1, path, MAX_PATH))
        return FALSE;
    if (dvdEnabled_)
        isDvd_ = openDvd(path);
    if (!isDvd_ && !openGraph(path))
        return FALSE;

    videoWindow_->put_AutoShow(OAFALSE);
    readVideoSize();
    readVolume();
    lstrcpynA(fileName_, fileName, MAX_PATH);
    return TRUE;
}

BOOL DirectShowDevice::openDvd(const WCHAR* path)
{
    releaseInterfaces();
    AM_DVD_RENDERSTATUS status = {};
    BOOL built = SUCCEEDED(ole32::CoCreateInstance(CLSID_DvdGraphBuilder, nullptr, CLSCTX_INPROC_SERVER,
                                                   IID_IDvdGraphBuilder, dvdGraphBuilder_.outVoid()))
        && SUCCEEDED(dvdGraphBuilder_->RenderDvdVideoVolume(path, dvdFlags_, &status))
        && SUCCEEDED(dvdGraphBuilder_->GetFiltergraph(graph_.out())) && graph_ && queryGraphInterfaces()
        && SUCCEEDED(dvdGraphBuilder_->GetDvdInterface(IID_IVideoWindow, videoWindow_.outVoid())) && videoWindow_
        && SUCCEEDED(dvdGraphBuilder_->GetDvdInterface(IID_IDvdInfo, dvdInfo_.outVoid())) && dvdInfo_
        && SUCCEEDED(dvdGraphBuilder_->GetDvdInterface(IID_IDvdControl, dvdControl_.outVoid())) && dvdControl_;
    if (!built)
        releaseInterfaces();
    return built;
}

BOOL DirectShowDevice::openGraph(const WCHAR* path)
{
    releaseInterfaces();
    BOOL built = SUCCEEDED(ole32::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                                   IID_IGraphBuilder, graph_.outVoid()))
        && graph_ && queryGraphInterfaces() && SUCCEEDED(graph_->RenderFile(path, nullptr));
    if (!built)
        releaseInterfaces();
    return built;
}

BOOL DirectShowDevice::queryGraphInterfaces()
{
    return mediaControl_.queryFrom(graph_.get(), IID_IMediaControl)
        && mediaPosition_.queryFrom(graph_.get(), IID_IMediaPosition)
        && videoWindow_.queryFrom(graph_.get(), IID_IVideoWindow)
        && basicAudio_.queryFrom(graph_.get(), IID_IBasicAudio)
        && basicVideo_.queryFrom(graph_.get(), IID_IBasicVideo);
}

void DirectShowDevice::readVideoSize()
{
    LONG width = 0, height = 0;
    if (SUCCEEDED(basicVideo_->GetVideoSize(&width, &height))) {
        SetRect(&videoRect_, 0, 0, width, height);
        showVideo(FALSE);
    }
}

// Whether the sound can be switched off and on again tells whether there is
// sound at all; the level found is restored.
void DirectShowDevice::readVolume()
{
    if (FAILED(basicAudio_->get_Volume(&savedVolume_)) || savedVolume_ == silentVolume) {
        hasAudio_ = canMute_ = FALSE;
        return;
    }
    canMute_ = SUCCEEDED(basicAudio_->put_Volume(silentVolume));
    hasAudio_ = SUCCEEDED(basicAudio_->put_Volume(savedVolume_));
}

BOOL DirectShowDevice::close()
{
    LockScope hold(lock);
    stop();
    if (!IsRectEmpty(&videoRect_)) {
        showVideo(FALSE);
        detachVideoWindow();
    }
    if (!isOpen())
        return FALSE;
    releaseInterfaces();
    isDvd_ = FALSE;
    lengthExact_ = -1.0;
    lengthSeconds_ = -1;
    isWindowsMedia_ = -1;
    fileName_[0] = '\0';
    SetRectEmpty(&videoRect_);
    return TRUE;
}

void DirectShowDevice::releaseInterfaces()
{
    basicVideo_.reset();
    basicAudio_.reset();
    videoWindow_.reset();
    mediaPosition_.reset();
    mediaControl_.reset();
    graph_.reset();
    dvdInfo_.reset();
    dvdControl_.reset();
    dvdGraphBuilder_.reset();
}

BOOL DirectShowDevice::play(BOOL pause)
{
    LockScope hold(lock);
    if (!isOpen() || FAILED(mediaPosition_->put_Rate(rate_)))
        return FALSE;
    return SUCCEEDED(pause ? mediaControl_->Pause() : mediaControl_->Run());
}

BOOL DirectShowDevice::stop()
{
    LockScope hold(lock);
    return isPlaying() && SUCCEEDED(mediaControl_->Stop());
}

BOOL DirectShowDevice::isPlaying()
{
    LockScope hold(lock);
    OAFilterState state = State_Stopped;
    return mediaControl_ && SUCCEEDED(mediaControl_->GetState(0, &state)) && state == State_Running;
}

BOOL DirectShowDevice::seekExact(double seconds)
{
    LockScope hold(lock);
    return isOpen() && SUCCEEDED(mediaPosition_->put_CurrentPosition(seconds));
}

BOOL DirectShowDevice::seek(UINT seconds)
{
    return seekExact((double)seconds);
}

BOOL DirectShowDevice::getRate(double* rate)
{
    if (!rate)
        return FALSE;
    LockScope hold(lock);
    *rate = rate_;
    return TRUE;
}

BOOL DirectShowDevice::getRatePercent(LONG* percent)
{
    if (!percent)
        return FALSE;
    LockScope hold(lock);
    // The small bias keeps a rate set as a percentage (0.29 is 28.99...%) at that percentage.
    *percent = (LONG)(rate_ * 100.0 + 1e-9);
    return TRUE;
}

// The graph refuses a rate that is not positive at every play, so such a
// rate is refused here and the previous one kept.
BOOL DirectShowDevice::setRate(double rate)
{
    if (!(rate > 0.0))
        return FALSE;
    LockScope hold(lock);
    rate_ = rate;
    return TRUE;
}

BOOL DirectShowDevice::setRatePercent(UINT percent)
{
    return setRate(percent * 0.01);
}

BOOL DirectShowDevice::measureLength()
{
    if (lengthExact_ >= 0.0)
        return TRUE;
    if (!isWindowsMediaGraph() && measureWithVbmp3(fileName_, &lengthSeconds_)) {
        lengthExact_ = lengthSeconds_;
        return TRUE;
    }
    REFTIME duration = 0;
    if (FAILED(mediaPosition_->get_Duration(&duration)))
        return FALSE;
    lengthExact_ = duration;
    lengthSeconds_ = (LONG)duration;
    return TRUE;
}

BOOL DirectShowDevice::getLengthExact(double* seconds)
{
    if (!seconds)
        return FALSE;
    LockScope hold(lock);
    if (!isOpen())
        return FALSE;
    BOOL known = measureLength();
    *seconds = known ? lengthExact_ : -1.0;
    return known;
}

BOOL DirectShowDevice::getLength(LONG* seconds)
{
    if (!seconds)
        return FALSE;
    LockScope hold(lock);
    double exact = 0;
    if (!isOpen())
        return FALSE;
    BOOL known = getLengthExact(&exact);
    *seconds = known ? lengthSeconds_ : -1;
    return known;
}

BOOL DirectShowDevice::getPositionExact(double* seconds)
{
    if (!seconds)
        return FALSE;
    LockScope hold(lock);
    REFTIME position = 0;
    if (!isOpen() || FAILED(mediaPosition_->get_CurrentPosition(&position)))
        return FALSE;
    *seconds = position;
    return TRUE;
}

BOOL DirectShowDevice::getPosition(LONG* seconds)
{
    double exact = 0;
    if (!seconds || !getPositionExact(&exact))
        return FALSE;
    *seconds = (LONG)exact;
    return TRUE;
}

BOOL DirectShowDevice::hasAudio()
{
    LockScope hold(lock);
    return hasAudio_;
}

BOOL DirectShowDevice::canMute()
{
    LockScope hold(lock);
    return canMute_;
}

BOOL DirectShowDevice::setMute(BOOL mute)
{
    LockScope hold(lock);
    return isOpen() && SUCCEEDED(basicAudio_->put_Volume(mute ? silentVolume : savedVolume_));
}

void DirectShowDevice::setDvdEnabled(BOOL enabled)
{
    LockScope hold(lock);
    dvdEnabled_ = enabled;
}

BOOL DirectShowDevice::dvdEnabled()
{
    LockScope hold(lock);
    return dvdEnabled_;
}

BOOL DirectShowDevice::isDvdOpen()
{
    LockScope hold(lock);
    return isDvd_;
}
