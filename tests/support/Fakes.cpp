#include "support/Fakes.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>

namespace vendra::test {

FakeControls::FakeControls() {
    for (int c = static_cast<int>(Control::StatusLine); c <= static_cast<int>(Control::DescriptionsBox); ++c)
        states[static_cast<Control>(c)] = State{};
}

void FakeControls::setCaption(Control control, const std::string& text) {
    states[control].caption = text;
    if (control == Control::StatusLine) statusHistory.push_back(text);
}

void FakeYield::yield() {
    ++count;
    if (auto action = actions_.find(count); action != actions_.end()) action->second();
}

void FakeMessageBox::showMessage(const std::string& text) {
    messages.push_back(text);
    if (onShow) onShow();
}

std::string FakeFetch::fetch(const std::string& url) {
    requests.push_back(url);
    if (onFetch) onFetch(url);
    auto page = pages.find(url);
    if (page == pages.end()) throw FetchError("no scripted page for " + url);
    return page->second;
}

FakeIdentity::FakeIdentity() {
    static std::atomic<int> serial{0};
    folder_ = std::filesystem::temp_directory_path() /
              ("vendra-test-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
}

FakeIdentity::~FakeIdentity() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void FakeFiles::remove(const std::string& path) {
    removed.push_back(path);
    if (undeletable.count(path)) throw FileError(FileError::Kind::Access, "refused: " + path);
    StdTextFiles::remove(path);
}

std::unique_ptr<SearchLock::Hold> FakeSearchLock::tryHold(const std::string& folder) {
    struct Counted : Hold {
        int& alive;
        explicit Counted(int& holdsAlive) : alive(++holdsAlive) {}
        ~Counted() override { --alive; }
    };
    folders.push_back(folder);
    if (heldElsewhere) return nullptr;
    return std::make_unique<Counted>(holds);
}

void FakeFiles::appendLine(const std::string& path, std::string_view text) {
    if (unwritable.count(path))
        throw FileError(FileError::Kind::Access, "Cannot write " + path + ": " + kUnwritableReason,
                        kUnwritableReason);
    StdTextFiles::appendLine(path, text);
}

std::optional<std::string> FakeDesktop::read(const std::string& name) const {
    std::ifstream in(identity.path(name), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void FakeDesktop::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(identity.path(name), std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace vendra::test
