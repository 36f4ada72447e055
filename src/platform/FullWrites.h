#pragma once

#include <cstddef>
#include <sys/types.h>

namespace T730::platform
{

/** Writes all `size` bytes of `data` to the file descriptor: at `offset` when it is
    0 or more (the file position stays), else at the file position. A write the
    system interrupts or cuts short goes on with what is left; false on an error
    (errno tells which) or when nothing more can be written. */
bool writeFully (int fd, const void* data, size_t size, off_t offset = -1) noexcept;

} // namespace T730::platform
