#pragma once

// The "00IN" information texts: infono 0 is the interface, 1 the filter's
// name, 2..25 the pattern and description pairs. Copies at most buflen - 1
// characters and a terminating zero; answers the count copied, 0 for an
// unknown infono or no room.
int pluginInfoText(int infono, char* buf, int buflen);
// The same texts in UTF-16, counted in characters.
int pluginInfoTextWide(int infono, wchar_t* buf, int buflen);
