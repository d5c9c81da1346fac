#pragma once

// Fakes of the platform ports: scripted pages, clicks at a chosen yield, recorded messages and
// shell targets, a temporary application folder. Tests build a FakeDesktop and hand its
// platform() to the logic.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/StdTextFiles.h"
#include "run/SearchRun.h"
#include "search/SearchProgress.h"

namespace vendra::test {

// The main window's controls as plain values.
class FakeControls : public WindowControls {
  public:
    struct State {
        std::string caption, text;
        bool enabled = true;
        int listIndex = -1;
    };

    void setCaption(Control control, const std::string& text) override {
        states[control].caption = text;
        if (control == Control::StatusLine) statusHistory.push_back(text);
    }
    void setEnabled(Control control, bool enabled) override { states[control].enabled = enabled; }
    std::string text(Control control) const override { return states[control].text; }
    int listIndex(Control control) const override { return states[control].listIndex; }
    void setListIndex(Control control, int index) override { states[control].listIndex = index; }
    void appendListEntry(Control, const std::string&) override {}
    bool isChecked(Control) const override { return false; }
    void closeWindow() override {}

    // Test side.
    void type(Control control, const std::string& text) { states[control].text = text; }
    const std::string& caption(Control control) const { return states[control].caption; }
    bool enabled(Control control) const { return states[control].enabled; }
    std::string status() const { return caption(Control::StatusLine); }

    // A control never set reads as a fresh one.
    mutable std::map<Control, State> states;
    // Every status line text in order, to check the progress of a search.
    std::vector<std::string> statusHistory;
};

// Runs a scripted action at the n-th yield (counted from 1), standing in for the user's clicks.
class FakeYield : public EventYield {
  public:
    void yield() override {
        if (auto action = actions_.find(++count); action != actions_.end()) action->second();
    }
    void at(int n, std::function<void()> action) { actions_[n] = std::move(action); }
    int count = 0;

  private:
    std::map<int, std::function<void()>> actions_;
};

class FakeMessageBox : public MessageBox {
  public:
    void showMessage(const std::string& text) override {
        messages.push_back(text);
        if (onShow) onShow();
    }
    std::vector<std::string> messages;
    // Runs while the box is "open", before it is confirmed.
    std::function<void()> onShow;
};

// Serves scripted pages by exact URL and logs every request. An unknown URL throws FetchError.
class FakeFetch : public UrlFetch {
  public:
    std::string fetch(const std::string& url) override {
        requests.push_back(url);
        if (onFetch) onFetch(url);
        if (auto page = pages.find(url); page != pages.end()) return page->second;
        throw FetchError("no scripted page for " + url);
    }
    void cancel() override { ++cancelCount; }
    void serve(const std::string& url, std::string body) { pages[url] = std::move(body); }

    std::map<std::string, std::string> pages;
    std::vector<std::string> requests;
    // Runs before each page is served, with the URL; for changes "typed" during a walk.
    std::function<void(const std::string&)> onFetch;
    int cancelCount = 0;
};

class FakeShell : public Shell {
  public:
    void open(const std::string& target) override { opened.push_back(target); }
    std::vector<std::string> opened;
};

// A fresh temporary application folder, removed with the fake.
class FakeIdentity : public AppIdentity {
  public:
    FakeIdentity() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vendra-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder: " + pattern);
        folder_ = pattern;
    }
    ~FakeIdentity() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    FakeIdentity(const FakeIdentity&) = delete;

    std::string prepareFolder() override {
        if (unwritable) throw FileError(FileError::Kind::Access, "No folder can hold the files");
        return folder();
    }
    bool unwritable = false;  // no folder for the working files can be written
    std::string folder() const { return folder_.string(); }
    std::string title() const override { return "Vendrashare"; }
    Version version() const override { return {3, 2, 4}; }
    std::filesystem::path path(const std::string& name) const { return folder_ / name; }

  private:
    std::filesystem::path folder_;
};

class FakeLocale : public LocaleInfo {
  public:
    NumberSeparators separators() const override { return value; }
    NumberSeparators value{",", "."};
};

// The real files in the temporary folder, with deletions that can be refused for chosen paths,
// as for a file the browser holds open or one without permission.
class FakeFiles : public StdTextFiles {
  public:
    void remove(const std::string& path) override {
        removed.push_back(path);
        if (undeletable.count(path)) throw FileError(FileError::Kind::Access, "refused: " + path);
        StdTextFiles::remove(path);
    }
    // Appending fails while the path is unwritable, and opening fails as it would then.
    std::unique_ptr<LineAppender> openForAppending(const std::string& path) override {
        class Checked : public LineAppender {
          public:
            Checked(const FakeFiles& files, std::string path, std::unique_ptr<LineAppender> file)
                : files_(files), path_(std::move(path)), file_(std::move(file)) {}
            void appendLine(std::string_view text) override {
                files_.failIfUnwritable(path_);
                file_->appendLine(text);
            }
            void close() override {
                file_->close();
                if (files_.unclosable.count(path_))
                    throw FileError(FileError::Kind::Access,
                                    "Cannot write " + path_ + ": " + kLateReason, kLateReason);
            }

          private:
            const FakeFiles& files_;
            std::string path_;
            std::unique_ptr<LineAppender> file_;
        };
        failIfUnwritable(path);
        return std::make_unique<Checked>(*this, path, StdTextFiles::openForAppending(path));
    }
    void failIfUnwritable(const std::string& path) const {
        if (unwritable.count(path))
            throw FileError(FileError::Kind::Access,
                            "Cannot write " + path + ": " + kUnwritableReason, kUnwritableReason);
    }
    std::set<std::string> undeletable;
    std::set<std::string> unwritable;  // appending fails as on a full disk
    static constexpr const char* kUnwritableReason = "No space left on device";
    std::set<std::string> unclosable;  // closing fails, as a network file system may report
    static constexpr const char* kLateReason = "Input/output error";
    std::vector<std::string> removed;  // every path asked to be deleted, in order
};

// The folder's search lock, as held by another program or free; counts the holds alive.
class FakeSearchLock : public SearchLock {
  public:
    std::unique_ptr<Hold> tryHold(const std::string& folder) override {
        struct Counted : Hold {
            int& alive;
            explicit Counted(int& holdsAlive) : alive(++holdsAlive) {}
            ~Counted() override { --alive; }
        };
        folders.push_back(folder);
        return heldElsewhere ? nullptr : std::make_unique<Counted>(holds);
    }
    bool heldElsewhere = false;
    std::vector<std::string> folders;  // every folder asked for
    int holds = 0;
};

// Every report of the stages, in order.
class ProgressLog : public ProgressReport {
  public:
    void report(const Progress& event) override { events.push_back(event); }
    // The reports of one kind, in order.
    template <typename Event>
    std::vector<Event> all() const {
        std::vector<Event> found;
        for (const Progress& event : events)
            if (const auto* e = std::get_if<Event>(&event)) found.push_back(*e);
        return found;
    }
    std::vector<Progress> events;
};

// All fakes together, and the Platform that hands them to the logic.
struct FakeDesktop {
    FakeControls controls;
    FakeYield events;
    FakeMessageBox messages;
    FakeFetch fetch;
    FakeFiles files;
    FakeShell shell;
    FakeIdentity identity;
    FakeLocale locale;
    FakeSearchLock searchLock;
    Platform platform{controls, events,   messages, fetch,     files,
                      shell,    identity, locale,   searchLock};

    // The fakes behind a real window's controls.
    Platform behind(WindowControls& window) {
        return {window, events, messages, fetch, files, shell, identity, locale, searchLock};
    }
    // The fakes a search itself uses.
    RunPorts runPorts() { return {fetch, events, files, locale, searchLock, identity}; }

    // Reads a file of the application folder whole, as bytes; nullopt when it does not exist.
    std::optional<std::string> read(const std::string& name) const {
        std::ifstream in(identity.path(name), std::ios::binary);
        if (!in) return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(identity.path(name), std::ios::binary) << bytes;
    }
};

}  // namespace vendra::test
