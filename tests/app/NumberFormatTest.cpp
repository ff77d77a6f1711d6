#include "app/NumberFormat.h"

#include <gtest/gtest.h>

namespace nimbrel {
namespace {

struct RoundCase {
    double value;
    const char* text;
};

TEST(RoundedText, HalvesGoToTheEvenNeighbour) {
    const RoundCase cases[] = {
        {2.5, "2"},    {3.5, "4"},     {-2.5, "-2"},
        {-3.5, "-4"},  {0.5, "0"},     {1.5, "2"},
        {-0.5, "0"},   {-0.4, "0"},    {2.4999, "2"},
        {2.5001, "3"}, {53.6, "54"},   {26.6, "27"},
        {50.0, "50"},  {11.508, "12"}, {18.52, "19"},
        {69.8, "70"},  {13.84, "14"},  {1013.207888, "1013"},
        {0.0, "0"},    {-9.5, "-10"},  {1e6 + 0.5, "1000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RoundedText(c.value), c.text) << c.value;
}

TEST(ShortestDecimalText, WritesNoTrailingZerosNoExponentAndNoNegativeZero) {
    const RoundCase cases[] = {
        {12.0, "12"},
        {-3.0, "-3"},
        {12.5, "12.5"},
        {0.0, "0"},
        {-0.0, "0"},
        {0.1, "0.1"},
        {-10.25, "-10.25"},
        {100.0, "100"},
        {1.0 / 3.0, "0.333333333333333"},
        {123456789012345.0, "123456789012345"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortestDecimalText(c.value), c.text) << c.value;
}

TEST(UnitConversion, UsesTheDisplayFactors) {
    EXPECT_EQ(RoundedText(KmhToMph(18.556701030927835)), "12");
    EXPECT_EQ(RoundedText(KmhToMph(22.268041237113401)), "14");
    EXPECT_EQ(RoundedText(MetresToMiles(9999)), "6");
    EXPECT_EQ(RoundedText(MetresToMiles(16090)), "10");
    EXPECT_EQ(RoundedText(CelsiusToFahrenheit(21)), "70");
    EXPECT_DOUBLE_EQ(CelsiusToFahrenheit(10), 50.0);
    EXPECT_DOUBLE_EQ(CelsiusToFahrenheit(-40), -40.0);
}

} // namespace
} // namespace nimbrel
