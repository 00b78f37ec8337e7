#pragma once

#include "app/form1.h"
#include "platform/registry/file_registry.h"
#include "platform/spool/take_spool.h"
#include "platform/system/steady_clock.h"
#include "platform/ui/qt_event_pump.h"
#include "support/fake_browser.h"
#include "support/fake_help.h"
#include "support/fake_wave_input.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// A main window on fakes for everything but the event pump and the clock, which are real so
// that timers and clicks run inside the recording loop as they do in the program.
struct Form1Fixture {
    explicit Form1Fixture(CommandDevice* realDevice = nullptr,
                          MultimediaControl* realControl = nullptr, WaveInput* realInput = nullptr)
        : form(makeForm(realDevice, realControl, realInput)) {}

    std::unique_ptr<Form1> makeForm(CommandDevice* realDevice, MultimediaControl* realControl,
                                    WaveInput* realInput) {
        // The fake input opens, then fails before its first block: each tick's capture gives
        // up at once and quietly, so the window's own tests are not driven by a spectrum loop.
        waveInput.blocksToDeliver = 0;
        waveInput.afterLast = FakeWaveInput::AfterLast::Fail;
        return std::make_unique<Form1>(
            Form1Services{realDevice ? *realDevice : device,
                          realControl ? *realControl : mmControl,
                          boxes,
                          dialog,
                          pump,
                          clock,
                          realInput ? *realInput : waveInput,
                          {boxes, registry, helpEngine, windows, strings, programFolder},
                          browser,
                          spool});
    }

    void showWindow() {
        if (!form->isVisible()) {
            form->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        }
    }

    // A left click in the middle of `button`, as the user makes it: the window is shown, the
    // cursor moves there and the window gets the press and the release.
    void click(QWidget* button) {
        showWindow();
        const QPoint centre = button->mapToGlobal(button->rect().center());
        QCursor::setPos(centre);
        QWindow* window = button->window()->windowHandle();
        QTest::mouseClick(window, Qt::LeftButton, {}, window->mapFromGlobal(centre));
    }

    // Runs `action` from the event loop after `ms`, e.g. a Stop click during a recording.
    // The window is shown first: showing it runs events, which must not run the action early.
    void after(int ms, std::function<void()> action) {
        showWindow();
        QTimer::singleShot(ms, form.get(), std::move(action));
    }

    // Lets events run until `done` holds or `ms` pass; returns whether it held.
    bool waitUntil(const std::function<bool()>& done, int ms) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms)
            pump.waitUntil([] { return false; }, 20);
        return done();
    }

    // The help services: a registry and a program folder of the fixture's own, a fake engine.
    QTemporaryDir helpDir;
    FileRegistry registry{helpDir.filePath(QStringLiteral("registry.json"))};
    std::string programFolder = helpDir.filePath(QStringLiteral("program")).toStdString();
    FakeHelpEngine helpEngine;
    FakeWindowServices windows;
    FakeProgramStrings strings;
    FakeWaveInput waveInput;
    FakeCommandDevice device;
    FakeMultimediaControl mmControl;
    FakeMessageBox boxes;
    FakeFileDialog dialog;
    QtEventPump pump;
    SteadyClock clock;
    FakeBrowser browser;
    // The test program's own state folder (see TestStateFolder).
    TakeSpool spool;
    std::unique_ptr<Form1> form;
};
