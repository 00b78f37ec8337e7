#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;

// "Topics Found": the topics a keyword or link name leads to, to choose one.
class TopicsFoundDialog : public QDialog {
    Q_OBJECT
public:
    struct Topic {
        QString title;
        std::string path;
    };
    TopicsFoundDialog(const std::vector<Topic>& topics, QWidget* parent);
    QListWidget* list() const { return m_list; }

signals:
    void topicChosen(const std::string& path);

private:
    void choose();
    QListWidget* m_list;
    std::vector<Topic> m_topics;
};
