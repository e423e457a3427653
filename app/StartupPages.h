#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Gives back to the system the pages of program code and read-only data that
// only starting up used. Qt and the libraries under it touch far more of
// their code while the first window, its fonts and the first dialog are set
// up than a running game needs; those pages stay resident until the system
// is short of memory. Asked once the game runs, the kernel drops the ones no
// other program shares (MADV_PAGEOUT); any that are needed again (a menu, a
// dialog) come back from the file on the next touch. Writable and anonymous
// memory is left alone: dropping it would mean swapping.
class StartupPages {
  public:
    struct Range {
        uintptr_t begin = 0;
        uintptr_t end = 0;
        bool operator==(const Range&) const = default;
    };

    // Releases the read-only file-backed mappings of this process and trims
    // the heap. Returns how many mappings the kernel accepted; 0 where the
    // system cannot do it (then nothing changes).
    static int Release();

    // The address range of one line of /proc/self/maps when it is a mapping
    // that may be released: mapped from a file, not writable, not shared
    // memory or a device.
    static std::optional<Range> Releasable(std::string_view mapsLine);
};
