// The least a Qt program does to show a window: the yardstick for the program's own start-up.
// With --text the window shows one line of text, which alone makes Qt load its fonts and ask for
// the desktop's accessibility bus before the window appears. With --controls it shows as many
// controls of each kind as the program's window, with captions in the same fonts, in Qt's own
// style: what the window's content costs however it is drawn. scripts/bench times all three.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <cstring>

namespace {

// The program's window in content only: a menu, the status line, four tabs, and on them the
// labels, text boxes, buttons and lists, each at its own place.
void AddControls(QWidget& window) {
    QFont bold("Arial", 10, QFont::Bold);
    bold.setPointSizeF(9.75);
    window.setFont(bold);
    auto* menuBar = new QMenuBar(&window);
    QMenu* help = menuBar->addMenu("Help");
    for (const char* item : {"Open last Results", "Instructions", "Email Author", "About"})
        help->addAction(item);
    menuBar->addAction("About");
    auto* status =
        new QLabel("Enter the minimum amount of bids you want the search to find", &window);
    status->setWordWrap(true);
    status->setGeometry(32, 20, 489, 33);
    QFont small = bold;
    small.setPointSizeF(8.25);
    status->setFont(small);
    (new QLabel("Search for items that have at least", &window))->move(40, 68);
    (new QLineEdit("0", &window))->setGeometry(264, 60, 33, 25);
    (new QLabel("bids.", &window))->move(304, 68);
    auto* tabs = new QTabWidget(&window);
    tabs->setGeometry(8, 100, 513, 235);
    // Each tab's labels, text boxes and buttons, as many as the program's.
    const struct {
        const char* name;
        int labels, boxes, buttons;
    } pages[] = {
        {"Featured", 0, 0, 1}, {"Category", 1, 1, 2}, {"Completed", 1, 1, 1}, {"Keyword", 6, 4, 1}};
    for (const auto& [name, labels, boxes, buttons] : pages) {
        auto* page = new QWidget;
        tabs->addTab(page, name);
        for (int i = 0; i < labels; ++i)
            (new QLabel(QString("%1 label %2").arg(name).arg(i), page))->move(8, 10 + 30 * i);
        for (int i = 0; i < boxes; ++i)
            (new QLineEdit(page))->setGeometry(120, 10 + 30 * i, 120, 25);
        for (int i = 0; i < buttons; ++i)
            (new QPushButton(QString("%1 %2").arg(name).arg(i), page))
                ->setGeometry(272, 10 + 30 * i, 217, 25);
    }
    auto* modes = new QComboBox(tabs->widget(3));
    modes->addItems({"All of these Words", "Any of these words", "Exact phrase"});
    modes->setGeometry(272, 150, 217, 24);
    auto* categories = new QComboBox(tabs->widget(3));
    for (int i = 0; i < 24; ++i) categories->addItem(QString("Category %1").arg(i));
    categories->setGeometry(16, 150, 225, 24);
    (new QCheckBox("Title and Description", tabs->widget(3)))->move(16, 180);
    (new QPushButton("See Incomplete Results", &window))->setGeometry(8, 348, 257, 41);
    (new QPushButton("Stop Search", &window))->setGeometry(272, 348, 249, 41);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Bare Qt window");
    window.resize(528, 400);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0)
        (new QLabel("One line of text", &window))->move(10, 10);
    if (argc > 1 && std::strcmp(argv[1], "--controls") == 0) AddControls(window);
    window.show();
    return QApplication::exec();
}
