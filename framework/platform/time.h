#pragma once
// Time stamps: seconds since 1 January 1970 (UTC) as a double, milliseconds
// in the fraction; shown in local time.

#include "framework/text/string.h"

namespace penwick {

double now();
// Local calendar time to a time stamp; the fraction of `seconds` is kept.
// Seconds that are NaN, infinite or beyond any calendar give NaN, which
// formatTime shows as an empty text.
double makeTime(int year, int month, int day, int hour, int minute, double seconds);
// strftime conventions, plus one of these, looked for in this order, and
// only the first found replaced: "%K" by the milliseconds ("%03d"), else
// "%C" by the hundredths ("%02d"), else "%T" by the tenths ("%d"). The
// milliseconds are the fraction rounded to the nearest one (at most 999),
// the hundredths and tenths those of the milliseconds. A negative time
// means now.
// NaN and stamps past any calendar give an empty text.
ktString formatTime(double time, std::string_view pattern);

}  // namespace penwick
