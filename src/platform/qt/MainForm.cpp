#include "platform/qt/MainForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "app/MainWindow.h"
#include "platform/qt/AboutBox.h"
#include "platform/qt/ClientArea.h"
#include "platform/qt/ListAccessibility.h"
#include "platform/qt/Resources.h"
#include "platform/qt/TabControl.h"

namespace vendra {
namespace {

const QColor kWindowGrey(128, 128, 128);
const QColor kBoxGrey(224, 224, 224);
const QColor kDarkGrey(64, 64, 64);

QFont BoldArial(qreal points) {
    QFont font("Arial");
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// A raised button painted flat in one colour, as graphical buttons are drawn.
QString GraphicalButtonSheet(const QColor& back, const QColor& text, const QColor& disabledText) {
    const QString light = back.lighter(160).name(), dark = back.darker(250).name();
    return QString(
               "QPushButton { background-color: %1; color: %2; border: 2px solid;"
               " border-color: %4 %5 %5 %4; }"
               "QPushButton:pressed { border-color: %5 %4 %4 %5; }"
               "QPushButton:disabled { color: %3; }")
        .arg(back.name(), text.name(), disabledText.name(), light, dark);
}

QLabel* Label(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    // Status texts are shown as they are, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

QLineEdit* TextBox(QWidget* parent, const char* name, const QString& accessibleName,
                   const QString& text, QRect geometry) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    box->setGeometry(geometry);
    return box;
}

QComboBox* List(QWidget* parent, const char* name, const QString& accessibleName, QRect geometry) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessibleName);
    list->setGeometry(geometry);
    // Drawn like a text box with a drop-down button, in the text boxes' colour.
    list->setStyleSheet(
        QString("QComboBox { background-color: %1; border: 1px solid %2; padding-left: 3px; }"
                "QComboBox::drop-down { width: 17px; border-left: 1px solid %2;"
                " background-color: %3; }"
                "QComboBox::down-arrow { image: url(:/images/down-arrow.png); }")
            .arg(kBoxGrey.name(), kDarkGrey.name(), QColor(192, 192, 192).name()));
    return list;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                    bool dark = false) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    button->setStyleSheet(dark ? GraphicalButtonSheet(kDarkGrey, Qt::white, kWindowGrey)
                               : GraphicalButtonSheet(kWindowGrey, Qt::black, kBoxGrey));
    return button;
}

}  // namespace

MainForm::MainForm(const AppIdentity& identity, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      identity_(identity) {
    LoadResources();
    NameListsByTheirPurpose();
    setObjectName("frmMain");
    setWindowTitle("Vendra -- Your Key to the Online Auction Market");
    const QPixmap icon(":/icons/vendra.png");
    setWindowIcon(QIcon(icon));

    auto* client = new ClientArea(icon, this);
    client->setObjectName("client");
    client->setFixedSize(528, 379);
    client->setFont(BoldArial(9.75));
    QPalette colours = client->palette();
    colours.setColor(QPalette::Window, kWindowGrey);
    colours.setColor(QPalette::Base, kBoxGrey);
    colours.setColor(QPalette::WindowText, Qt::black);
    colours.setColor(QPalette::Text, Qt::black);
    client->setPalette(colours);
    setCentralWidget(client);
    // The window takes the client area's fixed size plus the menu bar, and cannot be resized.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    BuildControls(client);
    BuildMenu();
    SetFocusOrder();
}

MainForm::~MainForm() { delete about_; }

void MainForm::BuildControls(QWidget* client) {
    auto* Label1 = Label(client, "Label1",
                         "Enter the minimum amount of bids you want the search to find and then "
                         "choose a search.",
                         {32, 0, 489, 33});
    Label1->setFont(BoldArial(8.25));
    Label1->setWordWrap(true);
    Label1->setAutoFillBackground(true);
    QPalette white = Label1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Label1->setPalette(white);

    auto* Label3 =
        Label(client, "Label3", "Search for items that have at least", {40, 48, 273, 25});
    auto* txtBids =
        TextBox(client, "txtBids", "Search for items that have at least", "0", {264, 40, 33, 25});
    Label3->setBuddy(txtBids);
    Label(client, "Label11", "bids.", {304, 48, 57, 17});

    auto* SSTab1 = new TabControl(client);
    SSTab1->setObjectName("SSTab1");
    SSTab1->setAccessibleName("Search kind");
    SSTab1->setGeometry(8, 80, 513, 235);
    QWidget* featured = SSTab1->addTab("Featured");
    QWidget* category = SSTab1->addTab("Category");
    QWidget* completed = SSTab1->addTab("Completed");
    QWidget* keyword = SSTab1->addTab("Keyword");
    SSTab1->setCurrentIndex(3);

    auto* Command6 = Button(client, "Command6", "See Incomplete Results", {8, 328, 257, 41}, true);
    Command6->setEnabled(false);
    auto* Command1 = Button(client, "Command1", "Stop Search", {272, 328, 249, 41}, true);

    auto* Command4 =
        Button(featured, "Command4(1)", "Search Featured Auctions", {112, 96, 281, 57});

    auto* Command2 = Button(category, "Command2", "Show Categories", {144, 64, 225, 25});
    auto* Label2 = Label(category, "Label2(1)", "Enter Category #", {144, 128, 129, 25});
    auto* Text1 = TextBox(category, "Text1", "Enter Category #", "", {272, 120, 97, 25});
    Label2->setBuddy(Text1);
    auto* Command3 = Button(category, "Command3(1)", "Search", {144, 176, 225, 25});
    Command3->setFont(BoldArial(9));

    auto* Label12 = Label(completed, "Label12", "Enter Keywords", {208, 64, 105, 25});
    auto* Text2 = TextBox(completed, "Text2", "Enter Keywords", "", {152, 88, 217, 25});
    Label12->setBuddy(Text2);
    auto* Command5 = Button(completed, "Command5", "Search", {152, 136, 217, 25});

    auto* Label4 = Label(keyword, "Label4", "Title", {8, 32, 41, 25});
    auto* txtTitle = TextBox(keyword, "txtTitle", "Title", "", {16, 48, 225, 25});
    Label4->setBuddy(txtTitle);
    auto* cmbSearch = List(keyword, "cmbSearch", "Search mode", {272, 48, 217, 24});
    cmbSearch->addItems({"All of these Words", "Any of these words", "Exact phrase"});
    auto* Check1 = new QCheckBox("Title and Description", keyword);
    Check1->setObjectName("Check1");
    Check1->setGeometry(16, 80, 185, 25);
    auto* cmdSearch = Button(keyword, "cmdSearch", "Search", {272, 80, 217, 25});
    auto* Line1 = new QFrame(keyword);
    Line1->setObjectName("Line1");
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Plain);
    Line1->setLineWidth(1);
    Line1->setGeometry(8, 112, 497, 1);
    auto* Label5 = Label(keyword, "Label5", "Words to exclude", {8, 120, 169, 17});
    auto* txtExcluded = TextBox(keyword, "txtExcluded", "Words to exclude", "", {16, 144, 225, 25});
    Label5->setBuddy(txtExcluded);
    auto* Label9 = Label(keyword, "Label9", "Search in Categories", {264, 120, 161, 17});
    auto* cmbCategories =
        List(keyword, "cmbCategories", "Search in Categories", {272, 144, 225, 24});
    Label9->setBuddy(cmbCategories);
    Label(keyword, "Label6", "Price Range", {8, 176, 137, 17});
    auto* Label7 = Label(keyword, "Label7", "Between  $", {8, 200, 81, 17});
    auto* txtBeginPrice = TextBox(keyword, "txtBeginPrice", "Between $", "", {88, 192, 49, 25});
    Label7->setBuddy(txtBeginPrice);
    auto* Label8 = Label(keyword, "Label8", "and  $", {144, 200, 49, 17});
    auto* txtEndPrice = TextBox(keyword, "txtEndPrice", "and $", "", {192, 192, 49, 25});
    Label8->setBuddy(txtEndPrice);

    auto set = [this](Control control, QWidget* w) {
        controls_[static_cast<std::size_t>(control)] = w;
    };
    set(Control::Label1, Label1);
    set(Control::txtBids, txtBids);
    set(Control::Command1, Command1);
    set(Control::Command2, Command2);
    set(Control::Command3, Command3);
    set(Control::Command4, Command4);
    set(Control::Command5, Command5);
    set(Control::Command6, Command6);
    set(Control::cmdSearch, cmdSearch);
    set(Control::Text1, Text1);
    set(Control::Text2, Text2);
    set(Control::txtTitle, txtTitle);
    set(Control::txtExcluded, txtExcluded);
    set(Control::txtBeginPrice, txtBeginPrice);
    set(Control::txtEndPrice, txtEndPrice);
    set(Control::cmbSearch, cmbSearch);
    set(Control::cmbCategories, cmbCategories);
    set(Control::Check1, Check1);

    OnClick(cmdSearch, [](MainWindow& logic) { logic.cmdSearch_Click(); });
    OnClick(Command3, [](MainWindow& logic) { logic.Command3_Click(1); });
    OnClick(Command4, [](MainWindow& logic) { logic.Command4_Click(1); });
    OnClick(Command5, [](MainWindow& logic) { logic.Command5_Click(); });
    OnClick(Command1, [](MainWindow& logic) { logic.Command1_Click(); });
    OnClick(Command6, [](MainWindow& logic) { logic.Command6_Click(); });
    OnClick(Command2, [](MainWindow& logic) { logic.Command2_Click(); });
}

void MainForm::BuildMenu() {
    QMenu* hlpHelp = menuBar()->addMenu("Help");
    hlpHelp->setObjectName("hlpHelp");
    QAction* hlpInstruct = hlpHelp->addAction("Instructions");
    hlpInstruct->setObjectName("hlpInstruct");
    hlpHelp->addSeparator()->setObjectName("bar1");
    QAction* hlpEmail = hlpHelp->addAction("Email Author");
    hlpEmail->setObjectName("hlpEmail");
    QAction* hlpWebsite = hlpHelp->addAction("Visit Website");
    hlpWebsite->setObjectName("hlpWebsite");
    hlpHelp->addSeparator()->setObjectName("bar2");
    QAction* hlpAbout = hlpHelp->addAction("About");
    hlpAbout->setObjectName("hlpAbout");
    QAction* mnuOpen = menuBar()->addAction("Open last Results");
    mnuOpen->setObjectName("mnuOpen");

    OnTrigger(hlpInstruct, [](MainWindow& logic) { logic.hlpInstruct_Click(); });
    OnTrigger(hlpEmail, [](MainWindow& logic) { logic.hlpEmail_Click(); });
    OnTrigger(hlpWebsite, [](MainWindow& logic) { logic.hlpWebsite_Click(); });
    OnTrigger(mnuOpen, [](MainWindow& logic) { logic.mnuOpen_Click(); });
    connect(hlpAbout, &QAction::triggered, this, [this] { ShowAbout(); });
}

void MainForm::SetFocusOrder() {
    const Control order[] = {Control::Command1,    Control::txtBids,       Control::Command4,
                             Control::Command3,    Control::Text1,         Control::txtTitle,
                             Control::Check1,      Control::txtExcluded,   Control::txtBeginPrice,
                             Control::txtEndPrice, Control::cmbCategories, Control::cmbSearch,
                             Control::cmdSearch,   Control::Command2,      Control::Command5,
                             Control::Text2,       Control::Command6};
    QList<QWidget*> chain;
    for (Control control : order) chain.append(widget(control));
    // The tab control takes the focus between the minimum and the featured search button.
    chain.insert(2, findChild<TabControl*>("SSTab1"));
    for (qsizetype i = 0; i + 1 < chain.size(); ++i) setTabOrder(chain[i], chain[i + 1]);
    widget(Control::Command1)->setFocus();
}

void MainForm::OnClick(QAbstractButton* button, std::function<void(MainWindow&)> command) {
    connect(button, &QAbstractButton::clicked, this, [this, command = std::move(command)] {
        if (logic_) command(*logic_);
    });
}

void MainForm::OnTrigger(QAction* action, std::function<void(MainWindow&)> command) {
    connect(action, &QAction::triggered, this, [this, command = std::move(command)] {
        if (logic_) command(*logic_);
    });
}

void MainForm::attach(MainWindow& logic) { logic_ = &logic; }

void MainForm::ShowAbout() {
    // One box at a time, with no owner: the Main window stays usable while it is open. A box
    // that was closed may still wait for its discarding (during a search nothing returns to the
    // event loop), so only a showing box is raised; otherwise a new one is made.
    if (!about_ || !about_->isVisible()) {
        about_ = new AboutBox(identity_);
        about_->setAttribute(Qt::WA_DeleteOnClose);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void MainForm::closeEvent(QCloseEvent* event) {
    // A running search is told to stop first; it closes the window once it has returned.
    if (logic_ && !logic_->QueryUnload()) {
        event->ignore();
        return;
    }
    if (about_) about_->close();
    event->accept();
}

void MainForm::closeWindow() { close(); }

QWidget* MainForm::widget(Control control) const {
    return controls_[static_cast<std::size_t>(control)];
}

void MainForm::setCaption(Control control, const std::string& text) {
    const QString caption = QString::fromStdString(text);
    QWidget* w = widget(control);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(caption);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(caption);
    } else if (auto* box = qobject_cast<QLineEdit*>(w)) {
        box->setText(caption);
    }
}

void MainForm::setEnabled(Control control, bool enabled) { widget(control)->setEnabled(enabled); }

std::string MainForm::text(Control control) const {
    QWidget* w = widget(control);
    if (auto* box = qobject_cast<QLineEdit*>(w)) return box->text().toStdString();
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text().toStdString();
    return {};
}

int MainForm::listIndex(Control control) const {
    auto* list = qobject_cast<QComboBox*>(widget(control));
    return list ? list->currentIndex() : -1;
}

void MainForm::setListIndex(Control control, int index) {
    if (auto* list = qobject_cast<QComboBox*>(widget(control))) list->setCurrentIndex(index);
}

void MainForm::appendListEntry(Control control, const std::string& entry) {
    if (auto* list = qobject_cast<QComboBox*>(widget(control)))
        list->addItem(QString::fromStdString(entry));
}

int MainForm::checkState(Control control) const {
    auto* box = qobject_cast<QCheckBox*>(widget(control));
    return box && box->isChecked() ? 1 : 0;
}

}  // namespace vendra
