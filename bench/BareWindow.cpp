// The least a Qt program does to show a window: the yardstick for the program's own start-up.
// With --text the window shows one line of text, which alone makes Qt load its fonts and ask for
// the desktop's accessibility bus before the window appears. scripts/bench times both.

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Bare Qt window");
    window.resize(528, 400);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0)
        (new QLabel("One line of text", &window))->move(10, 10);
    window.show();
    return QApplication::exec();
}
