// The main configuration dialog: edits the plug-in's settings and saves them on OK.

#include "ConfigDialogs.h"
#include "MediaContext.h"
#include "NumberText.h"
#include "Ole.h"
#include "PlayerLaunch.h"
#include "PluginSettings.h"
#include "PluginState.h"
#include "resource.h"

namespace {

// Which engines this machine has, measured each time the dialog opens.
struct Engines {
    bool directShow = false;
    bool directMusic = false;
};

Engines measureEngines()
{
    Engines engines;
    MediaContext* context = pluginContext();
    if (context) {
        DirectShowDevice& directShow = context->directShowDevice();
        engines.directShow = directShow.canCreateGraph() || directShow.canCreateDvdGraph();
        engines.directMusic = context->directMusicDevice().canCreate();
    }
    ole32::OleUninitialize();
    return engines;
}

const Engines& enginesOf(HWND dialog)
{
    return *reinterpret_cast<const Engines*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

bool checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void check(HWND dialog, int id, bool on)
{
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

void enable(HWND dialog, int id, bool on)
{
    EnableWindow(GetDlgItem(dialog, id), on);
}

// A field's text; false when it is longer than any number it may hold.
bool fieldText(HWND dialog, int id, char (&text)[64])
{
    return GetWindowTextLengthA(GetDlgItem(dialog, id)) < (int)sizeof text
        && GetDlgItemTextA(dialog, id, text, sizeof text) < sizeof text;
}

bool unsignedField(HWND dialog, int id, uint32_t* value)
{
    char text[64];
    return fieldText(dialog, id, text) && parseUnsigned32(text, value);
}

// The playing time, in whole seconds whose milliseconds fit in 32 bits.
bool secondsField(HWND dialog, uint32_t* seconds)
{
    return unsignedField(dialog, IDC_SECONDS, seconds) && *seconds >= 1 && *seconds <= 0xFFFFFFFFu / 1000;
}

// The ratio: empty (read as 0) or at least 0.2.
bool rateField(HWND dialog, double* rate)
{
    char text[64];
    return fieldText(dialog, IDC_RATE, text) && parseDecimalFraction(text, rate) && (!text[0] || *rate >= 0.2);
}

bool canSave(HWND dialog)
{
    uint32_t number;
    double rate;
    return (!checked(dialog, IDC_SHOW_IMAGE) || unsignedField(dialog, IDC_FRAME_POSITION, &number))
        && (checked(dialog, IDC_PLAY_TO_END) || secondsField(dialog, &number))
        && (!checked(dialog, IDC_PITCH) || rateField(dialog, &rate));
}

void UpdateMainControls(HWND dialog)
{
    const Engines& engines = enginesOf(dialog);
    const bool known = checked(dialog, IDC_PLAY_KNOWN);
    const bool unknown = checked(dialog, IDC_TRY_UNKNOWN);
    enable(dialog, IDC_KNOWN_MCI, known);
    enable(dialog, IDC_KNOWN_DIRECTSHOW, known && engines.directShow);
    enable(dialog, IDC_MIDI_DIRECTMUSIC, known && engines.directMusic);
    enable(dialog, IDC_UNKNOWN_MCI, unknown);
    enable(dialog, IDC_UNKNOWN_DIRECTSHOW, unknown && engines.directShow);
    enable(dialog, IDC_SHOW_IMAGE, engines.directShow);
    enable(dialog, IDC_FRAME_POSITION, checked(dialog, IDC_SHOW_IMAGE));
    enable(dialog, IDC_SECONDS, !checked(dialog, IDC_PLAY_TO_END));
    enable(dialog, IDC_RATE, checked(dialog, IDC_PITCH));
    enable(dialog, IDOK, canSave(dialog));
}

void showSettings(HWND dialog)
{
    const PluginSettings& s = pluginSettings;
    const Engines& engines = enginesOf(dialog);
    check(dialog, IDC_PLAY_KNOWN, s.playKnownFiles);
    CheckRadioButton(dialog, IDC_KNOWN_MCI, IDC_KNOWN_DIRECTSHOW,
                     engines.directShow && s.useDirectShow ? IDC_KNOWN_DIRECTSHOW : IDC_KNOWN_MCI);
    check(dialog, IDC_MIDI_DIRECTMUSIC, s.useDirectMusicForMidi);
    check(dialog, IDC_TRY_UNKNOWN, s.tryUnknownFile);
    CheckRadioButton(dialog, IDC_UNKNOWN_MCI, IDC_UNKNOWN_DIRECTSHOW,
                     engines.directShow && s.preferDirectShow ? IDC_UNKNOWN_DIRECTSHOW : IDC_UNKNOWN_MCI);
    check(dialog, IDC_SHOW_IMAGE, s.showImage);
    SetDlgItemInt(dialog, IDC_FRAME_POSITION, s.framePosition, FALSE);
    check(dialog, IDC_PLAY_WHEN_PREVIEW, s.playWhenPreview);
    check(dialog, IDC_PLAY_WHEN_OPEN, s.playWhenOpen);
    check(dialog, IDC_PLAY_TO_END, s.milliseconds == PlayToEnd);
    if (s.milliseconds != PlayToEnd)
        SetDlgItemInt(dialog, IDC_SECONDS, s.milliseconds / 1000, FALSE);
    check(dialog, IDC_REPEAT, s.repeat);
    check(dialog, IDC_PITCH, s.setPitch);
    if (s.setPitch) {
        char rate[32] = "";
        formatDecimalFraction(s.rate, rate, sizeof rate);
        SetDlgItemTextA(dialog, IDC_RATE, rate);
    }
}

// Takes the controls into the settings, saves them and reads them back.
void saveSettings(HWND dialog)
{
    PluginSettings& s = pluginSettings;
    LockScope hold(PictureLock);
    s.playKnownFiles = checked(dialog, IDC_PLAY_KNOWN);
    s.useDirectShow = checked(dialog, IDC_KNOWN_DIRECTSHOW);
    s.useDirectMusicForMidi = checked(dialog, IDC_MIDI_DIRECTMUSIC);
    s.tryUnknownFile = checked(dialog, IDC_TRY_UNKNOWN);
    s.preferDirectShow = checked(dialog, IDC_UNKNOWN_DIRECTSHOW);
    s.showImage = checked(dialog, IDC_SHOW_IMAGE);
    uint32_t number = 0;
    if (s.showImage && unsignedField(dialog, IDC_FRAME_POSITION, &number))
        s.framePosition = number;
    s.playWhenPreview = checked(dialog, IDC_PLAY_WHEN_PREVIEW);
    s.playWhenOpen = checked(dialog, IDC_PLAY_WHEN_OPEN);
    if (checked(dialog, IDC_PLAY_TO_END))
        s.milliseconds = PlayToEnd;
    else if (secondsField(dialog, &number))
        s.milliseconds = number * 1000;
    s.repeat = checked(dialog, IDC_REPEAT);
    s.setPitch = checked(dialog, IDC_PITCH);
    double rate = 0;
    if (s.setPitch && rateField(dialog, &rate))
        s.rate = rate;
    SavePluginSettings();
    LoadPluginSettings();
}

// The player's own settings run on a thread of their own, which enables the
// dialog again when they close.
void showPlayerSettings(HWND dialog)
{
    EnableWindow(dialog, FALSE);
    HANDLE thread = CreateThread(nullptr, 0, ShowPlayerSettings, dialog, 0, nullptr);
    if (thread)
        CloseHandle(thread);
    else
        EnableWindow(dialog, TRUE);
}

void command(HWND dialog, int id, int code)
{
    switch (id) {
    case IDOK:
        // Enter reaches here even while OK is disabled.
        if (canSave(dialog)) {
            saveSettings(dialog);
            EndDialog(dialog, IDOK);
        }
        return;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return;
    case IDC_PLAYER_SETTINGS:
        showPlayerSettings(dialog);
        return;
    case IDC_PCM_SETTINGS:
        ShowPcmDialog(dialog);
        return;
    case IDC_ACCEPT_SETTINGS:
        ShowAcceptDialog(dialog);
        return;
    }
    if (code == BN_CLICKED || code == EN_CHANGE)
        UpdateMainControls(dialog);
}

INT_PTR CALLBACK configurationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        showSettings(dialog);
        UpdateMainControls(dialog);
        return TRUE;
    case WM_COMMAND:
        command(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

} // namespace

INT_PTR ShowConfiguration(HWND owner)
{
    {
        LockScope hold(PictureLock);
        LoadPluginSettings();
    }
    Engines engines = measureEngines();
    return DialogBoxParamA(PluginModule, MAKEINTRESOURCEA(IDD_CONFIGURATION), owner, configurationProc,
                           (LPARAM)&engines);
}
