#pragma once

// The program's file name without directory and extension ("PLAYER"), which
// dialog captions put in place of "%s".
const char* programName();

// How many of the words that the C library splits the command line into make
// up the program's own path (module, as GetModuleFileName gives it): one,
// unless the path stands unquoted with blanks in it, as when a launcher
// wrote "C:\Program Files\PLAYER.EXE a.wav", which splits into two words
// before the file.
int programNameWords(const char* line, const char* module);
