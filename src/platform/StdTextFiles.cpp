#include "platform/StdTextFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
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

FileHandle Open(const std::string& path, const char* mode, const std::string& action) {
    FileHandle file(std::fopen(path.c_str(), mode));
    if (!file) throw ErrorFromErrno(action, path);
    return file;
}

void WriteAll(std::FILE* file, std::string_view bytes, const std::string& path) {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        throw ErrorFromErrno("Cannot write", path);
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
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

}  // namespace

std::unique_ptr<LineAppender> StdTextFiles::openForAppending(const std::string& path) {
    // Straight to the system, one call a line: no buffer of the C library holds a line back.
    class DescriptorAppender : public LineAppender {
      public:
        explicit DescriptorAppender(const std::string& path)
            : path_(path),
              fd_(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666)) {
            if (fd_ < 0) throw ErrorFromErrno("Cannot open", path_);
        }
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
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        throw FileError(FileError::Kind::Access, "Cannot open " + path + ": not a file");
    return std::make_unique<BufferedLineReader>(Open(path, "rb", "Cannot open"), path);
}

std::unique_ptr<TextWriter> StdTextFiles::create(const std::string& path) {
    return std::make_unique<FileTextWriter>(Open(path, "wb", "Cannot create"), path);
}

bool StdTextFiles::exists(const std::string& path) { return IsRegularFile(path); }

void StdTextFiles::remove(const std::string& path) {
    if (!IsRegularFile(path)) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) throw ErrorFromErrno("Cannot delete", path);
        throw FileError(FileError::Kind::Access, "Cannot delete " + path + ": not a file");
    }
    if (std::remove(path.c_str()) != 0) throw ErrorFromErrno("Cannot delete", path);
}

}  // namespace vendra
