#include "PluginInfo.h"

#include <string.h>

namespace {

const char* const infoTexts[] = {
    "00IN",
    "Pixamor media import filter 1.0",
    "*.wav", "Wave Audio",
    "*.avi;*.ivf;*.iva", "AVI",
    "*.mid;*.rmi;*.midi", "MIDI",
    "*.dat", "CD-ROM XA",
    "*.cda", "CDDA",
    "*.aif;*.aiff;*.aifc", "AIFF",
    "*.au;*.snd", "AU",
    "*.mov;*.qt", "QuickTime",
    "*.ra;*.ram;*.rm;*.rmm", "RealMedia",
    "*.asf;*.lsf;*.wm;*.wma;*.wmv", "Windows Media",
    "*.mpeg;*.mpg;*.mpe;*.mpv;*.mlv;*.mp2;*.mpv2;*.mp2v;*.mpa;*.mp3;*.rmp;*.vob", "MPEG",
    "*.m3u;*.pls;*.asx;*.lsx;*.wax;*.wvx", "PlayList",
    "*.mp4;*.m4a;*.m4v;*.3gp;*.mkv;*.webm;*.ogg;*.oga;*.ogv;*.opus;*.flac;*.ts", "MP4, Ogg, FLAC, Matroska",
};

// The texts are ASCII: each byte widens to the same character.
template <typename Char>
int copyInfoText(int infono, Char* buf, int buflen)
{
    const int count = sizeof infoTexts / sizeof infoTexts[0];
    // With no room for the terminator nothing is written.
    if (infono < 0 || infono >= count || !buf || buflen <= 0)
        return 0;
    const char* text = infoTexts[infono];
    int n = (int)strlen(text) + 1;
    if (n > buflen)
        n = buflen;
    for (int i = 0; i < n - 1; ++i)
        buf[i] = (Char)(unsigned char)text[i];
    buf[n - 1] = 0;
    return n - 1;
}

} // namespace

int pluginInfoText(int infono, char* buf, int buflen) { return copyInfoText(infono, buf, buflen); }

int pluginInfoTextWide(int infono, wchar_t* buf, int buflen) { return copyInfoText(infono, buf, buflen); }
