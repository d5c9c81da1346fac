#include "gui/MainWindow.h"

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
#include <QWindow>

#include "controller/SearchController.h"
#include "gui/AboutBox.h"
#include "gui/ClientArea.h"
#include "gui/GraphicalButton.h"
#include "gui/ListAccessibility.h"
#include "gui/Resources.h"
#include "gui/TabControl.h"
#include "gui/TitleBar.h"

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

// A drop-down list with an entry field. Only the list's selection counts: typing into the field
// leaves no entry selected, the typed text stays in the field but is never added to the list
// nor matched against it (not when typed, nor on Enter or when the field loses the focus), and
// choosing an entry from the list selects it again.
QComboBox* List(QWidget* parent, const char* name, const QString& accessibleName, QRect geometry) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessibleName);
    list->setGeometry(geometry);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);
    QLineEdit* field = list->lineEdit();
    field->setObjectName(QString(name) + "Field");
    field->setAccessibleName(accessibleName);
    // The list would select the entry that reads as the field does once editing ends.
    QObject::disconnect(field, &QLineEdit::editingFinished, list, nullptr);
    QObject::connect(field, &QLineEdit::textEdited, list, [list, field](const QString& typed) {
        if (list->currentIndex() == -1) return;
        // Selecting no entry empties the field: the typed text is put back where it was.
        const int cursor = field->cursorPosition();
        list->setCurrentIndex(-1);
        field->setText(typed);
        field->setCursorPosition(cursor);
    });
    // Drawn like a text box with a drop-down button, in the text boxes' colour; the field's own
    // margin takes the text two pixels further in.
    list->setStyleSheet(
        QString("QComboBox { background-color: %1; border: 1px solid %2; padding-left: 1px; }"
                "QComboBox::drop-down { width: 17px; border-left: 1px solid %2;"
                " background-color: %3; }"
                "QComboBox::down-arrow { image: url(:/images/down-arrow.png); }")
            .arg(kBoxGrey.name(), kDarkGrey.name(), QColor(192, 192, 192).name()));
    return list;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                    bool dark = false) {
    auto* button = dark ? new GraphicalButton(caption, parent, kDarkGrey, Qt::white, kWindowGrey)
                        : new GraphicalButton(caption, parent, kWindowGrey, Qt::black, kBoxGrey);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

MainWindow::MainWindow(const AppIdentity& identity, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      identity_(identity) {
    LoadResources();
    NameListsByTheirPurpose();
    setObjectName("mainWindow");
    setWindowTitle("Vendra -- Your Key to the Online Auction Market");
    const QPixmap icon = PngPicture(":/icons/vendra.png");
    setWindowIcon(QIcon(icon));
    AddOwnTitleBar(*this, true);

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

    buildControls(client);
    buildMenu();
    setFocusOrder();
}

MainWindow::~MainWindow() { delete about_; }

void MainWindow::buildControls(QWidget* client) {
    auto* statusLine = Label(client, "statusLine",
                             "Enter the minimum amount of bids you want the search to find and "
                             "then choose a search.",
                             {32, 0, 489, 33});
    statusLine->setFont(BoldArial(8.25));
    statusLine->setWordWrap(true);
    statusLine->setAutoFillBackground(true);
    QPalette white = statusLine->palette();
    white.setColor(QPalette::Window, Qt::white);
    statusLine->setPalette(white);
    place(Control::StatusLine, statusLine);

    const QString minimumCaption = "Search for items that have at least";
    auto* minimumLabel = Label(client, "minimumBidsLabel", minimumCaption, {40, 48, 273, 25});
    auto* minimumBids = TextBox(client, "minimumBids", minimumCaption, "0", {264, 40, 33, 25});
    minimumLabel->setBuddy(minimumBids);
    Label(client, "bidsLabel", "bids.", {304, 48, 57, 17});
    place(Control::MinimumBids, minimumBids);

    auto* tabs = new TabControl(client);
    tabs->setObjectName("searchTabs");
    tabs->setAccessibleName("Search kind");
    tabs->setGeometry(8, 80, 513, 235);
    QWidget* featured = tabs->addTab("Featured");
    QWidget* category = tabs->addTab("Category");
    QWidget* completed = tabs->addTab("Completed");
    QWidget* keyword = tabs->addTab("Keyword");
    tabs->setCurrentIndex(3);

    auto* incomplete =
        Button(client, "incompleteButton", "See Incomplete Results", {8, 328, 257, 41}, true);
    incomplete->setEnabled(false);
    place(Control::IncompleteButton, incomplete);
    place(Control::StopButton,
          Button(client, "stopButton", "Stop Search", {272, 328, 249, 41}, true));

    place(Control::FeaturedSearchButton,
          Button(featured, "featuredSearchButton", "Search Featured Auctions", {112, 96, 281, 57}));

    place(Control::ShowCategoriesButton,
          Button(category, "showCategoriesButton", "Show Categories", {144, 64, 225, 25}));
    auto* categoryLabel =
        Label(category, "categoryNumberLabel", "Enter Category #", {144, 128, 129, 25});
    auto* categoryNumber =
        TextBox(category, "categoryNumber", "Enter Category #", "", {272, 120, 97, 25});
    categoryLabel->setBuddy(categoryNumber);
    place(Control::CategoryNumber, categoryNumber);
    auto* categorySearch = Button(category, "categorySearchButton", "Search", {144, 176, 225, 25});
    categorySearch->setFont(BoldArial(9));
    place(Control::CategorySearchButton, categorySearch);

    auto* wordsLabel =
        Label(completed, "completedWordsLabel", "Enter Keywords", {208, 64, 105, 25});
    auto* completedWords =
        TextBox(completed, "completedWords", "Enter Keywords", "", {152, 88, 217, 25});
    wordsLabel->setBuddy(completedWords);
    place(Control::CompletedWords, completedWords);
    place(Control::CompletedSearchButton,
          Button(completed, "completedSearchButton", "Search", {152, 136, 217, 25}));

    auto* titleLabel = Label(keyword, "titleWordsLabel", "Title", {8, 32, 41, 25});
    auto* titleWords = TextBox(keyword, "titleWords", "Title", "", {16, 48, 225, 25});
    titleLabel->setBuddy(titleWords);
    place(Control::TitleWords, titleWords);
    auto* searchMode = List(keyword, "searchMode", "Search mode", {272, 48, 217, 24});
    searchMode->addItems({"All of these Words", "Any of these words", "Exact phrase"});
    place(Control::SearchMode, searchMode);
    auto* descriptions = new QCheckBox("Title and Description", keyword);
    descriptions->setObjectName("descriptionsBox");
    descriptions->setGeometry(16, 80, 185, 25);
    place(Control::DescriptionsBox, descriptions);
    place(Control::KeywordSearchButton,
          Button(keyword, "keywordSearchButton", "Search", {272, 80, 217, 25}));
    auto* line = new QFrame(keyword);
    line->setObjectName("keywordLine");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    line->setGeometry(8, 112, 497, 1);
    auto* excludedLabel =
        Label(keyword, "excludedWordsLabel", "Words to exclude", {8, 120, 169, 17});
    auto* excludedWords =
        TextBox(keyword, "excludedWords", "Words to exclude", "", {16, 144, 225, 25});
    excludedLabel->setBuddy(excludedWords);
    place(Control::ExcludedWords, excludedWords);
    auto* listLabel =
        Label(keyword, "categoryListLabel", "Search in Categories", {264, 120, 161, 17});
    auto* categoryList = List(keyword, "categoryList", "Search in Categories", {272, 144, 225, 24});
    listLabel->setBuddy(categoryList);
    place(Control::CategoryList, categoryList);
    Label(keyword, "priceRangeLabel", "Price Range", {8, 176, 137, 17});
    auto* fromLabel = Label(keyword, "priceFromLabel", "Between  $", {8, 200, 81, 17});
    auto* priceFrom = TextBox(keyword, "priceFrom", "Between $", "", {88, 192, 49, 25});
    fromLabel->setBuddy(priceFrom);
    place(Control::PriceFrom, priceFrom);
    auto* toLabel = Label(keyword, "priceToLabel", "and  $", {144, 200, 49, 17});
    auto* priceTo = TextBox(keyword, "priceTo", "and $", "", {192, 192, 49, 25});
    toLabel->setBuddy(priceTo);
    place(Control::PriceTo, priceTo);

    onClick(Control::KeywordSearchButton, &SearchController::startKeywordSearch);
    onClick(Control::CategorySearchButton, &SearchController::startCategorySearch);
    onClick(Control::FeaturedSearchButton, &SearchController::startFeaturedSearch);
    onClick(Control::CompletedSearchButton, &SearchController::startCompletedSearch);
    onClick(Control::StopButton, &SearchController::stopSearch);
    onClick(Control::IncompleteButton, &SearchController::seeIncompleteResults);
    onClick(Control::ShowCategoriesButton, &SearchController::showCategories);
}

void MainWindow::buildMenu() {
    QMenu* help = menuBar()->addMenu("Help");
    help->setObjectName("helpMenu");
    QAction* instructions = help->addAction("Instructions");
    instructions->setObjectName("instructionsItem");
    help->addSeparator();
    QAction* email = help->addAction("Email Author");
    email->setObjectName("emailItem");
    QAction* website = help->addAction("Visit Website");
    website->setObjectName("websiteItem");
    help->addSeparator();
    QAction* about = help->addAction("About");
    about->setObjectName("aboutItem");
    QAction* lastResults = menuBar()->addAction("Open last Results");
    lastResults->setObjectName("lastResultsItem");

    onTrigger(instructions, [](SearchController& logic) { logic.helpMenu().openInstructions(); });
    onTrigger(email, [](SearchController& logic) { logic.helpMenu().emailAuthor(); });
    onTrigger(website, [](SearchController& logic) { logic.helpMenu().visitWebsite(); });
    onTrigger(lastResults, [](SearchController& logic) { logic.helpMenu().openLastResults(); });
    connect(about, &QAction::triggered, this, [this] { showAbout(); });
}

void MainWindow::setFocusOrder() {
    const Control order[] = {Control::StopButton,
                             Control::MinimumBids,
                             Control::FeaturedSearchButton,
                             Control::CategorySearchButton,
                             Control::CategoryNumber,
                             Control::TitleWords,
                             Control::DescriptionsBox,
                             Control::ExcludedWords,
                             Control::PriceFrom,
                             Control::PriceTo,
                             Control::CategoryList,
                             Control::SearchMode,
                             Control::KeywordSearchButton,
                             Control::ShowCategoriesButton,
                             Control::CompletedSearchButton,
                             Control::CompletedWords,
                             Control::IncompleteButton};
    QList<QWidget*> chain;
    for (Control control : order) chain.append(widget(control));
    // The tab control takes the focus between the minimum and the featured search button.
    chain.insert(2, findChild<TabControl*>("searchTabs"));
    for (qsizetype i = 0; i + 1 < chain.size(); ++i) setTabOrder(chain[i], chain[i + 1]);
    widget(Control::StopButton)->setFocus();
}

void MainWindow::onClick(Control button, std::function<void(SearchController&)> command) {
    connect(static_cast<QAbstractButton*>(widget(button)), &QAbstractButton::clicked, this,
            [this, command = std::move(command)] {
                if (logic_) command(*logic_);
            });
}

void MainWindow::onTrigger(QAction* action, std::function<void(SearchController&)> command) {
    connect(action, &QAction::triggered, this, [this, command = std::move(command)] {
        if (logic_) command(*logic_);
    });
}

void MainWindow::attach(SearchController& logic) { logic_ = &logic; }

bool MainWindow::isStopButton(const QObject* object) const {
    return object == widget(Control::StopButton);
}

void MainWindow::showAbout() {
    // One box at a time, with no owner: the main window stays usable while it is open. A box
    // that was closed may still wait for its discarding (during a search nothing returns to the
    // event loop), so only a showing box is raised; otherwise a new one is made.
    if (!about_ || !about_->isVisible()) {
        about_ = new AboutBox(identity_);
        about_->setAttribute(Qt::WA_DeleteOnClose);
        // A Wayland compositor places a new window where it likes, unless it belongs to another:
        // there it is still the window's box, so that it opens over the window.
        if (OnWayland()) {
            about_->winId();
            about_->windowHandle()->setTransientParent(windowHandle());
        }
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A running search is told to stop first; it closes the window once it has returned.
    if (logic_ && !logic_->mayClose()) {
        event->ignore();
        return;
    }
    if (about_) about_->close();
    event->accept();
}

void MainWindow::closeWindow() { close(); }

void MainWindow::place(Control control, QWidget* w) {
    controls_[static_cast<std::size_t>(control)] = w;
}

QWidget* MainWindow::widget(Control control) const {
    return controls_[static_cast<std::size_t>(control)];
}

void MainWindow::setCaption(Control control, const std::string& text) {
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

void MainWindow::setEnabled(Control control, bool enabled) { widget(control)->setEnabled(enabled); }

std::string MainWindow::text(Control control) const {
    QWidget* w = widget(control);
    if (auto* box = qobject_cast<QLineEdit*>(w)) return box->text().toStdString();
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text().toStdString();
    return {};
}

int MainWindow::listIndex(Control control) const {
    auto* list = qobject_cast<QComboBox*>(widget(control));
    return list ? list->currentIndex() : -1;
}

void MainWindow::setListIndex(Control control, int index) {
    if (auto* list = qobject_cast<QComboBox*>(widget(control))) list->setCurrentIndex(index);
}

void MainWindow::appendListEntry(Control control, const std::string& entry) {
    if (auto* list = qobject_cast<QComboBox*>(widget(control)))
        list->addItem(QString::fromStdString(entry));
}

bool MainWindow::isChecked(Control control) const {
    auto* box = qobject_cast<QCheckBox*>(widget(control));
    return box && box->isChecked();
}

}  // namespace vendra
