#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>

#include "platform/AppIdentity.h"
#include "platform/Controls.h"

class QAbstractButton;
class QAction;

namespace vendra {

class AboutBox;
class MainWindow;

// The Main window as the user sees it: its controls, tabs and menu bar. A thin view: it shows
// what the logic sets and hands every click and menu command to the logic object.
class MainForm : public QMainWindow, public WindowControls {
    Q_OBJECT
  public:
    explicit MainForm(const AppIdentity& identity, QWidget* parent = nullptr);
    ~MainForm() override;

    // The logic that receives the clicks; until then they do nothing.
    void attach(MainWindow& logic);

    void setCaption(Control control, const std::string& text) override;
    void setEnabled(Control control, bool enabled) override;
    std::string text(Control control) const override;
    int listIndex(Control control) const override;
    void setListIndex(Control control, int index) override;
    void appendListEntry(Control control, const std::string& entry) override;
    int checkState(Control control) const override;
    void closeWindow() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls(QWidget* client);
    void BuildMenu();
    void SetFocusOrder();
    // Hands a click or menu command to the logic, once there is one.
    void OnClick(QAbstractButton* button, std::function<void(MainWindow&)> command);
    void OnTrigger(QAction* action, std::function<void(MainWindow&)> command);
    void ShowAbout();
    QWidget* widget(Control control) const;

    const AppIdentity& identity_;
    MainWindow* logic_ = nullptr;
    std::array<QWidget*, static_cast<std::size_t>(Control::Check1) + 1> controls_{};
    QPointer<AboutBox> about_;
};

}  // namespace vendra
