#pragma once
#include <stdint.h>

// Numbers typed into settings fields.

// Decimal digits only, at least one, and no more than 4294967295.
bool parseUnsigned32(const char* text, uint32_t* value);

// A finite decimal fraction ("1.5", "0.25", "2") taking the whole text; an
// empty text reads as 0.
bool parseDecimalFraction(const char* text, double* value);
