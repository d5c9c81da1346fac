#pragma once

#include "platform/TextFiles.h"

namespace vendra {

// The working files on the local file system, through the C library: bytes in, bytes out.
class StdTextFiles : public TextFiles {
  public:
    std::unique_ptr<LineAppender> openForAppending(const std::string& path) override;
    std::unique_ptr<LineReader> openForReading(const std::string& path) override;
    std::unique_ptr<LineReader> openNamedForReading(const std::string& path) override;
    std::unique_ptr<TextWriter> create(const std::string& path) override;
    std::unique_ptr<TextWriter> createInPlaceOf(const std::string& path) override;
    bool exists(const std::string& path) override;
    void remove(const std::string& path) override;
};

}  // namespace vendra
