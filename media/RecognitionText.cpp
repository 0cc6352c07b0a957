#include "MediaContext.h"
#include "RecognitionFile.h"
#include "TextBytes.h"

namespace {

// The text test looks at no more than this many first bytes.
const DWORD TextScanSize = 10240;

bool convertsToOneCharacter(const BYTE* bytes, int count)
{
    WCHAR wide[2];
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, (LPCSTR)bytes, count, wide, 2) == 1;
}

// Letters, digits, punctuation, blanks, kana and symbols of the code page.
bool isPrintableSingleByte(BYTE byte)
{
    WCHAR wide;
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, (LPCSTR)&byte, 1, &wide, 1) != 1)
        return false;
    WORD type1 = 0, type3 = 0;
    if (!GetStringTypeW(CT_CTYPE1, &wide, 1, &type1) || (type1 & C1_CNTRL))
        return false;
    if (type1 & (C1_ALPHA | C1_DIGIT | C1_PUNCT | C1_BLANK))
        return true;
    return GetStringTypeW(CT_CTYPE3, &wide, 1, &type3) && (type3 & (C3_KATAKANA | C3_SYMBOL));
}

// A trail byte is one that completes a character after some lead byte.
bool isTrailByte(BYTE byte, const TextByteClasses& classes)
{
    for (int lead = 0; lead < 256; ++lead) {
        const BYTE pair[2] = {(BYTE)lead, byte};
        if ((classes.flags[lead] & TextLeadByte) && convertsToOneCharacter(pair, 2))
            return true;
    }
    return false;
}

TextByteClasses classifyAnsiCodePage()
{
    TextByteClasses classes;
    CPINFO info;
    if (GetCPInfo(CP_ACP, &info))
        for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2)
            for (int b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b)
                classes.flags[b] |= TextLeadByte;
    for (int b = 0; b < 256; ++b) {
        if (!(classes.flags[b] & TextLeadByte) && isPrintableSingleByte((BYTE)b))
            classes.flags[b] |= TextPrintableByte;
        if (isTrailByte((BYTE)b, classes))
            classes.flags[b] |= TextTrailByte;
    }
    return classes;
}

// The code page does not change while the process runs.
const TextByteClasses& ansiTextClasses()
{
    static const TextByteClasses classes = classifyAnsiCodePage();
    return classes;
}

}  // namespace

BOOL MediaContext::isTextFile(const char* path)
{
    LockScope hold(lock_);
    RecognitionFile file(path);
    if (!file.isOpen())
        return FALSE;
    ULONGLONG size;
    DWORD count = file.size(&size) && size < TextScanSize ? (DWORD)size : TextScanSize;
    BYTE bytes[TextScanSize];
    if (!file.readExactAt(0, bytes, count) || !isTextBytes(bytes, count, ansiTextClasses()))
        return FALSE;
    kind_ = MediaKindText;
    hasAudio_ = FALSE;
    hasVideo_ = FALSE;
    return TRUE;
}
