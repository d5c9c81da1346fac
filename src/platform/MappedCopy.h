#pragma once

#include <cstddef>

namespace vendra {

// Copies `size` bytes out of a file's memory mapping. False when part of them is no longer in the
// file (another program shortened it since it was mapped): the system answers such a read with
// SIGBUS, which would end the program; here it ends the copy instead, with `into` partly written.
// A SIGBUS anywhere else ends the program as before.
bool CopyFromMapping(char* into, const char* from, std::size_t size);

}  // namespace vendra
