#include "text/Windows1252.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "text/Utf8.h"

namespace vendra {
namespace {

// One converter per thread, opened once: a data file decodes several cells of every row.
class Converter {
  public:
    Converter() : handle_(::iconv_open("UTF-8", "WINDOWS-1252")) {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("the C library cannot decode windows-1252");
    }
    ~Converter() { ::iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string convert(std::string_view bytes) {
        ::iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        // Every byte becomes at most three bytes of UTF-8.
        char buffer[256 * 3];
        char* in = const_cast<char*>(bytes.data());
        std::size_t inLeft = bytes.size();
        while (inLeft > 0) {
            std::size_t chunk = std::min<std::size_t>(inLeft, 256);
            const std::size_t before = chunk;
            char* to = buffer;
            std::size_t toLeft = sizeof buffer;
            const std::size_t done = ::iconv(handle_, &in, &chunk, &to, &toLeft);
            out.append(buffer, static_cast<std::size_t>(to - buffer));
            inLeft -= before - chunk;
            // A full buffer just goes on; anything else stops at a byte the code page lacks.
            if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
                AppendUtf8(out, kReplacementCharacter);
                ++in;
                --inLeft;
            }
        }
        return out;
    }

  private:
    iconv_t handle_;
};

}  // namespace

std::string Windows1252ToUtf8(std::string_view bytes) {
    thread_local Converter converter;
    return converter.convert(bytes);
}

}  // namespace vendra
