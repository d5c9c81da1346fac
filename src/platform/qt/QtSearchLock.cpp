#include "platform/qt/QtSearchLock.h"

#include <QLockFile>
#include <QString>

namespace vendra {
namespace {

class LockFileHold : public SearchLock::Hold {
  public:
    explicit LockFileHold(const QString& path) : file_(path) { file_.setStaleLockTime(0); }
    QLockFile& file() { return file_; }

  private:
    QLockFile file_;  // unlocks when destroyed
};

}  // namespace

std::unique_ptr<SearchLock::Hold> QtSearchLock::tryHold(const std::string& folder) {
    auto hold = std::make_unique<LockFileHold>(QString::fromStdString(folder) + "/" + kFileName);
    if (hold->file().tryLock(0) || hold->file().error() != QLockFile::LockFailedError) return hold;
    return nullptr;
}

}  // namespace vendra
