// Test hooks of platform/files.cpp. Only tests include this header: it lets them make
// writeFileReplacing fail at a chosen step, the way a full disk or a dying device would.
#pragma once

#include <cstddef>

namespace platform::testing {

enum class WriteFault {
    none,
    // The write of the temporary file fails once this many bytes of it have been written.
    write,
    // Flushing the temporary file to disk fails after every byte was written.
    sync,
    // Renaming the temporary file over the target fails.
    rename,
};

// Arms one fault for every following writeFileReplacing call until cleared.
void setWriteFault(WriteFault fault, std::size_t afterBytes = 0);
inline void clearWriteFault() {
    setWriteFault(WriteFault::none);
}

} // namespace platform::testing
