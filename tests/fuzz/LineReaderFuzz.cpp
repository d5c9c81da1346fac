// Any bytes as a file, read back line by line: each line and its terminator (CR or CR LF) give back
// the file byte for byte, no line holds a CR, and readAt at a line's offset returns the line.
// Input: one byte that, at 128 and above, puts the rest just before the end of the reader's
// first 64 KiB buffer, so that a CR LF can straddle it; then the file's bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/StdTextFiles.h"

namespace {

[[noreturn]] void Fail(const char* what, std::uint64_t offset) {
    std::fprintf(stderr, "%s at offset %llu\n", what, static_cast<unsigned long long>(offset));
    std::abort();
}

// One scratch file per process, so that parallel jobs do not share it; in memory where there is
// room, since writing a file to disk each run would be most of the time spent.
char scratchPath[64];

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::snprintf(scratchPath, sizeof scratchPath, "%s/vendra-line-fuzz-XXXXXX", folder);
    const int descriptor = ::mkstemp(scratchPath);
    if (descriptor < 0) Fail("cannot create a scratch file", 0);
    ::close(descriptor);
    std::atexit([] { std::remove(scratchPath); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    std::string file(data[0] < 128 ? 0 : (1u << 16) - (data[0] - 127u), 'x');
    file.append(reinterpret_cast<const char*>(data) + 1, size - 1);
    vendra::StdTextFiles files;
    const auto writer = files.create(scratchPath);
    writer->write(file);
    writer->close();

    const auto reader = files.openForReading(scratchPath);
    std::uint64_t offset = 0;
    while (!reader->atEnd()) {
        if (reader->offset() != offset) Fail("offset is not where the line began", offset);
        const std::string line = reader->readLine();
        if (line.find('\r') != std::string::npos) Fail("a line holds a CR", offset);
        if (file.compare(offset, line.size(), line) != 0) Fail("line differs from file", offset);
        std::string again(line.size(), '\0');
        reader->readAt(offset, again);
        if (again != line) Fail("readAt differs from the line", offset);

        const std::uint64_t end = offset + line.size();
        if (reader->offset() < end) Fail("next line begins inside this one", offset);
        std::string terminator = file.substr(end, reader->offset() - end);
        if (terminator == "\r" && end + 1 < file.size() && file[end + 1] == '\n')
            Fail("CR LF split into two terminators", end);
        if (terminator != "\r\n" && terminator != "\r" &&
            !(terminator.empty() && end == file.size()))
            Fail("terminator is not CR or CR LF", end);
        offset = reader->offset();
    }
    if (offset != file.size()) Fail("lines end before the file", offset);
    try {
        char beyond[1];
        reader->readAt(file.size(), beyond);
        Fail("readAt past the end did not fail", file.size());
    } catch (const vendra::FileError&) {
    }
    return 0;
}
