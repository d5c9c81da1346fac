#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace vendra::site {

// One line per request, "CONNECTION METHOD TARGET", on disk as soon as it is written.
class RequestLog {
  public:
    RequestLog() = default;
    ~RequestLog();
    RequestLog(const RequestLog&) = delete;
    RequestLog& operator=(const RequestLog&) = delete;

    // Appends to the file; without a call to Open the log writes nothing.
    bool Open(const std::string& path);
    void Write(int connection, std::string_view method, std::string_view target);

  private:
    std::mutex mutex_;
    std::FILE* file_ = nullptr;
};

}  // namespace vendra::site
