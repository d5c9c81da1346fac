// The working files on the local file system where the system fails them: a close that reports a
// failure only then, and a listing file that another program shortens or removes while it is read.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "support/Fakes.h"

namespace vendra {
namespace {

namespace fs = std::filesystem;

// The descriptor this process holds on `path`.
int DescriptorOf(const fs::path& path) {
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code unreadable;
        if (fs::read_symlink(entry.path(), unreadable) == path)
            return std::stoi(entry.path().filename().string());
    }
    return -1;
}

TEST(StdTextFiles, AppenderReportsAFailedCloseAndTakesNoLineAfterIt) {
    test::FakeIdentity folder;
    const fs::path path = folder.path("Listinglist.txt");
    StdTextFiles files;
    const auto appender = files.openForAppending(path);
    appender->appendLine("<table>");
    appender->close();
    appender->close();
    EXPECT_THROW(appender->appendLine("late"), FileError);
    EXPECT_EQ(fs::file_size(path), 9u);

    // Its descriptor gone behind its back, the close fails as a late write error would.
    const auto failing = files.openForAppending(path);
    ASSERT_EQ(::close(DescriptorOf(path)), 0);
    try {
        failing->close();
        ADD_FAILURE() << "closed";
    } catch (const FileError& error) {
        EXPECT_EQ(error.kind(), FileError::Kind::Access);
        EXPECT_EQ(error.reason(), std::strerror(EBADF));
    }
}

// Once read from, the file is shortened, or removed, under the reader: what is still there is read,
// what is gone is a failed read, and the lines end where the file ends; never a crash (SIGBUS).
TEST(StdTextFiles, AFileShortenedWhileReadIsAFailedReadNotACrash) {
    const std::string line(998, 'x');  // 1,000 bytes a line with CR LF
    for (const std::uintmax_t kept : {0, 4000, 150000, 300000}) {
        SCOPED_TRACE(kept);
        test::FakeIdentity folder;
        const fs::path path = folder.path("Listinglist.txt");
        StdTextFiles files;
        {
            const auto appender = files.openForAppending(path);
            for (int i = 0; i < 300; ++i) appender->appendLine(line);
        }
        const auto reader = files.openForReading(path);
        char bytes[2];
        reader->readAt(299998, bytes);
        EXPECT_EQ(reader->readLine(), line);
        if (kept == 300000)
            fs::remove(path);  // the open file stays whole
        else
            fs::resize_file(path, kept);

        if (kept > 0) {
            reader->readAt(kept - 2, bytes);
            EXPECT_EQ(std::string(bytes, 2), "\r\n");
        }
        if (kept < 300000) {
            EXPECT_THROW(reader->readAt(kept + 5000, bytes), FileError);
        }
        int lines = 1;
        for (; !reader->atEnd() && lines <= 300; ++lines) reader->readLine();
        EXPECT_LE(lines, 300);
    }
}

}  // namespace
}  // namespace vendra
