#pragma once
#include <stddef.h>
#include <stdint.h>

// Numbers typed into settings fields and written into command lines, always
// with a '.' as the decimal point: the C library's locale is the host's to set.

// Decimal digits only, at least one, and no more than 4294967295.
bool parseUnsigned32(const char* text, uint32_t* value);

// A finite decimal fraction ("1.5", "0.25", "2") taking the whole text; an
// empty text reads as 0.
bool parseDecimalFraction(const char* text, double* value);

// value with six decimals ("1.250000"); false when it is negative, not below
// 1e12 or does not fit in size bytes with its terminator.
bool formatDecimalFraction(double value, char* text, size_t size);
