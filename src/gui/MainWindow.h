#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>

#include "platform/AppIdentity.h"
#include "platform/WindowControls.h"

class QAbstractButton;
class QAction;

namespace vendra {

class AboutBox;
class SearchController;

// The main window as the user sees it: its controls, tabs and menu bar. A thin view: it shows
// what the logic sets and hands every click and menu command to the logic.
class MainWindow : public QMainWindow, public WindowControls {
    Q_OBJECT
  public:
    explicit MainWindow(const AppIdentity& identity, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The logic that receives the commands; until then they do nothing.
    void attach(SearchController& logic);
    // True for the stop button: its clicks abandon a page in flight instead of waiting for it.
    bool isStopButton(const QObject* object) const;
    // True for See Incomplete Results: its clicks end a wait before a page is asked again.
    bool isIncompleteButton(const QObject* object) const;

    void setCaption(Control control, const std::string& text) override;
    void setEnabled(Control control, bool enabled) override;
    std::string text(Control control) const override;
    int listIndex(Control control) const override;
    void setListIndex(Control control, int index) override;
    void appendListEntry(Control control, const std::string& entry) override;
    bool isChecked(Control control) const override;
    void closeWindow() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls(QWidget* client);
    void buildMenu();
    void setFocusOrder();
    void onClick(Control button, std::function<void(SearchController&)> command);
    void onTrigger(QAction* action, std::function<void(SearchController&)> command);
    void showAbout();
    void place(Control control, QWidget* widget);
    QWidget* widget(Control control) const;

    const AppIdentity& identity_;
    SearchController* logic_ = nullptr;
    std::array<QWidget*, static_cast<std::size_t>(Control::Count)> controls_{};
    QPointer<AboutBox> about_;
};

}  // namespace vendra
