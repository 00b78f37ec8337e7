// The yardstick of the start-up benchmark: a Qt Widgets program that shows one empty window of
// the given size and nothing else.

#include <QApplication>
#include <QWidget>

#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int width = argc > 2 ? std::atoi(argv[1]) : 617;
    const int height = argc > 2 ? std::atoi(argv[2]) : 318;
    QWidget window;
    window.setFixedSize(width, height);
    window.show();
    return QApplication::exec();
}
