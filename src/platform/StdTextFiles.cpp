#include "platform/StdTextFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

namespace vendra {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

FileError ErrorFromErrno(const std::string& action, const std::string& path) {
    const int error = errno;
    const auto kind = error == ENOENT ? FileError::Kind::NotFound : FileError::Kind::Access;
    const std::string reason = std::strerror(error);
    return FileError(kind, action + " " + path + ": " + reason, reason);
}

FileError NotAFile(const std::string& action, const std::string& path) {
    return FileError(FileError::Kind::NotAFile, action + " " + path + ": not a regular file",
                     "not a regular file");
}

// How a file is opened: for writing, a file with a second name (a hard link planted in a
// folder others can write) is refused like a symbolic link.
enum class Opening { Reading, ReadingNamed, Writing };

// Opens a regular file and nothing else. O_NONBLOCK keeps a FIFO from holding the open (or a
// write) until some other program comes; it is taken off once the file is known to be regular.
int OpenRegular(const std::string& path, int flags, Opening opening, const std::string& action) {
    if (opening != Opening::ReadingNamed) flags |= O_NOFOLLOW;
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        // A final link (ELOOP), a FIFO no one reads (ENXIO), a folder opened to write (EISDIR).
        if (errno == ELOOP || errno == ENXIO || errno == EISDIR) throw NotAFile(action, path);
        throw ErrorFromErrno(action, path);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        (opening == Opening::Writing && info.st_nlink != 1)) {
        ::close(fd);
        throw NotAFile(action, path);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

FileHandle Stream(int fd, const char* mode, const std::string& action, const std::string& path) {
    FileHandle file(::fdopen(fd, mode));
    if (!file) {
        const FileError error = ErrorFromErrno(action, path);
        ::close(fd);
        throw error;
    }
    return file;
}

void WriteAll(std::FILE* file, std::string_view bytes, const std::string& path) {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        throw ErrorFromErrno("Cannot write", path);
}

class BufferedLineReader : public LineReader {
  public:
    BufferedLineReader(FileHandle file, std::string path)
        : file_(std::move(file)), path_(std::move(path)), buffer_(kChunk) {}

    bool atEnd() override { return !Fill(); }

    std::string readLine() override {
        std::string line;
        while (Fill()) {
            const char* start = buffer_.data() + begin_;
            const auto* cr = static_cast<const char*>(std::memchr(start, '\r', end_ - begin_));
            if (!cr) {
                line.append(start, end_ - begin_);
                begin_ = end_;
                continue;
            }
            line.append(start, static_cast<std::size_t>(cr - start));
            begin_ += static_cast<std::size_t>(cr - start) + 1;
            // A CR LF is one terminator, also when the LF starts the next chunk.
            if (Fill() && buffer_[begin_] == '\n') ++begin_;
            return line;
        }
        return line;
    }

    std::uint64_t offset() const override { return bufferStart_ + begin_; }

    std::size_t readSome(std::span<char> into) override {
        if (into.empty() || !Fill()) return 0;
        const std::size_t count = std::min(into.size(), end_ - begin_);
        std::memcpy(into.data(), buffer_.data() + begin_, count);
        begin_ += count;
        return count;
    }

    void readAt(std::uint64_t offset, std::span<char> into) override {
        // The results page reads its waiting rows back in file order, a few hundred bytes at a
        // time: they are copied out of a large piece read ahead, not fetched one call a row.
        // What the file no longer holds (another program shortened it) is a failed read.
        if (into.empty()) return;
        if (into.size() >= kReadAhead) {
            if (ReadFrom(offset, into) < into.size()) throw EndsEarly();
            return;
        }
        if (offset < aheadStart_ || offset + into.size() > aheadStart_ + aheadSize_) {
            ahead_.resize(kReadAhead);
            aheadStart_ = offset;
            aheadSize_ = ReadFrom(offset, ahead_);
            if (aheadSize_ < into.size()) throw EndsEarly();
        }
        std::memcpy(into.data(), ahead_.data() + (offset - aheadStart_), into.size());
    }

  private:
    static constexpr std::size_t kChunk = 1 << 16;
    static constexpr std::size_t kReadAhead = 1 << 20;

    FileError EndsEarly() const {
        return FileError(FileError::Kind::Access, "Cannot read " + path_ + ": file ends early");
    }

    // Reads from `offset` until `into` is full or the file ends; returns the bytes read. pread
    // leaves the stream's own position and buffer alone.
    std::size_t ReadFrom(std::uint64_t offset, std::span<char> into) {
        const int descriptor = ::fileno(file_.get());
        std::size_t done = 0;
        while (done < into.size()) {
            const ssize_t got = ::pread(descriptor, into.data() + done, into.size() - done,
                                        static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) throw ErrorFromErrno("Cannot read", path_);
            if (got == 0) break;
            done += static_cast<std::size_t>(got);
        }
        return done;
    }

    // Makes sure unread bytes are buffered; false at the end of the file.
    bool Fill() {
        if (begin_ < end_) return true;
        bufferStart_ += end_;
        begin_ = 0;
        end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
        if (end_ == 0 && std::ferror(file_.get())) throw ErrorFromErrno("Cannot read", path_);
        return end_ > 0;
    }

    FileHandle file_;
    std::string path_;
    std::vector<char> buffer_;
    std::uint64_t bufferStart_ = 0;  // file offset of buffer_[0]
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::vector<char> ahead_;  // bytes from aheadStart_, for readAt
    std::uint64_t aheadStart_ = 0;
    std::size_t aheadSize_ = 0;
};

class FileTextWriter : public TextWriter {
  public:
    FileTextWriter(FileHandle file, std::string path)
        : file_(std::move(file)), path_(std::move(path)) {}

    void write(std::string_view text) override { WriteAll(Handle(), text, path_); }

    void writeBlankLines(int count) override {
        for (int i = 0; i < count; ++i) WriteAll(Handle(), "\r\n", path_);
    }

    void close() override {
        if (file_ && std::fclose(file_.release()) != 0) throw ErrorFromErrno("Cannot write", path_);
    }

  private:
    std::FILE* Handle() {
        if (!file_) throw FileError(FileError::Kind::Access, "Already closed: " + path_);
        return file_.get();
    }

    FileHandle file_;
    std::string path_;
};

// The name of a file that takes the place of `path` once complete: `path`.partial.XXXXXX.
std::string TemporaryPrefix(const std::string& path) { return path + ".partial."; }
constexpr std::size_t kTemporarySuffix = 6;

// Removes the temporaries of earlier writers for the same path that no program holds any more:
// each writer holds a lock on its own for as long as it lives, which the system gives back when
// the program ends, however it ends.
void RemoveLeftTemporaries(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string prefix = TemporaryPrefix(path).substr(slash + 1);
    DIR* const dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() != prefix.size() + kTemporarySuffix || !name.starts_with(prefix)) continue;
        const int fd =
            ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

// Creates a temporary of a fresh name beside `path`, exclusively (O_EXCL: never through a link
// or into a file already there), and holds its lock. A temporary removed by another writer's
// clean-up between its creation and its lock is left for a fresh one.
std::pair<int, std::string> CreateTemporary(const std::string& path) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TemporaryPrefix(path);
        for (std::size_t i = 0; i < kTemporarySuffix; ++i) name += kLetters[letter(random)];
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) throw ErrorFromErrno("Cannot create", path);
        struct stat info {};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &info) == 0 && info.st_nlink == 1)
            return {fd, std::move(name)};
        ::close(fd);
    }
    throw FileError(FileError::Kind::Access, "Cannot create " + path + ": no fresh name");
}

// Writes to its temporary; close() puts it in place of the file named.
class ReplacingWriter : public TextWriter {
  public:
    explicit ReplacingWriter(const std::string& path) : path_(path) {
        RemoveLeftTemporaries(path);
        auto [fd, temporary] = CreateTemporary(path);
        temporary_ = std::move(temporary);
        try {
            file_ = Stream(fd, "wb", "Cannot create", path_);
        } catch (const FileError&) {
            ::unlink(temporary_.c_str());
            throw;
        }
    }
    ~ReplacingWriter() override {
        file_.reset();
        if (!temporary_.empty()) ::unlink(temporary_.c_str());
    }
    ReplacingWriter(const ReplacingWriter&) = delete;
    ReplacingWriter& operator=(const ReplacingWriter&) = delete;

    void write(std::string_view text) override { WriteAll(Handle(), text, path_); }
    void writeBlankLines(int count) override {
        for (int i = 0; i < count; ++i) WriteAll(Handle(), "\r\n", path_);
    }

    // A rename within one folder replaces what is at `path` whole (a link itself, not what it
    // points to), while the temporary's lock is still held.
    void close() override {
        if (!file_) return;
        if (std::fflush(file_.get()) != 0 || std::rename(temporary_.c_str(), path_.c_str()) != 0)
            throw ErrorFromErrno("Cannot write", path_);
        temporary_.clear();
        if (std::fclose(file_.release()) != 0) throw ErrorFromErrno("Cannot write", path_);
    }

  private:
    std::FILE* Handle() {
        if (!file_) throw FileError(FileError::Kind::Access, "Already closed: " + path_);
        return file_.get();
    }

    std::string path_;
    std::string temporary_;
    FileHandle file_;
};

}  // namespace

std::unique_ptr<LineAppender> StdTextFiles::openForAppending(const std::string& path) {
    // Straight to the system, one call a line: no buffer of the C library holds a line back.
    class DescriptorAppender : public LineAppender {
      public:
        explicit DescriptorAppender(const std::string& path)
            : path_(path),
              fd_(OpenRegular(path, O_WRONLY | O_APPEND | O_CREAT, Opening::Writing,
                              "Cannot open")) {}
        ~DescriptorAppender() override {
            if (fd_ >= 0) ::close(fd_);
        }
        DescriptorAppender(const DescriptorAppender&) = delete;
        DescriptorAppender& operator=(const DescriptorAppender&) = delete;

        void appendLine(std::string_view text) override {
            if (fd_ < 0) throw FileError(FileError::Kind::Access, "Already closed: " + path_);
            iovec parts[] = {{const_cast<char*>(text.data()), text.size()},
                             {const_cast<char*>("\r\n"), 2}};
            std::size_t first = 0;
            while (first < std::size(parts)) {
                const ssize_t written = ::writev(fd_, parts + first, int(std::size(parts) - first));
                if (written < 0) {
                    if (errno == EINTR) continue;
                    throw ErrorFromErrno("Cannot write", path_);
                }
                // A write cut short goes on where it stopped.
                auto done = static_cast<std::size_t>(written);
                while (first < std::size(parts) && done >= parts[first].iov_len)
                    done -= parts[first++].iov_len;
                if (first < std::size(parts)) {
                    parts[first].iov_base = static_cast<char*>(parts[first].iov_base) + done;
                    parts[first].iov_len -= done;
                }
            }
        }

        void close() override {
            // The descriptor is gone whatever close() answers (also on EINTR), so it is never
            // closed twice.
            const int fd = std::exchange(fd_, -1);
            if (fd >= 0 && ::close(fd) != 0) throw ErrorFromErrno("Cannot write", path_);
        }

      private:
        std::string path_;
        int fd_;
    };
    return std::make_unique<DescriptorAppender>(path);
}

std::unique_ptr<LineReader> StdTextFiles::openForReading(const std::string& path) {
    const int fd = OpenRegular(path, O_RDONLY, Opening::Reading, "Cannot open");
    return std::make_unique<BufferedLineReader>(Stream(fd, "rb", "Cannot open", path), path);
}

std::unique_ptr<LineReader> StdTextFiles::openNamedForReading(const std::string& path) {
    const int fd = OpenRegular(path, O_RDONLY, Opening::ReadingNamed, "Cannot open");
    return std::make_unique<BufferedLineReader>(Stream(fd, "rb", "Cannot open", path), path);
}

std::unique_ptr<TextWriter> StdTextFiles::create(const std::string& path) {
    // Emptied only once it is known to be a file of its own.
    const int fd = OpenRegular(path, O_WRONLY | O_CREAT, Opening::Writing, "Cannot create");
    if (::ftruncate(fd, 0) != 0) {
        const FileError error = ErrorFromErrno("Cannot create", path);
        ::close(fd);
        throw error;
    }
    return std::make_unique<FileTextWriter>(Stream(fd, "wb", "Cannot create", path), path);
}

std::unique_ptr<TextWriter> StdTextFiles::createInPlaceOf(const std::string& path) {
    return std::make_unique<ReplacingWriter>(path);
}

bool StdTextFiles::exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void StdTextFiles::remove(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) throw ErrorFromErrno("Cannot delete", path);
    if (S_ISDIR(info.st_mode)) throw NotAFile("Cannot delete", path);
    if (::unlink(path.c_str()) != 0) throw ErrorFromErrno("Cannot delete", path);
}

}  // namespace vendra
