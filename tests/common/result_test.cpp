#include "common/result.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct Cause {
    int code = 0;
    int error = 0;
};

Result<std::unique_ptr<int>, Cause> made(bool fail) {
    if (fail)
        return Failed{Cause{3, 28}};
    return std::make_unique<int>(7);
}

Result<void, Cause> done(bool fail) {
    if (fail)
        return Failed{Cause{4, 13}};
    return {};
}

} // namespace

TEST(Result, HoldsAValueOrTheCause) {
    auto value = made(false);
    ASSERT_TRUE(value);
    std::unique_ptr<int> taken = std::move(value).value();
    EXPECT_EQ(*taken, 7);

    const auto failed = made(true);
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.cause().code, 3);
    EXPECT_EQ(failed.cause().error, 28);

    EXPECT_TRUE(done(false).ok());
    const auto refused = done(true);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.cause().error, 13);
}

TEST(Result, AValueAndACauseOfOneTypeStayApart) {
    const Result<int, int> value = 5;
    const Result<int, int> failed = Failed{5};
    EXPECT_TRUE(value);
    EXPECT_EQ(value.value(), 5);
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.cause(), 5);
}
