#include "RequestLog.h"

namespace vendra::site {

RequestLog::~RequestLog() {
    if (file_) std::fclose(file_);
}

bool RequestLog::Open(const std::string& path) {
    std::lock_guard lock(mutex_);
    file_ = std::fopen(path.c_str(), "ab");
    return file_ != nullptr;
}

void RequestLog::Write(int connection, std::string_view method, std::string_view target) {
    std::lock_guard lock(mutex_);
    if (!file_) return;
    const std::string line =
        std::to_string(connection) + " " + std::string(method) + " " + std::string(target) + "\n";
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

}  // namespace vendra::site
