#include "TestSupport.h"
#include "platform/FullWrites.h"
#include <gtest/gtest.h>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using namespace T730;

TEST (PlatformFullWrites, WritesAtTheFilePositionOrAtAnOffsetThatLeavesThePositionAlone)
{
    oxatest::TempFolder temp;
    const auto path = (temp / "data.bin").getFullPathName();
    const int fd = ::open (path.toRawUTF8(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE (fd, 0);

    ASSERT_TRUE (platform::writeFully (fd, "0123456789", 10));
    ASSERT_TRUE (platform::writeFully (fd, "ab", 2, 3));
    EXPECT_EQ (::lseek (fd, 0, SEEK_CUR), 10) << "a write at an offset keeps the position";
    ASSERT_TRUE (platform::writeFully (fd, "XY", 2));
    ASSERT_TRUE (platform::writeFully (fd, "", 0, 100)) << "nothing to write";
    ::close (fd);

    EXPECT_EQ (juce::File (path).loadFileAsString(), "012ab56789XY");
}

TEST (PlatformFullWrites, AFullDeviceOrAClosedDescriptorIsAFailure)
{
    const int full = ::open ("/dev/full", O_WRONLY);
    if (full >= 0)
    {
        errno = 0;
        EXPECT_FALSE (platform::writeFully (full, "abc", 3));
        EXPECT_EQ (errno, ENOSPC);
        EXPECT_FALSE (platform::writeFully (full, "abc", 3, 0));
        ::close (full);
    }

    int ends[2];
    ASSERT_EQ (::pipe (ends), 0);
    ::close (ends[0]);
    ::close (ends[1]);
    errno = 0;
    EXPECT_FALSE (platform::writeFully (ends[1], "abc", 3));
    EXPECT_EQ (errno, EBADF);
}
