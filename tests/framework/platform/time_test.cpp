#include "framework/platform/time.h"

#include <cmath>
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
    EXPECT_EQ(formatTime(t, "%S.%K").view(), "07.045");
    EXPECT_EQ(formatTime(t, "%S.%C").view(), "07.04");
    EXPECT_EQ(formatTime(t, "%S.%T").view(), "07.0");
    // With both %K and %C only %K is ours; %C stays for strftime (century).
    EXPECT_EQ(formatTime(t, "%K %C").view(), "045 20");
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
