#include "server/StampedLog.h"

#include <sys/stat.h>

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace qx::server {

bool StampedLog::JournalStampsOutput() {
    const char* journal = std::getenv("JOURNAL_STREAM");
    if (!journal) return false;
    uintmax_t device = 0, inode = 0;
    struct stat out {};
    return std::sscanf(journal, "%ju:%ju", &device, &inode) == 2 && fstat(1, &out) == 0 &&
           static_cast<uintmax_t>(out.st_dev) == device &&
           static_cast<uintmax_t>(out.st_ino) == inode;
}

StampedLog::int_type StampedLog::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    if (lineStart) {
        const auto now = std::chrono::system_clock::now();
        const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
            1000;
        std::tm utc{};
        gmtime_r(&seconds, &utc);
        char stamp[40];
        const size_t length = std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &utc);
        const int more =
            std::snprintf(stamp + length, sizeof stamp - length, ".%03dZ ", static_cast<int>(ms));
        target->sputn(stamp, static_cast<std::streamsize>(length) + more);
        lineStart = false;
    }
    if (traits_type::eq_int_type(target->sputc(traits_type::to_char_type(c)), traits_type::eof()))
        return traits_type::eof();
    lineStart = c == '\n';
    return c;
}

}  // namespace qx::server
