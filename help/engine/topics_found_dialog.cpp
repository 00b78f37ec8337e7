#include "help/engine/topics_found_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TopicsFoundDialog::TopicsFoundDialog(const std::vector<Topic>& topics, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)), m_topics(topics) {
    setWindowTitle(QStringLiteral("Topics Found"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Click a topic, then click Display."), this));
    for (const Topic& t : m_topics)
        m_list->addItem(t.title);
    m_list->setCurrentRow(0);
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("&Display"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TopicsFoundDialog::choose);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemActivated, this, &TopicsFoundDialog::choose);
    resize(360, 260);
}

void TopicsFoundDialog::choose() {
    const int row = m_list->currentRow();
    if (row >= 0 && row < static_cast<int>(m_topics.size()))
        emit topicChosen(m_topics[static_cast<std::size_t>(row)].path);
    accept();
}
