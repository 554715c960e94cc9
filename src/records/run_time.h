#pragma once
#include <string>

// A run's time is counted in frames of the 10 ms clock: hundredths of a second.
// "m:ss,hh" with the Finnish decimal comma; minutes grow past 59 ("75:03,20").
std::string time_text(int hundredths);

// The clock `hundredths` (at least 0) further on. It stops at record_table::time_max, the
// longest time the records file reads, so a time the game writes is always one it reads again.
int add_time(int time, int hundredths);

// The date of today as the records file keeps it, "YYYY-MM-DD" in local time.
std::string today_iso();
// "YYYY-MM-DD" shown the Finnish way, "8.12.2026"; anything else comes back as it is.
std::string date_text(const std::string &iso);
