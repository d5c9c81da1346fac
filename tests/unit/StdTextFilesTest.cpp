// The working files on the local file system where the system fails them: a close that reports a
// failure only then, a listing file that another program shortens or removes while it is read,
// and links, FIFOs and folders planted where the program writes; the search lock.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/PosixSearchLock.h"
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

// What can stand at a path in a folder others may write, planted before the program opens it.
enum class Planted { LinkToAFile, DanglingLink, Fifo, Folder, SecondName };

void Plant(Planted what, const fs::path& at, const fs::path& target) {
    std::ofstream(target) << "kept";
    switch (what) {
        case Planted::LinkToAFile:
            return fs::create_symlink(target, at);
        case Planted::DanglingLink:
            fs::remove(target);
            return fs::create_symlink(target, at);
        case Planted::Fifo:
            ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0);
            return;
        case Planted::Folder:
            fs::create_directory(at);
            return;
        case Planted::SecondName:
            return fs::create_hard_link(target, at);
    }
}

// Nothing planted redirects a write or a read of the program's files, or holds it waiting (a FIFO
// no one reads): each is refused as not a file, and what a link points to is neither created
// nor changed.
TEST(StdTextFiles, WritesAndReadsOnlyARegularFileOfItsOwn) {
    StdTextFiles files;
    const std::function<void(const std::string&)> opens[] = {
        [&](const std::string& path) { files.openForAppending(path); },
        [&](const std::string& path) { files.create(path); },
        [&](const std::string& path) { files.openForReading(path); },
    };
    for (const Planted what : {Planted::LinkToAFile, Planted::DanglingLink, Planted::Fifo,
                               Planted::Folder, Planted::SecondName}) {
        for (std::size_t op = 0; op < std::size(opens); ++op) {
            if (what == Planted::SecondName && op == 2) continue;  // read, never written
            SCOPED_TRACE(testing::Message() << int(what) << " " << op);
            test::FakeIdentity folder;
            const fs::path at = folder.path("Listinglist.txt");
            Plant(what, at, folder.path("target"));
            try {
                opens[op](at);
                ADD_FAILURE() << "opened";
            } catch (const FileError& error) {
                EXPECT_EQ(error.kind(), FileError::Kind::NotAFile) << error.what();
            }
            EXPECT_EQ(fs::exists(folder.path("target")) ? fs::file_size(folder.path("target")) : 0,
                      what == Planted::DanglingLink ? 0u : 4u);
        }
    }
    // A file the user names may be a link, to a file, never to a FIFO.
    test::FakeIdentity folder;
    Plant(Planted::LinkToAFile, folder.path("last.csv"), folder.path("target"));
    EXPECT_EQ(files.openNamedForReading(folder.path("last.csv"))->readLine(), "kept");
    ASSERT_EQ(::mkfifo(folder.path("fifo.csv").c_str(), 0600), 0);
    EXPECT_THROW(files.openNamedForReading(folder.path("fifo.csv")), FileError);
}

// A file put in place once complete: never through what stands at its path, never left behind.
TEST(StdTextFiles, AFileInPlaceOfAnotherLeavesNoTemporary) {
    test::FakeIdentity folder;
    StdTextFiles files;
    const fs::path path = folder.path("d.json");
    const auto entries = [&] {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.folder()))
            names.insert(entry.path().filename());
        return names;
    };
    // What a killed program left is removed by the next writer; what a running one holds is not.
    std::ofstream(folder.path("d.json.partial.Killed")) << "left";
    std::ofstream(folder.path("d.json.partial.Living")) << "held";
    const int held = ::open(folder.path("d.json.partial.Living").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    Plant(Planted::LinkToAFile, path, folder.path("target"));
    {
        const auto unfinished = files.createInPlaceOf(path);
        unfinished->write("[");
        EXPECT_EQ(entries().size(), 4u);  // its own temporary beside the link, target, held one
    }
    EXPECT_EQ(entries(), (std::set<std::string>{"d.json", "d.json.partial.Living", "target"}));
    ::close(held);
    const auto writer = files.createInPlaceOf(path);
    writer->write("[]");
    writer->close();
    EXPECT_EQ(entries(), (std::set<std::string>{"d.json", "target"}));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
    EXPECT_EQ(fs::file_size(path), 2u);
    EXPECT_EQ(fs::file_size(folder.path("target")), 4u);
}

// The lock is the system's: a lock file of any content or age is free, a lock dies with its
// process however it ends, and a path that is not a regular file is refused.
TEST(PosixSearchLock, HeldByTheSystemForTheLifeOfItsProcess) {
    PosixSearchLock lock;
    for (const char* content : {"", "\x89\x01random\xff bytes", "4242\nvendra\nhost\n"}) {
        test::FakeIdentity folder;
        const fs::path path = folder.path(PosixSearchLock::kFileName);
        std::ofstream(path, std::ios::binary) << content;
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(48));
        auto hold = lock.tryHold(folder.folder());
        ASSERT_TRUE(hold) << content;
        EXPECT_FALSE(lock.tryHold(folder.folder()));  // a second search, at the same instant
        hold.reset();
        EXPECT_FALSE(fs::exists(path));  // the folder as it was before the search
        EXPECT_TRUE(lock.tryHold(folder.folder()));
    }
    // Held by a process that is then killed: free again.
    test::FakeIdentity folder;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const auto hold = lock.tryHold(folder.folder());
        if (::write(ready[1], hold ? "y" : "n", 1) != 1) ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    EXPECT_EQ(held, 'y');
    EXPECT_FALSE(lock.tryHold(folder.folder()));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(fs::exists(folder.path(PosixSearchLock::kFileName)));
    EXPECT_TRUE(lock.tryHold(folder.folder()));
    ::close(ready[0]);
    ::close(ready[1]);

    for (const Planted what :
         {Planted::LinkToAFile, Planted::DanglingLink, Planted::Fifo, Planted::Folder}) {
        test::FakeIdentity bad;
        Plant(what, bad.path(PosixSearchLock::kFileName), bad.path("target"));
        try {
            lock.tryHold(bad.folder());
            ADD_FAILURE() << "held " << int(what);
        } catch (const FileError& error) {
            EXPECT_EQ(error.kind(), FileError::Kind::NotAFile);
            EXPECT_NE(std::string(error.what()).find("is not a regular file"), std::string::npos);
        }
    }
    EXPECT_THROW(lock.tryHold(folder.path("missing")), FileError);
}

}  // namespace
}  // namespace vendra
