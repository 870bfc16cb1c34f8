#include "shell/Conversions.h"

#include <gtest/gtest.h>

using data::Variant;

TEST(Conversions, Placeholder)
{
    EXPECT_EQ(ToInteger(Variant("12"), 0), 12);
}
