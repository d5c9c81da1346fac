#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace vendra {

// A file operation that failed. NotFound is told apart because the bid pass answers a missing
// listing file differently from every other failure.
class FileError : public std::runtime_error {
  public:
    enum class Kind { NotFound, Access };
    // `reason` is the cause alone, without the action and path of `what`, for a message that
    // speaks of the file in its own words; empty when `what` is all there is.
    FileError(Kind kind, const std::string& what, std::string reason = {})
        : std::runtime_error(what), kind_(kind), reason_(std::move(reason)) {}
    Kind kind() const { return kind_; }
    std::string reason() const { return reason_.empty() ? what() : reason_; }

  private:
    Kind kind_;
    std::string reason_;
};

// Sequential reading, line by line. A line ends at CR or at CR LF; a lone LF stays in the line.
// The terminator is not part of the line. Every byte is kept.
class LineReader {
  public:
    virtual ~LineReader() = default;
    virtual bool atEnd() = 0;
    virtual std::string readLine() = 0;  // throws FileError
    // Where the next line begins, in bytes from the start of the file.
    virtual std::uint64_t offset() const = 0;
    // Fills `into` with the bytes that begin at `offset`, leaving the line position where it is:
    // lets a reader go back to lines it has already passed. Throws FileError, also when the file
    // ends first.
    virtual void readAt(std::uint64_t offset, std::span<char> into) = 0;
};

// A file being written from its start; closing it completes it.
class TextWriter {
  public:
    virtual ~TextWriter() = default;
    virtual void write(std::string_view text) = 0;  // no line break added; throws FileError
    virtual void writeBlankLines(int count) = 0;    // one CR LF per line; throws FileError
    virtual void close() = 0;                       // throws FileError
};

// A file kept open for adding lines at its end. Each line goes to the system as it is appended,
// with no buffer in between: the file holds every line appended so far, for any reader, and a
// program that ends abruptly loses none of them.
class LineAppender {
  public:
    // Closes the file if close() has not, without a word about a failure.
    virtual ~LineAppender() = default;
    virtual void appendLine(std::string_view text) = 0;  // text and CR LF; throws FileError
    // Closes the file. Throws FileError when the system reports a failure only now (a network
    // file system may report a failed write at the close); a line appended after it fails.
    // Closing again does nothing.
    virtual void close() = 0;
};

// The sequential text files and file-system operations of the working files. Bytes are written
// and read unchanged: no BOM, no re-encoding.
class TextFiles {
  public:
    virtual ~TextFiles() = default;
    // Opens for appending, creating the file if absent; throws FileError.
    virtual std::unique_ptr<LineAppender> openForAppending(const std::string& path) = 0;
    virtual std::unique_ptr<LineReader> openForReading(const std::string& path) = 0;
    // Creates the file anew, replacing any file of that name.
    virtual std::unique_ptr<TextWriter> create(const std::string& path) = 0;
    virtual bool exists(const std::string& path) = 0;
    // Fails with NotFound when there is no such file, with Access when it cannot be deleted.
    virtual void remove(const std::string& path) = 0;
};

}  // namespace vendra
