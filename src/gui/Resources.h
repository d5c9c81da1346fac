#pragma once

namespace vendra {

// Makes the pictures compiled into the program available under ":/"; safe to call repeatedly.
void LoadResources();

}  // namespace vendra
