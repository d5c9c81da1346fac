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
// listing file differently from every other failure; NotAFile because something other than a
// regular file at a working file's path (a folder, a link, a FIFO) is refused, never used.
class FileError : public std::runtime_error {
  public:
    enum class Kind { NotFound, Access, NotAFile };
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
    // The next bytes as they are, line ends included, up to `into`'s size; 0 at the end of the
    // file. Reads on from where readLine() stopped, for a file read in pieces, not in lines.
    virtual std::size_t readSome(std::span<char> into) = 0;  // throws FileError
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
// and read unchanged: no BOM, no re-encoding. The program's own files are opened only as regular
// files at their own paths: a symbolic link there is never followed and a FIFO, a device or a
// folder is refused (NotAFile), so nothing planted in the folder can redirect a write or a read
// or hold the program waiting.
class TextFiles {
  public:
    virtual ~TextFiles() = default;
    // Opens for appending, creating the file if absent; throws FileError.
    virtual std::unique_ptr<LineAppender> openForAppending(const std::string& path) = 0;
    virtual std::unique_ptr<LineReader> openForReading(const std::string& path) = 0;
    // A file the user named to be read (an earlier run's data file): a link there is followed,
    // as the user meant it, to a regular file.
    virtual std::unique_ptr<LineReader> openNamedForReading(const std::string& path) = 0;
    // Creates the file anew, replacing any file of that name.
    virtual std::unique_ptr<TextWriter> create(const std::string& path) = 0;
    // A file that takes the place of `path` whole once complete. The bytes go to a file of a
    // fresh name beside it (`path` + ".partial." and six characters), created for this writer
    // alone; close() puts it in place of whatever `path` holds, a writer destroyed before then
    // removes it. One left by a program that was killed is removed by the next writer for the
    // same path.
    virtual std::unique_ptr<TextWriter> createInPlaceOf(const std::string& path) = 0;
    // Whether a regular file (not a link) is at the path.
    virtual bool exists(const std::string& path) = 0;
    // Deletes what is at the path, a link, a FIFO or a file, never what a link points to. Fails
    // with NotFound when there is nothing, with NotAFile for a folder, with Access when it cannot
    // be deleted.
    virtual void remove(const std::string& path) = 0;
};

}  // namespace vendra
