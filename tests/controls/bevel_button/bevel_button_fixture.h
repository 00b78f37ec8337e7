#pragma once

// A shown form holding bevel buttons, a real mouse on the offscreen platform and a log of the
// buttons' events.

#include "controls/bevel_button/bvl_button.h"

#include "support/fakes.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QTest>
#include <QWidget>

#include <string>
#include <vector>

class BevelForm : public ::testing::Test {
protected:
    BevelForm() {
        form.setObjectName(QStringLiteral("Form1"));
        form.resize(400, 300);
    }

    // A button still held when a test ends is let go, so the next test starts with none.
    void TearDown() override {
        if (!form.windowHandle())
            return;
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            if (QGuiApplication::mouseButtons() & button)
                QTest::mouseRelease(form.windowHandle(), button, {}, QPoint(395, 295));
    }

    bvlBUTTON* add(const char* name, QRect box, QWidget* container = nullptr) {
        auto* button = new bvlBUTTON(container ? container : &form, &messages);
        button->setObjectName(QString::fromLatin1(name));
        button->InitProperties(); // the caption is the name
        button->setGeometry(box);
        log(button);
        return button;
    }

    void show() {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    // Every event of the button, in order, as text: "MouseDown 1 0 50 20".
    void log(bvlBUTTON* b) {
        const std::string name = b->objectName().toStdString();
        auto mouse = [this, name](const char* what) {
            return [this, name, what](std::int16_t button, std::int16_t shift, float x, float y) {
                events.push_back(name + " " + what + " " + std::to_string(button) + " " +
                                 std::to_string(shift) + " " + std::to_string(int(x)) + " " +
                                 std::to_string(int(y)));
            };
        };
        QObject::connect(b, &bvlBUTTON::Click, [this, name] { events.push_back(name + " Click"); });
        QObject::connect(b, &bvlBUTTON::DblClick,
                         [this, name] { events.push_back(name + " DblClick"); });
        QObject::connect(b, &bvlBUTTON::KeyDown, [this, name](std::int16_t k, std::int16_t s) {
            events.push_back(name + " KeyDown " + std::to_string(k) + " " + std::to_string(s));
        });
        QObject::connect(b, &bvlBUTTON::KeyPress, [this, name](std::int16_t k) {
            events.push_back(name + " KeyPress " + std::to_string(k));
        });
        QObject::connect(b, &bvlBUTTON::KeyUp, [this, name](std::int16_t k, std::int16_t s) {
            events.push_back(name + " KeyUp " + std::to_string(k) + " " + std::to_string(s));
        });
        QObject::connect(b, &bvlBUTTON::MouseDown, mouse("MouseDown"));
        QObject::connect(b, &bvlBUTTON::MouseMove, mouse("MouseMove"));
        QObject::connect(b, &bvlBUTTON::MouseUp, mouse("MouseUp"));
        QObject::connect(b, &bvlBUTTON::MouseExit,
                         [this, name] { events.push_back(name + " MouseExit"); });
    }

    // The events logged since the last call, without mouse moves unless asked for.
    std::vector<std::string> take(bool withMoves = false) {
        std::vector<std::string> out;
        for (const std::string& e : events)
            if (withMoves || e.find(" MouseMove ") == std::string::npos)
                out.push_back(e);
        events.clear();
        return out;
    }

    QPoint onForm(const QWidget* w, QPoint local) const { return w->mapTo(&form, local); }

    // Moves the cursor to a point of `w`, as the user would: the window gets the move.
    void moveTo(const QWidget* w, QPoint local) {
        QCursor::setPos(form.mapToGlobal(onForm(w, local)));
        QCoreApplication::processEvents();
    }
    void moveAway() { moveTo(&form, QPoint(395, 295)); }

    void press(const QWidget* w, QPoint local, Qt::MouseButton button = Qt::LeftButton) {
        moveTo(w, local);
        QTest::mousePress(form.windowHandle(), button, {}, onForm(w, local));
    }
    void release(const QWidget* w, QPoint local, Qt::MouseButton button = Qt::LeftButton) {
        moveTo(w, local);
        QTest::mouseRelease(form.windowHandle(), button, {}, onForm(w, local));
    }
    void click(const QWidget* w, QPoint local, Qt::MouseButton button = Qt::LeftButton) {
        press(w, local, button);
        release(w, local, button);
    }

    QWidget form;
    FakeMessageBox messages;
    std::vector<std::string> events;
};
