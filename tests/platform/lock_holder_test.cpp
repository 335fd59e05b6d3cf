#include "platform/lock_holder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "platform/unique_fd.h"
#include "support/environment.h"

namespace {

std::string LockPosition(const std::filesystem::path& file) {
    struct stat status {};
    EXPECT_EQ(::stat(file.c_str(), &status), 0);
    char text[64];
    std::snprintf(text, sizeof text, "%02x:%02x:%llu", major(status.st_dev), minor(status.st_dev),
                  static_cast<unsigned long long>(status.st_ino));
    return text;
}

TEST(LockHolderTest, FindsTheWholeFileLockOfThatFileOnly) {
    test_support::TemporaryDeviceRoot folder;
    const auto device = folder.Home() / "device";
    const auto other = folder.Home() / "other";
    std::ofstream(device) << "x";
    std::ofstream(other) << "x";
    const auto table = folder.Home() / "locks";
    std::ofstream(table) << "1: POSIX  ADVISORY  WRITE 11 " << LockPosition(device) << " 0 EOF\n"
                         << "2: FLOCK  ADVISORY  WRITE 22 " << LockPosition(other) << " 0 EOF\n"
                         << "3: FLOCK  ADVISORY  WRITE " << ::getpid() << ' '
                         << LockPosition(device) << " 0 EOF\n"
                         << "3: -> FLOCK  ADVISORY  WRITE 44 " << LockPosition(device)
                         << " 0 EOF\n";
    const auto holder = lock_holder::Find(device, table);
    ASSERT_TRUE(holder.has_value());
    EXPECT_EQ(holder->processId, ::getpid());
    EXPECT_FALSE(holder->command.empty());
    EXPECT_EQ(holder->Text(), holder->command + ", process " + std::to_string(::getpid()));
    EXPECT_EQ(lock_holder::Find(folder.Home() / "missing", table), std::nullopt);
    EXPECT_EQ((LockHolder{77, ""}).Text(), "process 77");
}

TEST(LockHolderTest, ReadsTheSystemsLockTable) {
    test_support::TemporaryDeviceRoot folder;
    const auto device = folder.Home() / "device";
    std::ofstream(device) << "x";
    EXPECT_EQ(lock_holder::Find(device), std::nullopt);
    UniqueFd held(::open(device.c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_EQ(::flock(held.Get(), LOCK_EX | LOCK_NB), 0);
    const auto holder = lock_holder::Find(device);
    ASSERT_TRUE(holder.has_value());
    EXPECT_EQ(holder->processId, ::getpid());
}

}  // namespace
