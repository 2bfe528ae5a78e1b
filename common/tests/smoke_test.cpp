#include "core/textfmt.h"
#include <gtest/gtest.h>
TEST(Smoke, Str) { EXPECT_EQ(dz::str(5), QStringLiteral(" 5")); }
