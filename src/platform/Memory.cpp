#include "platform/Memory.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace vantor {

void populateForWriting(void* data, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    if (bytes == 0) {
        return;
    }
    // The pages at either end may hold other data too; populating a page never changes it.
    const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(data) & ~(pageSize - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(data) + bytes;
    ::madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)bytes;
#endif
}

} // namespace vantor
