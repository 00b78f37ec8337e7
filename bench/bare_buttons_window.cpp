// The yardstick of the click benchmark: a bare Qt Widgets window with two checkable push
// buttons in an exclusive group, so that a click leaves the clicked one down, as an option
// button of the main window stays down. Placed at the position given (default 0,0).

#include <QApplication>
#include <QButtonGroup>
#include <QPushButton>
#include <QWidget>

#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(200, 80);
    window.move(argc > 2 ? std::atoi(argv[1]) : 0, argc > 2 ? std::atoi(argv[2]) : 0);
    QButtonGroup group;
    const char* names[] = {"first", "second"};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(names[i]), &window);
        button->setObjectName(QString::fromLatin1(names[i]));
        button->setCheckable(true);
        button->setGeometry(10, 10 + 32 * i, 153, 21);
        group.addButton(button);
    }
    window.show();
    return QApplication::exec();
}
