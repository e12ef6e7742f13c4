#include "kr/app/SystemTime.h"

#include <chrono>

namespace KR
{

SystemTime SystemTimeFromUnixMilliseconds(std::int64_t milliseconds)
{
    using namespace std::chrono;
    const sys_time<std::chrono::milliseconds> moment{std::chrono::milliseconds(milliseconds)};
    const sys_days day = floor<days>(moment);
    const year_month_day date(day);
    const hh_mm_ss<std::chrono::milliseconds> time(moment - day);
    return SystemTime{static_cast<std::int32_t>(date.year()),
                      static_cast<std::int32_t>(static_cast<unsigned>(date.month())),
                      static_cast<std::int32_t>(weekday(day).c_encoding()),
                      static_cast<std::int32_t>(static_cast<unsigned>(date.day())),
                      static_cast<std::int32_t>(time.hours().count()),
                      static_cast<std::int32_t>(time.minutes().count()),
                      static_cast<std::int32_t>(time.seconds().count()),
                      static_cast<std::int32_t>(time.subseconds().count())};
}

SystemTime GetSystemTimeUtc()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return SystemTimeFromUnixMilliseconds(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

} // namespace KR
