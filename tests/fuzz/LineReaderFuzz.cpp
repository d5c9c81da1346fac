// Any bytes as a file, read back line by line against the plain line cutter: each line, where it
// begins, readAt at that offset, and the end where the file ends.
// Input: the file's bytes and last a number that, at 128 and above, puts them just before the end
// of the reader's first 64 KiB buffer, so that a CR LF can straddle it.
#include "FuzzInput.h"
#include "platform/StdTextFiles.h"

static const vendra::fuzz::ScratchFile scratch("lines");

FUZZ_TARGET(in) {
    const unsigned edge = in.ConsumeIntegral<std::uint8_t>();
    const std::string file = std::string(edge < 128 ? 0 : (1u << 16) - (edge - 127), 'x') +
                             in.ConsumeRemainingBytesAsString();
    std::ofstream(scratch.path, std::ios::binary) << file;
    const auto reader = vendra::StdTextFiles().openForReading(scratch.path);
    for (const std::string_view line : vendra::fuzz::PlainLines(file)) {
        const auto offset = static_cast<std::uint64_t>(line.data() - file.data());
        FUZZ_CHECK(!reader->atEnd() && reader->offset() == offset && reader->readLine() == line);
        std::string again(line.size(), '\0');
        reader->readAt(offset, again);
        FUZZ_CHECK(again == line);
    }
    FUZZ_CHECK(reader->atEnd() && reader->offset() == file.size());
}
