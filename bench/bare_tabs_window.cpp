// The yardstick for the help window's tabs in the click benchmark: a bare Qt Widgets window
// holding only a tab widget of the help window's navigation size, with pages made as the help
// window makes its own (a tree; a label, a field, a list and a button; a field and a list), so
// that a click on a tab shows what switching a page of that size costs on this display.
// Placed at the position given (default 0,0).

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstdlib>

namespace {

QWidget* page(QWidget* parent) {
    auto* tab = new QWidget(parent);
    (new QVBoxLayout(tab))->setContentsMargins(2, 2, 2, 2);
    return tab;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTabWidget tabs;
    tabs.resize(207, 603);
    tabs.move(argc > 2 ? std::atoi(argv[1]) : 0, argc > 2 ? std::atoi(argv[2]) : 0);

    QWidget* contents = page(&tabs);
    auto* tree = new QTreeWidget(contents);
    tree->setHeaderHidden(true);
    for (int i = 0; i < 6; ++i) {
        auto* chapter = new QTreeWidgetItem(tree, {QStringLiteral("Chapter %1").arg(i + 1)});
        for (int j = 0; j < 3; ++j)
            new QTreeWidgetItem(chapter, {QStringLiteral("Topic %1.%2").arg(i + 1).arg(j + 1)});
    }
    tree->expandToDepth(0);
    contents->layout()->addWidget(tree);

    QWidget* index = page(&tabs);
    index->layout()->addWidget(new QLabel(QStringLiteral("Type in the keyword to find:"), index));
    index->layout()->addWidget(new QLineEdit(index));
    auto* keywords = new QListWidget(index);
    for (int i = 0; i < 30; ++i)
        keywords->addItem(QStringLiteral("keyword %1").arg(i + 1));
    index->layout()->addWidget(keywords);
    index->layout()->addWidget(new QPushButton(QStringLiteral("&Display"), index));

    QWidget* search = page(&tabs);
    search->layout()->addWidget(new QLineEdit(search));
    search->layout()->addWidget(new QListWidget(search));

    tabs.addTab(contents, QStringLiteral("Contents"));
    tabs.addTab(index, QStringLiteral("Index"));
    tabs.addTab(search, QStringLiteral("Search"));
    tabs.show();
    return QApplication::exec();
}
