#pragma once

#include <QCoreApplication>

namespace vendra {

// Names the per-user folder that stands in when the program's folder is not writable.
inline void NameTheProgram() { QCoreApplication::setApplicationName("Vendra"); }

}  // namespace vendra
