#include "records/run_time.h"

#include <cstdio>
#include <ctime>

#include "records/record_table.h"

std::string time_text(int hundredths)
{
    if (hundredths < 0)
        hundredths = 0;
    char text[24];
    std::snprintf(text, sizeof text, "%d:%02d,%02d", hundredths / 6000, hundredths / 100 % 60,
                  hundredths % 100);
    return text;
}

int add_time(int time, int hundredths)
{
    return hundredths >= record_table::time_max - time ? record_table::time_max : time + hundredths;
}

std::string today_iso()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", (local.tm_year + 1900) % 10000,
                  local.tm_mon + 1, local.tm_mday);
    return text;
}

std::string date_text(const std::string &iso)
{
    int y = 0, m = 0, d = 0;
    char tail = 0;
    if (iso.size() != 10 || std::sscanf(iso.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3)
        return iso;
    char text[48];
    std::snprintf(text, sizeof text, "%d.%d.%d", d, m, y);
    return text;
}
