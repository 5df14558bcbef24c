#include "bench/ProcessCpu.h"

#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>

#include <unistd.h>

long long StatCpuTicks(std::string_view statText)
{
    // The command name (field 2) is in parentheses and may hold spaces or
    // parentheses itself; the fields after its last ')' start with field 3.
    const std::size_t close = statText.rfind(')');
    if (close == std::string_view::npos) {
        return -1;
    }
    std::istringstream rest{std::string(statText.substr(close + 1))};
    std::string field;
    long long utime = -1, stime = -1;
    for (int index = 3; index <= 15 && rest >> field; ++index) {
        if (index == 14 || index == 15) {
            try {
                std::size_t used = 0;
                const long long ticks = std::stoll(field, &used);
                if (used != field.size() || ticks < 0) {
                    return -1;
                }
                (index == 14 ? utime : stime) = ticks;
            } catch (const std::exception&) {
                return -1;
            }
        }
    }
    return utime < 0 || stime < 0 ? -1 : utime + stime;
}

double ProcessCpuSeconds(pid_t pid)
{
    static const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const long long ticks = StatCpuTicks(text);
    if (ticks < 0 || ticksPerSecond <= 0) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return static_cast<double>(ticks) / static_cast<double>(ticksPerSecond);
}
