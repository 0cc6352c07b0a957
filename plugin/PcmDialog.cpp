// The raw-PCM extensions and their formats: each Add and Delete is stored at once.
#include "ConfigDialogs.h"
#include "PluginSettings.h"
#include "resource.h"

namespace {

const NameListControls names = {IDC_PCM_EXTENSION, IDC_PCM_LIST, IDC_PCM_ADD, IDC_PCM_DELETE};

void UpdatePcmControls(HWND dialog)
{
    UpdateNameListButtons(dialog, names);
}

bool checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

// With no radio touched the format is 44100 Hz, 16 bits, stereo.
void addExtension(HWND dialog)
{
    char name[MAX_PATH];
    if (!EditedName(dialog, names, name))
        return;
    DWORD rate = checked(dialog, IDC_PCM_11KHZ) ? 11025 : checked(dialog, IDC_PCM_22KHZ) ? 22050 : 44100;
    WORD bits = checked(dialog, IDC_PCM_8BITS) ? 8 : 16;
    WORD channels = checked(dialog, IDC_PCM_MONO) ? 1 : 2;
    WritePcmFormat(name, rate, bits, channels);
    AddListedName(dialog, names, name);
}

void showStoredFormat(HWND dialog)
{
    char name[MAX_PATH];
    if (!SelectedName(dialog, names, name))
        return;
    PCMWAVEFORMAT format = ReadPcmFormat(name);
    DWORD rate = format.wf.nSamplesPerSec;
    CheckRadioButton(dialog, IDC_PCM_11KHZ, IDC_PCM_44KHZ,
                     rate == 11025 ? IDC_PCM_11KHZ : rate == 22050 ? IDC_PCM_22KHZ : IDC_PCM_44KHZ);
    CheckRadioButton(dialog, IDC_PCM_8BITS, IDC_PCM_16BITS, format.wBitsPerSample == 8 ? IDC_PCM_8BITS : IDC_PCM_16BITS);
    CheckRadioButton(dialog, IDC_PCM_MONO, IDC_PCM_STEREO, format.wf.nChannels == 1 ? IDC_PCM_MONO : IDC_PCM_STEREO);
}

void fill(HWND list)
{
    FillPcmListBox(list);
}

void command(HWND dialog, WPARAM wParam)
{
    char name[MAX_PATH];
    switch (LOWORD(wParam)) {
    case IDC_PCM_ADD:
        addExtension(dialog);
        break;
    case IDC_PCM_DELETE:
        if (TakeSelectedName(dialog, names, name))
            DeletePcmExtension(name);
        break;
    case IDC_PCM_LIST:
        if (HIWORD(wParam) == LBN_SELCHANGE)
            showStoredFormat(dialog);
        break;
    }
}

} // namespace

INT_PTR ShowPcmDialog(HWND owner)
{
    return RunNameListDialog(owner, {IDD_PCM, names, fill, command, UpdatePcmControls});
}
