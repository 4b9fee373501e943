#include <gtest/gtest.h>

#include <climits>

#include "platform/MulDiv.h"

using platform::mulDiv;

TEST(MulDiv, RoundsHalvesAwayFromZeroAndFailsWithMinusOne) {
    struct Case {
        int number, numerator, denominator, expected;
    };
    const Case cases[] = {
        {3, 144, 96, 5},          // 4.5 up
        {-3, 144, 96, -5},        // -4.5 down
        {3, -144, 96, -5},
        {3, 144, -96, -5},
        {-3, -144, -96, -5},
        {62, 144, 96, 93},
        {1, 1, 3, 0},
        {2, 1, 3, 1},             // 0.67
        {2, 6, 20, 1},            // 0.6
        {24, 1, 2, 12},
        {INT_MAX, 2, 2, INT_MAX}, // the product needs 64 bits
        {INT_MAX, 3, 2, -1},      // the result does not fit
        {INT_MIN, 1, 1, INT_MIN},
        {5, 7, 0, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mulDiv(c.number, c.numerator, c.denominator), c.expected)
            << c.number << " * " << c.numerator << " / " << c.denominator;
    }
}
