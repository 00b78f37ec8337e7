#include "app/about_window.h"

#include "app/form_look.h"
#include "app/window_place.h"
#include "platform/browser/browser.h"
#include "platform/ui/message_box.h"

#include <QCursor>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

const QRect kShape1 = twipsRect(180, 960, 3975, 735);

// The hand pointer over the link; its picture carries its hot spot, the fingertip. On a
// high-density screen it is pixel-doubled like the window's other pictures.
QCursor handCursor(qreal devicePixelRatio) {
    const QImage hand(QStringLiteral(":/cursors/hand.png"));
    const QStringList spot = hand.text(QStringLiteral("HotSpot")).split(QLatin1Char(','));
    if (hand.isNull() || spot.size() != 2)
        return QCursor(Qt::PointingHandCursor);
    const int scale = std::max(1, qRound(devicePixelRatio));
    QPixmap pixmap = QPixmap::fromImage(
        hand.scaled(hand.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    pixmap.setDevicePixelRatio(scale);
    return QCursor(pixmap, spot[0].toInt(), spot[1].toInt());
}

} // namespace

About::About(Browser& browser, MessageBox& messages, const QIcon& icon)
    : QWidget(nullptr), m_browser(browser), m_messages(messages) {
    loadFormResources();
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("  About Sorvinta 3.0"));
    setWindowIcon(icon);
    setFixedSize(kClientWidth, kClientHeight);
    // Opened centred, as the main window is; without a window manager nobody else places it.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(centredTopLeft(size(), screen->availableGeometry()));

    const QFont plain = formFont(QStringLiteral("MS Sans Serif"), 8.25, false);
    setFont(plain);

    Image1 = new QLabel(this);
    Image1->setGeometry(twipsRect(780, 300, 3030, 1200));
    Image1->setPixmap(QPixmap(QStringLiteral(":/about/logo.png")));

    Frame1 = new QGroupBox(QStringLiteral("  About "), this);
    Frame1->setGeometry(twipsRect(180, 1680, 4335, 1905));
    Frame1->setStyleSheet(frameStyleSheet(Colour::RGB(67, 83, 120), Colour::RGB(192, 192, 192)));

    Label1 = new QLabel(QStringLiteral("Sorvinta 3.0\n\u00a9 The Sorvinta developers"), Frame1);
    Label1->setGeometry(twipsRect(960, 240, 2535, 435));
    Label1->setWordWrap(true);
    Label1->setStyleSheet(labelStyleSheet(Colour::RGB(128, 64, 0)));

    Label4 = new QLabel(QString::fromLatin1(kWebAddress), Frame1);
    Label4->setGeometry(twipsRect(900, 660, 2415, 255));
    Label4->setFont(formFont(QStringLiteral("MS Sans Serif"), 8.25, true));
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setStyleSheet(labelStyleSheet(Colour::RGB(90, 106, 143)));
    // Wider than its box in the stand-in font, the address would lose its ends: it grows
    // about its centre instead.
    if (Label4->sizeHint().width() > Label4->width())
        fitToText(Label4, Anchor::Centre);
    Label4->setCursor(handCursor(devicePixelRatioF()));
    Label4->installEventFilter(this);
}

void About::Label4Click() {
    // The desktop's opener may give up after this window has closed: the message needs only
    // the program's message boxes.
    m_browser.openNewWindow(kWebAddress, [&messages = m_messages] {
        messages.show(std::string("No web browser could be started to show the Sorvinta web "
                                  "site. Its address is:\n\n") +
                          kWebAddress,
                      kAppTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    });
}

bool About::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label4 && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            Label4->rect().contains(mouse->position().toPoint()))
            Label4Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// Escape closes the window, as it closes a dialog.
void About::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void About::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), qColour(Colour::RGB(192, 192, 192)));
    painter.setPen(qColour(Colour::RGB(255, 255, 255)));
    painter.setBrush(qColour(Colour::RGB(122, 128, 115)));
    painter.drawRect(QRectF(kShape1).adjusted(0.5, 0.5, -0.5, -0.5));
}
