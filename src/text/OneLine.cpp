#include "text/OneLine.h"

namespace vendra {

std::string OneLine(std::string_view text) {
    std::string shown(text);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return shown;
}

}  // namespace vendra
