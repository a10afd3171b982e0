#include "toolkit/qv_exception.h"
#include "toolkit/rounding.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

TEST(QvException, CaughtAsStandardExceptionWithItsMessage)
{
    try {
        throw qv_exception("unable to create a d2d render target");
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "unable to create a d2d render target");
        return;
    }
    FAIL() << "not caught as std::exception";
}

TEST(QvException, CopyAndRethrowKeepTheMessage)
{
    std::exception_ptr stored;
    try {
        throw qv_exception("unable to open the folder dialog");
    } catch (...) {
        stored = std::current_exception();
    }
    try {
        std::rethrow_exception(stored);
    } catch (const qv_exception& e) {
        const qv_exception copy(e);
        EXPECT_STREQ(copy.what(), e.what());
        EXPECT_NE(copy.what(), e.what());  // the copy owns its text
    }
}

TEST(QvException, TakesExactlyTheGivenLength)
{
    const char text[] = "unable to decode image; trailing garbage";
    const qv_exception e(text, std::strlen("unable to decode image"));
    EXPECT_STREQ(e.what(), "unable to decode image");
}

TEST(Rounding, HalvesGoAwayFromZero)
{
    EXPECT_EQ(qvsdk::round_to_int(2.5f), 3);
    EXPECT_EQ(qvsdk::round_to_int(-2.5f), -3);
    EXPECT_EQ(qvsdk::round_to_int(2.49f), 2);
    EXPECT_EQ(qvsdk::round_to_int(-0.4f), 0);
    EXPECT_EQ(qvsdk::round_to_int(1.5f), 2);
}
