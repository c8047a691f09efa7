#include "qx/platform/base/checked_length.h"

#include <gtest/gtest.h>

#include <climits>

#include "qx/platform/base/exceptions.h"

// A length one past what the family's int or unsigned can hold must not be
// cut to a small number that a caller would size a buffer by.
TEST(CheckedLengthTest, PassesWhatFitsAndRefusesWhatDoesNot) {
    EXPECT_EQ(qx::CheckedLength<int>(0), 0);
    EXPECT_EQ(qx::CheckedLength<int>(INT_MAX), INT_MAX);
    EXPECT_THROW(qx::CheckedLength<int>(size_t{INT_MAX} + 1), CMemoryException);
    EXPECT_THROW(qx::CheckedLength<int>(size_t{1} << 32), CMemoryException);  // would wrap to 0
    EXPECT_EQ(qx::CheckedLength<unsigned>(UINT_MAX), UINT_MAX);
    EXPECT_THROW(qx::CheckedLength<unsigned>(size_t{UINT_MAX} + 1), CMemoryException);
}
