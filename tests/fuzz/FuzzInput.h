#pragma once

// What the fuzz targets share: clang's input reader (numbers from the end of the input, text from
// its start) with the standard pieces it brings, a check that stops the run, the plain line
// cutter, the bytes a request line carries, and scratch files.

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string_view>

// Stops the run when `holds` is false, naming the line (the stack trace names the file); libFuzzer
// keeps the input that led there.
#define FUZZ_CHECK(holds) \
    ((holds) ? void() : (std::fprintf(stderr, "line %d: %s\n", __LINE__, #holds), std::abort()))

// Opens the target's body, run on each input with `in` reading it:  FUZZ_TARGET(in) { ... }
#define FUZZ_TARGET(in)                                                                 \
    static void FuzzOne(FuzzedDataProvider&& in);                                       \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
        FuzzOne(FuzzedDataProvider(data, size));                                        \
        return 0;                                                                       \
    }                                                                                   \
    static void FuzzOne(FuzzedDataProvider&& in)

namespace vendra::fuzz {

// Folds ASCII letters only, as the marker searches do.
inline std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// The lines of a file, cut at each CR or CR LF; a lone LF stays in its line.
inline std::vector<std::string_view> PlainLines(std::string_view file) {
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < file.size();) {
        const std::size_t end = std::min(file.find('\r', at), file.size());
        lines.push_back(file.substr(at, end - at));
        at = end + (file.substr(end).starts_with("\r\n") ? 2 : 1);
    }
    return lines;
}

// What a request line carries as it stands: no control, space, byte above 0x7e, " < > \ ^ ` { | }
// or # (a request has no fragment).
inline bool CarriedAsIs(char c) {
    return c > 0x20 && c < 0x7f && std::string_view("\"<>\\^`{|}#").find(c) == std::string::npos;
}

// A file of this process's own, removed at exit; in memory where there is room, so that parallel
// jobs do not share it and runs do not wait on the disk.
struct ScratchFile {
    explicit ScratchFile(const std::string& name)
        : path(std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
               "/vendra-fuzz-" + std::to_string(::getpid()) + "-" + name) {}
    ~ScratchFile() { std::remove(path.c_str()); }
    std::string read() const {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    const std::string path;
};

}  // namespace vendra::fuzz
