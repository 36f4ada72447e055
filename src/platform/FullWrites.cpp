#include "platform/FullWrites.h"

#include <cerrno>
#include <unistd.h>

namespace T730::platform
{

bool writeFully (int fd, const void* data, size_t size, off_t offset) noexcept
{
    const auto* bytes = static_cast<const char*> (data);
    while (size > 0)
    {
        const auto written = offset >= 0 ? ::pwrite (fd, bytes, size, offset) : ::write (fd, bytes, size);
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0)
        {
            errno = ENOSPC;
            return false;
        }
        bytes += written;
        size -= (size_t) written;
        if (offset >= 0)
            offset += written;
    }
    return true;
}

} // namespace T730::platform
