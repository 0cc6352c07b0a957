#include <stdio.h>

#include "MainWindow.h"
#include "MediaContext.h"
#include "PlayerCore.h"
#include "PlayerName.h"
#include "PlayerSettings.h"
#include "SettingsDialog.h"
#include "resource.h"

namespace {

struct CheckSetting {
    int id;
    bool PlayerSettings::*member;
};

const CheckSetting generalChecks[] = {
    {IDC_HIDE_ALWAYS, &PlayerSettings::hideAlways},
    {IDC_HIDE_WITHOUT_VIDEO, &PlayerSettings::hideWhenDeviceHasNoVideo},
    {IDC_ADJUST_SIZE, &PlayerSettings::adjustSizeWhenDeviceHasVideo},
    {IDC_REPOSITION, &PlayerSettings::repositionWithinScreen},
    {IDC_TOP_MOST, &PlayerSettings::showOnTopMost},
    {IDC_STATE_CURSOR, &PlayerSettings::useStateCursor},
    {IDC_REPEAT, &PlayerSettings::repeat},
    {IDC_REPEAT_EACH, &PlayerSettings::repeatEach},
    {IDC_SHOW_TRACK_NAME, &PlayerSettings::showTrackName},
};

const CheckSetting playbackChecks[] = {
    {IDC_USE_DIRECTSHOW, &PlayerSettings::useDirectShow},
    {IDC_USE_DIRECTMUSIC, &PlayerSettings::useDirectMusicForMidi},
    {IDC_USE_DIRECTSHOW_DVD, &PlayerSettings::useDirectShowForDvd},
    {IDC_DECODE_HARDWARE, &PlayerSettings::decodeByHardware},
    {IDC_USE_EXTERNAL, &PlayerSettings::useExternalPlaybackEngine},
    {IDC_USE_ADVANCED, &PlayerSettings::useAdvancedConfiguration},
};

template <size_t N>
void showChecks(HWND dialog, const CheckSetting (&checks)[N])
{
    for (const CheckSetting& check : checks)
        setChecked(dialog, check.id, playerSettings.*check.member);
}

template <size_t N>
void readChecks(HWND dialog, const CheckSetting (&checks)[N])
{
    for (const CheckSetting& check : checks)
        playerSettings.*check.member = isChecked(dialog, check.id);
}

// The queue thread follows the Repeat bits that the reload recomputes; the
// engines and the window take the new values at once.
void storeGeneralSettings()
{
    saveGeneralSettings();
    {
        LockScope hold(cancelLock);
        loadGeneralSettings();
    }
    applySettingsToPlayer();
}

void loadGeneralForDialog()
{
    LockScope hold(cancelLock);
    loadGeneralSettings();
}

// Position dialog (512). Its radio buttons are not automatic: a click on the
// checked one unchecks it, so that a group may have none checked.

const int horizontalButtons[] = {IDC_LEFT_ON_SCREEN, IDC_HORIZONTAL_CENTER, IDC_RIGHT_ON_SCREEN};
const int verticalButtons[] = {IDC_TOP_ON_SCREEN, IDC_VERTICAL_CENTER, IDC_BOTTOM_ON_SCREEN};

void showPlacement(HWND dialog, const int (&buttons)[3], LONG placement)
{
    for (LONG i = 0; i < 3; ++i)
        setChecked(dialog, buttons[i], i == placement);
}

LONG readPlacement(HWND dialog, const int (&buttons)[3])
{
    for (LONG i = 0; i < 3; ++i)
        if (isChecked(dialog, buttons[i]))
            return i;
    return -1;
}

bool toggleInGroup(HWND dialog, const int (&buttons)[3], int id)
{
    for (int button : buttons) {
        if (button != id)
            continue;
        bool wasChecked = isChecked(dialog, id);
        for (int other : buttons)
            setChecked(dialog, other, false);
        setChecked(dialog, id, !wasChecked);
        return true;
    }
    return false;
}

// The buttons keep their state while disabled, so unchecking "Center on
// Screen" brings the earlier choice back.
void enablePlacements(HWND dialog)
{
    bool fixed = !isChecked(dialog, IDC_CENTER_ON_SCREEN);
    for (int i = 0; i < 3; ++i) {
        enableItem(dialog, horizontalButtons[i], fixed);
        enableItem(dialog, verticalButtons[i], fixed);
    }
}

void initPosition(HWND dialog)
{
    {
        LockScope hold(cancelLock);
        loadPositionSettings();
    }
    const PlayerSettings& s = playerSettings;
    showPlacement(dialog, horizontalButtons, s.horizontalPosition);
    showPlacement(dialog, verticalButtons, s.verticalPosition);
    setChecked(dialog, IDC_CENTER_ON_SCREEN, s.centerOnScreen);
    setChecked(dialog, IDC_UNRESIZABLE, s.unresizable);
    enablePlacements(dialog);
}

void storePosition(HWND dialog)
{
    PlayerSettings& s = playerSettings;
    s.centerOnScreen = isChecked(dialog, IDC_CENTER_ON_SCREEN);
    s.unresizable = isChecked(dialog, IDC_UNRESIZABLE);
    s.horizontalPosition = s.centerOnScreen ? -1 : readPlacement(dialog, horizontalButtons);
    s.verticalPosition = s.centerOnScreen ? -1 : readPlacement(dialog, verticalButtons);
    savePositionSettings();
    LockScope hold(cancelLock);
    loadPositionSettings();
}

bool positionCommand(HWND dialog, WORD id, WORD code)
{
    if (code != BN_CLICKED)
        return false;
    if (toggleInGroup(dialog, horizontalButtons, id) || toggleInGroup(dialog, verticalButtons, id))
        return true;
    if (id != IDC_CENTER_ON_SCREEN)
        return false;
    enablePlacements(dialog);
    return true;
}

const SettingsDialogKind positionDialog = {IDD_POSITION, initPosition, storePosition, positionCommand, false};

// Playback dialog (513).

// What the engines answered when the dialog opened; none starts playback.
struct Availability {
    bool directShow = false;
    bool directMusic = false;
    bool dvd = false;
    bool vbmp3 = false;
    bool softMpeg = false;
};

Availability available;

Availability askEngines()
{
    Availability a;
    if (!mediaContext)
        return a;
    a.directShow = mediaContext->directShowDevice().canCreateGraph() != FALSE;
    a.directMusic = mediaContext->directMusicDevice().canCreate() != FALSE;
    a.dvd = mediaContext->directShowDevice().canCreateDvdGraph() != FALSE;
    a.vbmp3 = mediaContext->vbmp3Device().isAvailable() != FALSE;
    a.softMpeg = mediaContext->softMpegDevice().isAvailable() != FALSE;
    return a;
}

const int dvdItems[] = {IDC_USE_DIRECTSHOW_DVD, IDC_DECODE_SOFTWARE, IDC_DECODE_HARDWARE};

void enablePlayback(HWND dialog)
{
    bool advanced = isChecked(dialog, IDC_USE_ADVANCED);
    bool manual = !advanced;
    enableItem(dialog, IDC_USE_MCI, manual);
    enableItem(dialog, IDC_USE_DIRECTSHOW, manual && available.directShow);
    enableItem(dialog, IDC_USE_DIRECTMUSIC, manual && available.directMusic);
    bool dvd = manual && playerSettings.enableDvd && available.dvd;
    bool decode = dvd && isChecked(dialog, IDC_USE_DIRECTSHOW_DVD);
    enableItem(dialog, IDC_USE_DIRECTSHOW_DVD, dvd);
    enableItem(dialog, IDC_DECODE_SOFTWARE, decode);
    enableItem(dialog, IDC_DECODE_HARDWARE, decode);
    enableItem(dialog, IDC_USE_EXTERNAL, manual && (available.vbmp3 || available.softMpeg));
    bool external = manual && isChecked(dialog, IDC_USE_EXTERNAL);
    enableItem(dialog, IDC_USE_VBMP3, external && available.vbmp3);
    enableItem(dialog, IDC_USE_SOFTMPEG, external && available.softMpeg);
    enableItem(dialog, IDC_OPEN_ADVANCED, advanced);
}

void initPlayback(HWND dialog)
{
    loadGeneralForDialog();
    available = askEngines();
    const PlayerSettings& s = playerSettings;
    showChecks(dialog, playbackChecks);
    setChecked(dialog, IDC_USE_MCI, !s.useDirectShow);
    setChecked(dialog, IDC_DECODE_SOFTWARE, !s.decodeByHardware);
    setChecked(dialog, IDC_USE_VBMP3, (s.externalPlaybackEngine & ExternalVbmp3) != 0);
    setChecked(dialog, IDC_USE_SOFTMPEG, (s.externalPlaybackEngine & ExternalSoftMpeg) != 0);
    for (int id : dvdItems)
        ShowWindow(GetDlgItem(dialog, id), s.enableDvd ? SW_SHOW : SW_HIDE);
    enablePlayback(dialog);
}

void storePlayback(HWND dialog)
{
    readChecks(dialog, playbackChecks);
    DWORD engines = 0;
    if (isChecked(dialog, IDC_USE_VBMP3))
        engines |= ExternalVbmp3;
    if (isChecked(dialog, IDC_USE_SOFTMPEG))
        engines |= ExternalSoftMpeg;
    playerSettings.externalPlaybackEngine = engines;
    storeGeneralSettings();
}

bool playbackCommand(HWND dialog, WORD id, WORD code)
{
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_USE_DIRECTSHOW_DVD:
    case IDC_USE_EXTERNAL:
    case IDC_USE_ADVANCED:
        enablePlayback(dialog);
        return true;
    case IDC_OPEN_ADVANCED:
        runAdvancedDialog(dialog);
        return true;
    }
    return false;
}

const SettingsDialogKind playbackDialog = {IDD_PLAYBACK, initPlayback, storePlayback, playbackCommand, false};

// Priority dialog (514).

int priorityButton(DWORD priority)
{
    switch (priority) {
    case HIGH_PRIORITY_CLASS:
        return IDC_HIGH_CLASS;
    case REALTIME_PRIORITY_CLASS:
        return IDC_REALTIME_CLASS;
    }
    return IDC_NORMAL_CLASS;
}

// The current class's button gets the focus.
void initPriority(HWND dialog)
{
    {
        LockScope hold(cancelLock);
        loadPriority();
    }
    ShowWindow(GetDlgItem(dialog, IDC_REALTIME_CLASS), playerSettings.enableRealtime ? SW_SHOW : SW_HIDE);
    int current = priorityButton(playerSettings.processPriority);
    CheckRadioButton(dialog, IDC_NORMAL_CLASS, IDC_REALTIME_CLASS, current);
    SetFocus(GetDlgItem(dialog, current));
}

void storePriority(HWND dialog)
{
    DWORD priority = NORMAL_PRIORITY_CLASS;
    if (isChecked(dialog, IDC_HIGH_CLASS))
        priority = HIGH_PRIORITY_CLASS;
    else if (isChecked(dialog, IDC_REALTIME_CLASS))
        priority = REALTIME_PRIORITY_CLASS;
    playerSettings.processPriority = priority;
    savePriority();
    LockScope hold(cancelLock);
    loadPriority();
}

const SettingsDialogKind priorityDialog = {IDD_PRIORITY, initPriority, storePriority, nullptr, true};

// Configuration dialog (511).

void enableGeneral(HWND dialog)
{
    enableItem(dialog, IDC_HIDE_WITHOUT_VIDEO, !isChecked(dialog, IDC_HIDE_ALWAYS));
    enableItem(dialog, IDC_REPEAT_EACH, isChecked(dialog, IDC_REPEAT));
}

// The settings are read first: in-memory changes of the Show and Repeat
// menu commands are thereby set aside.
void initConfiguration(HWND dialog)
{
    loadGeneralForDialog();
    showChecks(dialog, generalChecks);
    enableGeneral(dialog);
}

// The playback dialog may have stored general values meanwhile: they were
// read back into the settings, and only this dialog's own values are taken
// from its controls.
void storeConfiguration(HWND dialog)
{
    readChecks(dialog, generalChecks);
    storeGeneralSettings();
}

bool configurationCommand(HWND dialog, WORD id, WORD code)
{
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_HIDE_ALWAYS:
    case IDC_REPEAT:
        enableGeneral(dialog);
        return true;
    case IDC_OPEN_POSITION:
        runSettingsDialog(positionDialog, dialog);
        return true;
    case IDC_OPEN_PLAYBACK:
        runSettingsDialog(playbackDialog, dialog);
        return true;
    case IDC_OPEN_PRIORITY:
        runSettingsDialog(priorityDialog, dialog);
        return true;
    }
    return false;
}

const SettingsDialogKind configurationDialog = {IDD_CONFIGURATION, initConfiguration, storeConfiguration,
                                                configurationCommand, false};

// The template's caption is a format: "%s" becomes the program's name.
void setCaptionFromFormat(HWND dialog)
{
    char format[64];
    char caption[MAX_PATH + sizeof format];
    if (GetWindowTextA(dialog, format, sizeof format) <= 0)
        return;
    snprintf(caption, sizeof caption, format, programName());
    SetWindowTextA(dialog, caption);
}

INT_PTR CALLBACK settingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        const SettingsDialogKind* kind = (const SettingsDialogKind*)lParam;
        setCaptionFromFormat(dialog);
        kind->init(dialog);
        return !kind->initSetsFocus;
    }
    const SettingsDialogKind* kind = (const SettingsDialogKind*)GetWindowLongPtrA(dialog, DWLP_USER);
    if (message != WM_COMMAND || !kind)
        return FALSE;
    WORD id = LOWORD(wParam);
    if (id == IDOK || id == IDCANCEL) {
        if (id == IDOK)
            kind->store(dialog);
        EndDialog(dialog, id);
        return TRUE;
    }
    return kind->command && kind->command(dialog, id, HIWORD(wParam));
}

} // namespace

INT_PTR runConfigurationDialog(HWND owner) { return runSettingsDialog(configurationDialog, owner); }

INT_PTR runSettingsDialog(const SettingsDialogKind& kind, HWND owner)
{
    return DialogBoxParamA(instanceHandle, MAKEINTRESOURCEA(kind.templateId), owner, settingsProc, (LPARAM)&kind);
}

bool isChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void setChecked(HWND dialog, int id, bool checked) { CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED); }

void enableItem(HWND dialog, int id, bool enabled) { EnableWindow(GetDlgItem(dialog, id), enabled); }
