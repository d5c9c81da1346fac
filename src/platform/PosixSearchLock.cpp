#include "platform/PosixSearchLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace vendra {
namespace {

bool SameFile(int fd, const std::string& path) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

class DescriptorHold : public SearchLock::Hold {
  public:
    DescriptorHold(int fd, std::string path, bool locked)
        : fd_(fd), path_(std::move(path)), locked_(locked) {}
    // The lock file goes while the lock is still held, so the folder is left as it was found;
    // a program that ends without this leaves a file that blocks nothing.
    ~DescriptorHold() override {
        if (locked_ && SameFile(fd_, path_)) ::unlink(path_.c_str());
        ::close(fd_);
    }
    DescriptorHold(const DescriptorHold&) = delete;
    DescriptorHold& operator=(const DescriptorHold&) = delete;

  private:
    int fd_;
    std::string path_;
    bool locked_;
};

// Opened to read only: the lock file is never written. No link is followed, and O_NONBLOCK keeps
// a FIFO from holding the open.
int OpenLockFile(const std::string& path) {
    const int fd =
        ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    const int error = errno;
    if (fd < 0 && error != ELOOP && error != EISDIR && error != ENXIO) {
        const std::string reason = std::strerror(error);
        throw FileError(FileError::Kind::Access,
                        "Cannot open the search lock " + path + ": " + reason, reason);
    }
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0) ::close(fd);
        throw FileError(FileError::Kind::NotAFile,
                        "The search lock " + path + " is not a regular file; remove it",
                        "not a regular file");
    }
    return fd;
}

}  // namespace

std::unique_ptr<SearchLock::Hold> PosixSearchLock::tryHold(const std::string& folder) {
    const std::string path = folder + "/" + kFileName;
    for (;;) {
        const int fd = OpenLockFile(path);
        int locked = ::flock(fd, LOCK_EX | LOCK_NB);
        while (locked != 0 && errno == EINTR) locked = ::flock(fd, LOCK_EX | LOCK_NB);
        if (locked != 0 && errno == EWOULDBLOCK) {
            ::close(fd);
            return nullptr;
        }
        // A file system that takes no locks: a hold that guards nothing.
        if (locked != 0) return std::make_unique<DescriptorHold>(fd, path, false);
        // Locked, but perhaps a file the program that held it has removed since: then again,
        // with the file now at the path.
        if (SameFile(fd, path)) return std::make_unique<DescriptorHold>(fd, path, true);
        ::close(fd);
    }
}

}  // namespace vendra
