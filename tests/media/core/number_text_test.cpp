#include <gtest/gtest.h>

#include <math.h>

#include "NumberText.h"

TEST(NumberText, UnsignedAndFractionFields)
{
    struct Case { const char* text; bool ok; uint32_t value; } unsigneds[] = {
        {"0", true, 0}, {"17", true, 17}, {"0042", true, 42}, {"4294967295", true, 4294967295u},
        {"4294967296", false, 0}, {"99999999999999999999", false, 0}, {"", false, 0}, {"-1", false, 0},
        {"12a", false, 0}, {" 1", false, 0}, {"1.5", false, 0},
    };
    for (const Case& c : unsigneds) {
        uint32_t value = 7;
        EXPECT_EQ(c.ok, parseUnsigned32(c.text, &value)) << c.text;
        EXPECT_EQ(c.ok ? c.value : 7u, value) << c.text;
    }
    struct Fraction { const char* text; bool ok; double value; } fractions[] = {
        {"", true, 0}, {"1.5", true, 1.5}, {"0.2", true, 0.2}, {"2", true, 2}, {".5", true, 0.5},
        {"1.", true, 1}, {"0x10", false, 0}, {"1e3", false, 0}, {"inf", false, 0}, {"1.2.3", false, 0},
        {".", false, 0}, {"-1", false, 0}, {"1,5", false, 0}, {"abc", false, 0}, {"0.05", true, 0.05},
        {"007.250", true, 7.25}, {"3.14159265358979323846", true, 3.14159265358979323846},
        {"123456789012345678901234", true, 123456789012345678901234.0},
    };
    for (const Fraction& c : fractions) {
        double value = 7;
        EXPECT_EQ(c.ok, parseDecimalFraction(c.text, &value)) << c.text;
        EXPECT_DOUBLE_EQ(c.ok ? c.value : 7, value) << c.text;
    }
    EXPECT_FALSE(parseUnsigned32(nullptr, nullptr));
}

TEST(NumberText, FractionsWrittenWithAPoint)
{
    struct Case { double value; size_t size; const char* text; } cases[] = {
        {1, 32, "1.000000"}, {1.25, 32, "1.250000"}, {0, 32, "0.000000"}, {0.0000004, 32, "0.000000"},
        {0.9999996, 32, "1.000000"}, {21474835.5, 32, "21474835.500000"}, {1.5, 9, "1.500000"},
        {1.5, 8, nullptr}, {-1, 32, nullptr}, {1e12, 32, nullptr}, {NAN, 32, nullptr}, {INFINITY, 32, nullptr},
    };
    for (const Case& c : cases) {
        char text[32] = "untouched";
        EXPECT_EQ(c.text != nullptr, formatDecimalFraction(c.value, text, c.size)) << c.value;
        EXPECT_STREQ(c.text ? c.text : "untouched", text) << c.value;
    }
}
