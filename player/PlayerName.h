#pragma once

// The program's file name without directory and extension ("PLAYER"), which
// dialog captions put in place of "%s".
const char* programName();
