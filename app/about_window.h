#pragma once

#include <QIcon>
#include <QWidget>

class Browser;
class MessageBox;
class QGroupBox;
class QLabel;

// The About window: the product's name and version with its logo, and a link label that shows
// the product's web site in a new browser window. A window of its own, without an owner.
class About : public QWidget {
    Q_OBJECT
public:
    // `icon` is the main window's, so that its pictures are decoded once.
    About(Browser& browser, MessageBox& messages, const QIcon& icon);

    static constexpr int kClientWidth = 318;
    static constexpr int kClientHeight = 253;
    static constexpr const char* kWebAddress = "https://www.sorvinta.example/";

    QLabel* Image1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label4 = nullptr;

    void Label4Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Browser& m_browser;
    MessageBox& m_messages;
};
