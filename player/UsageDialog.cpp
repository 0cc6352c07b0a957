#include "UsageDialog.h"

#include <richedit.h>
#include <stdio.h>
#include <string.h>

#include "PlayerCore.h"
#include "PlayerName.h"
#include "RichEdit.h"
#include "SettingsDialog.h"
#include "UsageWait.h"
#include "resource.h"

namespace {

const char usageFormat[] =
    "%s [option | filename]...\n"
    "    Wildcard and following options available.(option case ignored)\n"
    "      -Delete        Deletes file after play.\n"
    "      -NoDelete      Does not delete file after play.\n"
    "                     (default operation)\n"
    "      -Milliseconds  Time in milliseconds to play.\n"
    "                     0 to play entire audio.\n"
    "      -Seconds       Time in seconds to play.\n"
    "                     0 to play entire audio.\n"
    "      -Add           Adds audio to be played, without cancel.\n"
    "      -Next          Cancels audio currently played\n"
    "                     and make it play next audio.\n"
    "      -End           Cancels audio currently played\n"
    "                     and make it exit.\n"
    "      -Repeat        Repeats playback.\n"
    "      -RepeatEach    Repeats playback of each file.\n"
    "      -NoRepeat      Does not repeat playback.\n"
    "                     (default operation)\n"
    "      -NormalClass   Runs under normal priority class.\n"
    "                     (default operation)\n"
    "      -HighClass     Runs under high priority class.\n";

HWND dialog;

struct TextSource {
    const char* text;
    LONG left;
};

DWORD CALLBACK readText(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done)
{
    TextSource* source = (TextSource*)cookie;
    LONG n = source->left < size ? source->left : size;
    memcpy(buffer, source->text, n);
    source->text += n;
    source->left -= n;
    *done = n;
    return 0;
}

void streamUsageText(HWND window)
{
    char text[sizeof usageFormat + MAX_PATH];
    formatUsageText(text, sizeof text);
    TextSource source = {text, (LONG)strlen(text)};
    EDITSTREAM stream = {(DWORD_PTR)&source, 0, readText};
    SendDlgItemMessageA(window, IDC_USAGE_TEXT, EM_STREAMIN, SF_TEXT, (LPARAM)&stream);
}

BOOL onInitDialog(HWND window)
{
    SetWindowTextA(window, programName());
    streamUsageText(window);
    showUsageTrayIcon(TRUE);
    // With the focus the text would show all selected.
    SetFocus(GetDlgItem(window, IDOK));
    return FALSE;
}

INT_PTR onCommand(HWND window, WORD id)
{
    switch (id) {
    case IDOK:
    case IDCANCEL:
        // The message loop destroys the dialog when this arrives.
        PostMessageA(window, WM_COMMAND, CommandShutDown, 0);
        return TRUE;
    case IDC_CONFIGURE:
        runConfigurationDialog(window);
        return TRUE;
    case CommandShutDown:
        // Reached here only when a modal loop dispatched the message.
        closeUsageDialog();
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK usageProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(window);
    case WM_COMMAND:
        return onCommand(window, LOWORD(wParam));
    }
    return FALSE;
}

} // namespace

HWND usageDialog() { return dialog; }

BOOL openUsageDialog(HWND owner)
{
    if (dialog)
        return TRUE;
    if (!loadRichEdit())
        return FALSE;
    dialog = CreateDialogParamA(instanceHandle, MAKEINTRESOURCEA(IDD_USAGE), owner, usageProc, 0);
    if (!dialog)
        return FALSE;
    ShowWindow(dialog, SW_SHOW);
    return TRUE;
}

void closeUsageDialog()
{
    if (dialog) {
        HWND closing = dialog;
        dialog = nullptr;
        DestroyWindow(closing);
        showUsageTrayIcon(FALSE);
    }
    releaseUsageWait();
}

void formatUsageText(char* text, size_t size) { snprintf(text, size, usageFormat, programName()); }
