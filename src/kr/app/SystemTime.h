#pragma once
// The time of day in UTC as eight fields, for what stamps files and logs.

#include <cstdint>

namespace KR
{

struct SystemTime
{
    std::int32_t year;         // 1601 and later
    std::int32_t month;        // 1-12
    std::int32_t dayOfWeek;    // 0 Sunday - 6 Saturday
    std::int32_t day;          // 1-31
    std::int32_t hour;         // 0-23
    std::int32_t minute;       // 0-59
    std::int32_t second;       // 0-59
    std::int32_t milliseconds; // 0-999
};

SystemTime GetSystemTimeUtc();

// The fields of a moment given as milliseconds since 1970-01-01 UTC.
SystemTime SystemTimeFromUnixMilliseconds(std::int64_t milliseconds);

} // namespace KR
