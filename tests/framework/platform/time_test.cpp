#include "framework/platform/time.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "host_fixture.h"

namespace penwick {
namespace {

using testing::HostFixture;

class TimeTest : public HostFixture {
  protected:
    TimeTest() {
        const char* tz = std::getenv("TZ");
        savedTz_ = tz ? tz : "";
        hadTz_ = tz != nullptr;
        ::setenv("TZ", "UTC0", 1);
        ::tzset();
    }
    ~TimeTest() override {
        if (hadTz_)
            ::setenv("TZ", savedTz_.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    std::string savedTz_;
    bool hadTz_ = false;
};

TEST_F(TimeTest, MakeTimeKeepsTheFraction) {
    EXPECT_DOUBLE_EQ(makeTime(1970, 1, 1, 0, 0, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(makeTime(2001, 3, 5, 14, 7, 9.25), 983801229.25);
}

TEST_F(TimeTest, MakeTimeOfNoSecondsIsNoStamp) {
    EXPECT_TRUE(std::isnan(makeTime(2026, 1, 1, 0, 0, std::nan(""))));
    EXPECT_TRUE(std::isnan(makeTime(2026, 1, 1, 0, 0, HUGE_VAL)));
    EXPECT_TRUE(std::isnan(makeTime(2026, 1, 1, 0, 0, -1e300)));
    EXPECT_EQ(formatTime(makeTime(2026, 1, 1, 0, 0, std::nan("")), "%Y").view(), "");
    // Seconds past the minute still carry over, as the calendar does.
    EXPECT_DOUBLE_EQ(makeTime(1970, 1, 1, 0, 0, 90.5) - makeTime(1970, 1, 1, 0, 1, 30.0), 0.5);
}

TEST_F(TimeTest, FormatTimeReplacesOnlyTheFirstKindOfFraction) {
    double t = makeTime(2026, 12, 8, 9, 5, 7.0) + 0.0456;
    EXPECT_EQ(formatTime(t, "%Y-%m-%d_%H-%M-%S.wnk").view(), "2026-12-08_09-05-07.wnk");
    EXPECT_EQ(formatTime(t, "%S.%K").view(), "07.046");
    EXPECT_EQ(formatTime(t, "%S.%C").view(), "07.04");
    EXPECT_EQ(formatTime(t, "%S.%T").view(), "07.0");
    // With both %K and %C only %K is ours; %C stays for strftime (century).
    EXPECT_EQ(formatTime(t, "%K %C").view(), "046 20");
}

TEST_F(TimeTest, TheMillisecondsAreRoundedNotTruncated) {
    // 9.001 s is held as 9.000999..., which truncation showed as "000".
    EXPECT_EQ(formatTime(makeTime(2001, 3, 5, 14, 7, 9.001), "%S.%K").view(), "09.001");
    // Every millisecond of a second, on a stamp of today's size (where a
    // double keeps about a quarter of a microsecond), shows as itself.
    int wrong = 0;
    for (int ms = 0; ms < 1000; ++ms) {
        double t = makeTime(2026, 12, 9, 3, 15, 9 + ms / 1000.0);
        char expected[8];
        std::snprintf(expected, sizeof expected, "%03d", ms);
        if (formatTime(t, "%K").view() != expected) ++wrong;
    }
    EXPECT_EQ(wrong, 0);
    // Half a millisecond rounds up; the last half millisecond of a second
    // stays in it as 999 rather than carrying into the next second.
    EXPECT_EQ(formatTime(0.0625, "%S.%K").view(), "00.063");
    EXPECT_EQ(formatTime(0.0624, "%S.%K").view(), "00.062");
    EXPECT_EQ(formatTime(7.9996, "%S.%K").view(), "07.999");
    EXPECT_EQ(formatTime(7.9999999, "%S.%K").view(), "07.999");
    // The hundredths and tenths are those of the rounded milliseconds.
    EXPECT_EQ(formatTime(7.0996, "%S.%C").view(), "07.10");
    EXPECT_EQ(formatTime(7.0996, "%S.%T").view(), "07.1");
}

TEST_F(TimeTest, StampsBeyondTheCalendarHaveNoText) {
    EXPECT_EQ(formatTime(1e300, "%Y").view(), "");
    EXPECT_EQ(formatTime(std::nan(""), "%Y").view(), "");
    EXPECT_EQ(formatTime(0.5, "%Y %K").view(), "1970 500");
}

TEST_F(TimeTest, NegativeTimeMeansNowFromTheHostClock) {
    host_.setWallTimeOrigin(makeTime(2030, 6, 1, 12, 0, 0.0));
    host_.advance(1500);
    EXPECT_DOUBLE_EQ(now(), makeTime(2030, 6, 1, 12, 0, 1.5));
    EXPECT_EQ(formatTime(-1, "%H:%M:%S.%K").view(), "12:00:01.500");
}

}  // namespace
}  // namespace penwick
