#include "platform/PosixSearchLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vendra {
namespace {

class DescriptorHold : public SearchLock::Hold {
  public:
    explicit DescriptorHold(int fd) : fd_(fd) {}
    ~DescriptorHold() override {
        if (fd_ >= 0) ::close(fd_);  // gives the lock back
    }
    DescriptorHold(const DescriptorHold&) = delete;
    DescriptorHold& operator=(const DescriptorHold&) = delete;

  private:
    int fd_;
};

}  // namespace

std::unique_ptr<SearchLock::Hold> PosixSearchLock::tryHold(const std::string& folder) {
    const std::string path = folder + "/" + kFileName;
    // Opened to read only: the lock is never written. No link is followed, and O_NONBLOCK keeps
    // a FIFO from holding the open.
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
    auto hold = std::make_unique<DescriptorHold>(fd);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        if (errno == EWOULDBLOCK) return nullptr;
        break;  // no locks on this file system
    }
    return hold;
}

}  // namespace vendra
