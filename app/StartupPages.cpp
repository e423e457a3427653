#include "app/StartupPages.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <string>

#if defined(__linux__)
#include <sys/mman.h>
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// The next space-separated field of a maps line, consumed from `rest`.
std::string_view NextField(std::string_view& rest) {
    const size_t start = rest.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        rest = {};
        return {};
    }
    rest.remove_prefix(start);
    const size_t end = std::min(rest.find(' '), rest.size());
    const std::string_view field = rest.substr(0, end);
    rest.remove_prefix(end);
    return field;
}

bool ParseHex(std::string_view text, uintptr_t& value) {
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return ec == std::errc() && ptr == text.data() + text.size();
}

}  // namespace

std::optional<StartupPages::Range> StartupPages::Releasable(std::string_view line) {
    std::string_view rest = line;
    const std::string_view addresses = NextField(rest);
    const std::string_view permissions = NextField(rest);
    NextField(rest);  // offset
    NextField(rest);  // device
    NextField(rest);  // inode
    const size_t pathStart = rest.find_first_not_of(' ');
    const std::string_view path =
        pathStart == std::string_view::npos ? std::string_view{} : rest.substr(pathStart);
    // Files only (not the heap, stacks, [vdso], memfd or System V shared
    // memory, which have no file to come back from), and no device.
    if (path.empty() || path.front() != '/' || path.starts_with("/memfd:") ||
        path.starts_with("/SYSV") || path.starts_with("/dev/")) {
        return std::nullopt;
    }
    if (permissions.size() != 4 || permissions[0] != 'r' || permissions[1] != '-' ||
        permissions[3] != 'p') {
        return std::nullopt;
    }
    const size_t dash = addresses.find('-');
    Range range;
    if (dash == std::string_view::npos || !ParseHex(addresses.substr(0, dash), range.begin) ||
        !ParseHex(addresses.substr(dash + 1), range.end) || range.end <= range.begin) {
        return std::nullopt;
    }
    return range;
}

int StartupPages::Release() {
    int released = 0;
#if defined(__linux__) && defined(MADV_PAGEOUT)
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        const std::optional<Range> range = Releasable(line);
        if (!range) continue;
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the address comes from the kernel's own list
        void* start = reinterpret_cast<void*>(range->begin);
        if (madvise(start, range->end - range->begin, MADV_PAGEOUT) == 0) ++released;
    }
#endif
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
    return released;
}
