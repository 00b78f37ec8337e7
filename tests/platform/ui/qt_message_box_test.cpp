#include "platform/ui/qt_message_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>

TEST(QtMessageBox, ABoxForALongPathFitsTheScreen) {
    std::string path = "/home/someone";
    while (path.size() < 700)
        path += "/a-rather-long-folder-name-" + std::to_string(path.size());
    const std::string longName = "/tmp/" + std::string(250, 'n') + ".wav";
    QtMessageBox boxes;
    for (const std::string& p : {path, longName}) {
        const auto box =
            boxes.build("The recording could not be saved to " + p + ": the disk is full.", "Error",
                        MessageIcon::None, MessageButtons::Ok);
        box->show();
        QApplication::processEvents();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_LE(box->frameGeometry().width(), screen.width()) << p.size();
        EXPECT_LE(box->frameGeometry().height(), screen.height()) << p.size();
        box->hide();
    }
}

TEST(QtMessageBox, LongWordsGetPlacesToBreakAndShortOnesDoNot) {
    const QChar zwsp(0x200B);
    EXPECT_EQ(breakableText(QStringLiteral("File already exists ! Overwrite ?")),
              QStringLiteral("File already exists ! Overwrite ?"));
    const QString path = QStringLiteral("/home/someone/recordings/2026/december/the-tenth.wav");
    const QString broken = breakableText(path);
    EXPECT_EQ(QString(broken).remove(zwsp), path);
    EXPECT_EQ(broken.count(zwsp), path.count(QLatin1Char('/')) - 1);
    const QString run(100, QLatin1Char('x'));
    EXPECT_EQ(breakableText(run).count(zwsp), 2);
}

// The marks that let a long path wrap must not end up in a path the user copies from the box.
TEST(QtMessageBox, ACopiedLongPathIsThePathItself) {
    const std::string path = "/home/someone/recordings/2026/december/a-take-of-the-tenth.wav";
    QtMessageBox boxes;
    const auto box = boxes.build("The recording is kept at " + path + ".", "Sorvinta",
                                 MessageIcon::None, MessageButtons::Ok);
    box->show();
    QApplication::processEvents();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(label, nullptr);
    label->setSelection(0, static_cast<int>(label->text().size()));
    QTest::keyClick(label, Qt::Key_C, Qt::ControlModifier);
    QApplication::processEvents();
    const QString copied = clipboard->text();
    EXPECT_TRUE(copied.contains(QString::fromStdString(path))) << copied.toStdString();
    EXPECT_FALSE(copied.contains(QChar(0x200B)));
    // What another program copies meanwhile is not touched.
    const QString elsewhere = QStringLiteral("a") + QChar(0x200B) + QStringLiteral("b");
    clipboard->setText(elsewhere);
    QApplication::processEvents();
    EXPECT_EQ(clipboard->text(), elsewhere);
}

TEST(QtMessageBox, SaveLaterAndDiscardAreTheButtonsOfALeftTake) {
    QtMessageBox boxes;
    const auto box =
        boxes.build("A recording of 4.0 s from 10 Dec 2026 14:03 was not saved.", "Sorvinta",
                    MessageIcon::Question, MessageButtons::SaveLaterDiscard);
    QStringList captions;
    for (QAbstractButton* b : box->buttons())
        captions << b->text();
    captions.sort();
    EXPECT_EQ(captions, (QStringList{"Discard", "Later", QString::fromUtf8("Save…")}));
    EXPECT_EQ(box->escapeButton()->text(), "Later");
}
