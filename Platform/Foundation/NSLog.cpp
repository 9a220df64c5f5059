#include <Foundation/NSLog.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <syslog.h>
#include <unistd.h>



void NSLogString(const NSString& line)
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local {};
    localtime_r(&seconds, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::fprintf(stderr, "%s.%03lld %s[%d] %s\n", stamp, static_cast<long long>(milliseconds), program_invocation_short_name,
                 static_cast<int>(getpid()), line.UTF8String());
    std::fflush(stderr);
    syslog(LOG_NOTICE, "%s", line.UTF8String());
}
