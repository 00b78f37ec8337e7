#include "form1_fixture.h"

#include "app/about_window.h"
#include "controls/progress_bar/xp_progress_bar.h"
#include "platform/skin/skin_caption_bar.h"
#include "platform/spool/take_file.h"
#include "platform/spool/take_spool.h"
#include "platform/ui/surface_view.h"
#include "recorder/status_word.h"
#include "support/high_density.h"

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <fstream>

namespace {

QRgb pixelAt(QWidget* widget, int x, int y) {
    return widget->grab().toImage().pixel(x, y);
}

TEST(Form1, WindowIsFixedAtItsClientSize) {
    Form1Fixture f;
    EXPECT_EQ(f.form->client()->size(), QSize(607, 270));
    EXPECT_EQ(f.form->minimumSize(), f.form->maximumSize());
    EXPECT_TRUE(f.form->windowTitle().isEmpty());
}

TEST(Form1, ControlsSitWhereTheLayoutPutsThem) {
    Form1Fixture f;
    Form1& w = *f.form;
    const std::pair<QWidget*, QRect> boxes[] = {
        {w.Scope, QRect(167, 52, 150, 41)},          {w.cmdRecord, QRect(50, 48, 69, 49)},
        {w.cmdStop, QRect(50, 103, 69, 38)},         {w.cmdPlay, QRect(389, 213, 90, 25)},
        {w.cmdStopPlay, QRect(486, 213, 33, 25)},    {w.cmdPause, QRect(527, 213, 33, 25)},
        {w.cmdOpen, QRect(390, 182, 34, 25)},        {w.Command1, QRect(62, 217, 42, 24)},
        {w.txtFileName, QRect(114, 221, 213, 16)},   {w.Frame3, QRect(375, 20, 201, 138)},
        {w.barMMControl1, QRect(429, 183, 130, 19)}, {w.optFreq[2], QRect(25, 77, 153, 21)},
        {w.lblStatus, QRect(224, 110, 93, 25)},
    };
    for (const auto& [widget, box] : boxes)
        EXPECT_EQ(widget->geometry(), box) << widget->metaObject()->className();
}

TEST(Form1, StartsIdleWithTheFirstFormatChosen) {
    Form1Fixture f;
    Form1& w = *f.form;
    EXPECT_EQ(w.statusWord(), "STOP");
    EXPECT_EQ(w.statusColour(), status_word::kStartColour);
    EXPECT_TRUE(w.cmdRecord->Enabled());
    EXPECT_FALSE(w.cmdStop->Enabled());
    EXPECT_TRUE(w.optFreq[0]->Value());
    EXPECT_EQ(w.lblSettings->text(), "44,100 kHz, 16 Bit, Stereo");
    EXPECT_EQ(w.lblTime->text(), "00:00");
    EXPECT_EQ(w.lblSize->text(), "BYTES");
    EXPECT_EQ(w.Frame3->title(), " WAV SETTINGS ");
    EXPECT_EQ(w.txtFileName->toolTip(), "Save Wav File Path");
    EXPECT_EQ(w.cmdRecord->toolTip(), "Record");
    EXPECT_EQ(w.cmdOpen->toolTip(), "Open File to Play");
    EXPECT_FALSE(w.tmrMMControl1.isActive());
}

TEST(Form1, PanelsAndBackgroundHaveTheirColours) {
    Form1Fixture f;
    QWidget* client = f.form->client();
    EXPECT_EQ(QColor(pixelAt(client, 44, 100)), QColor(165, 174, 157)); // record buttons
    EXPECT_EQ(QColor(pixelAt(client, 375, 245)), QColor(80, 106, 146)); // playback controls
    EXPECT_EQ(QColor(pixelAt(client, 320, 150)), QColor(70, 85, 94));   // status and setting
    EXPECT_EQ(QColor(pixelAt(client, 600, 5)), QColor(192, 192, 192));  // window background
    EXPECT_EQ(QColor(pixelAt(client, 200, 70)), QColor(80, 106, 146));  // the scope panel
}

// On a screen of twice the density the background picture is pixel-doubled, never smoothed.
TEST(Form1, BackgroundPictureDoublesItsPixelsOnAHighDensityScreen) {
    Form1Fixture f;
    const QImage picture(QStringLiteral(":/background.png"));
    ASSERT_FALSE(picture.isNull());
    // The top left corner: no panel and no control lies there.
    EXPECT_EQ(undoubledPixels(renderDoubled(*f.form->client()), picture.copy(0, 0, 36, 36)), 0);
}

TEST(Form1, OptionButtonsFormOneGroup) {
    Form1Fixture f;
    Form1& w = *f.form;
    f.click(w.optFreq[3]);
    EXPECT_EQ(w.lblSettings->text(), "48,000 kHz,  8 Bit, Stereo");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(w.optFreq[i]->Value(), i == 3) << i;
    EXPECT_EQ(w.recording().bitsPerSample(), "8");
    EXPECT_EQ(w.recording().samplesPerSec(), "48000");
}

TEST(Form1, RecordAndStopThroughClicks) {
    QTemporaryDir dir;
    Form1Fixture f;
    Form1& w = *f.form;
    w.txtFileName->setText(dir.filePath("take.wav"));
    f.device.statusReply = "512";
    bool sawRecording = false;
    f.after(150, [&] {
        sawRecording =
            w.statusWord() == "RECORD" && !w.cmdRecord->Enabled() && w.cmdStop->Enabled();
        f.click(w.cmdStop);
    });
    f.click(w.cmdRecord); // returns once the take is saved

    EXPECT_TRUE(sawRecording);
    EXPECT_EQ(w.statusWord(), "STOP");
    EXPECT_EQ(w.statusColour(), status_word::kStopAfterRecordingColour);
    EXPECT_TRUE(w.cmdRecord->Enabled());
    EXPECT_FALSE(w.cmdStop->Enabled());
    EXPECT_EQ(w.lblSize->text(), ".50 kb");
    ASSERT_GE(f.device.sent.size(), 5u);
    EXPECT_EQ(f.device.sent[f.device.sent.size() - 2],
              "save recsound " + dir.filePath("take.wav").toStdString());
    EXPECT_EQ(f.mmControl.commands, (std::vector<std::string>{"Stop", "Close"}));
    // The loop waits for events instead of spinning: a few hundred passes at most, not millions.
    EXPECT_LT(f.device.sent.size(), 200u);
}

TEST(Form1, CloseDuringRecordingStopsSavesAndIsRefusedOnce) {
    QTemporaryDir dir;
    Form1Fixture f;
    Form1& w = *f.form;
    w.show();
    w.txtFileName->setText(dir.filePath("take.wav"));
    bool firstCloseAccepted = true;
    f.after(100, [&] { firstCloseAccepted = w.close(); });
    f.click(w.cmdRecord);
    EXPECT_FALSE(firstCloseAccepted);
    EXPECT_EQ(f.device.sent.back(), "close recsound");
    EXPECT_EQ(w.statusWord(), "STOP");
    EXPECT_TRUE(w.close());
    // The close sequence stops the playback control.
    EXPECT_EQ(f.mmControl.commands.back(), "Close");
}

TEST(Form1, SavePathButtonFillsTheTextBoxUnlessCancelled) {
    Form1Fixture f;
    Form1& w = *f.form;
    w.txtFileName->setText("/typed/name.wav");
    f.dialog.choices = {""};
    f.click(w.Command1);
    EXPECT_EQ(w.txtFileName->text(), "/typed/name.wav");
    f.dialog.choices = {"/picked/take.wav"};
    f.click(w.Command1);
    EXPECT_EQ(w.txtFileName->text(), "/picked/take.wav");
}

TEST(Form1, MinimisingSetsTheCaption) {
    Form1Fixture f;
    f.form->show();
    f.form->setWindowState(Qt::WindowMinimized);
    EXPECT_EQ(f.form->windowTitle(), "Sorvinta 3.0");
    f.form->setWindowState(Qt::WindowNoState);
    EXPECT_EQ(f.form->windowTitle(), "Sorvinta 3.0");
}

TEST(Form1, ExitMenuTakesTheCloseRoad) {
    Form1Fixture f;
    f.form->show();
    f.form->mnuExit->trigger();
    EXPECT_FALSE(f.form->isVisible());
    EXPECT_EQ(f.mmControl.commands, (std::vector<std::string>{"Stop", "Close"}));
}

TEST(Form1, WindowIconComesInTheSizesAWindowShows) {
    Form1Fixture f;
    const QIcon icon = f.form->windowIcon();
    EXPECT_EQ(icon.availableSizes(),
              (QList<QSize>{{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}}));
    EXPECT_EQ(icon.pixmap(48, 48).toImage().pixel(24, 24),
              QImage(":/appicon/48x48.png").pixel(24, 24));
}

TEST(Form1, SkinFramesTheMenuAndTheClientArea) {
    Form1Fixture f;
    Form1& w = *f.form;
    ASSERT_TRUE(w.skinFrame().attached());
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    const int menu = w.menuBar()->sizeHint().height();
    EXPECT_EQ(w.size(), QSize(5 + 607 + 5, 24 + menu + 270 + 5));
    w.show();
    EXPECT_EQ(w.menuBar()->geometry(), QRect(5, 24, 607, menu));
    EXPECT_EQ(w.client()->mapTo(&w, QPoint(0, 0)), QPoint(5, 24 + menu));
    EXPECT_EQ(w.client()->size(), QSize(607, 270));
}

TEST(Form1, CaptionBarsCloseButtonTakesTheCloseRoad) {
    Form1Fixture f;
    f.form->show();
    SkinCaptionBar* caption = f.form->skinFrame().captionBar();
    ASSERT_NE(caption, nullptr);
    // The close button sits right in the caption bar, inside the frame.
    QTest::mouseClick(caption, Qt::LeftButton, {}, QPoint(caption->width() - 16, 12));
    EXPECT_FALSE(f.form->isVisible());
    EXPECT_EQ(f.mmControl.commands, (std::vector<std::string>{"Stop", "Close"}));
}

} // namespace

namespace {

TEST(Form1, PositionBarTakesItsStoredLook) {
    Form1Fixture f;
    const XP_ProgressBar& bar = *f.form->barMMControl1;
    EXPECT_TRUE(f.boxes.shown.empty()) << f.boxes.shown.front().text;
    EXPECT_EQ(bar.geometry(), QRect(429, 183, 130, 19));
    EXPECT_EQ(bar.Scrolling(), 5);
    EXPECT_TRUE(bar.ShowText());
    EXPECT_EQ(bar.Color(), Colour::RGB(126, 142, 197));
    EXPECT_EQ(bar.BrushStyle(), 0);
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_DOUBLE_EQ(bar.Font().pointSizeF(), 9.75);
}

TEST(Form1, PlaybackButtonsDoNothingWhileRecording) {
    QTemporaryDir dir;
    Form1Fixture f;
    Form1& w = *f.form;
    w.txtFileName->setText(dir.filePath("take.wav"));
    f.dialog.name = dir.filePath("other.wav").toStdString();
    f.mmControl.len = 5000;
    f.after(100, [&] {
        for (QWidget* b : {static_cast<QWidget*>(w.cmdPlay), static_cast<QWidget*>(w.cmdPause),
                           static_cast<QWidget*>(w.cmdStopPlay), static_cast<QWidget*>(w.cmdOpen)})
            f.click(b);
        EXPECT_EQ(w.statusWord(), "RECORD");
        f.click(w.cmdStop);
    });
    f.click(w.cmdRecord);
    EXPECT_EQ(f.mmControl.commands, (std::vector<std::string>{"Stop", "Close"}));
    EXPECT_EQ(f.dialog.shows, 0);
    EXPECT_FALSE(w.tmrMMControl1.isActive());
}

TEST(Form1, RecordingStartEndsPlaybackAndResetsTheBar) {
    QTemporaryDir dir;
    Form1Fixture f;
    Form1& w = *f.form;
    f.dialog.name = "/some/file.wav";
    f.mmControl.len = 4000;
    f.mmControl.pos = 2000;
    f.click(w.cmdPlay);
    EXPECT_EQ(w.statusWord(), "PLAY");
    EXPECT_TRUE(w.tmrMMControl1.isActive());
    w.barMMControl1->setValue(50);

    w.txtFileName->setText(dir.filePath("take.wav"));
    f.after(50, [&] { f.click(w.cmdStop); });
    f.click(w.cmdRecord);
    EXPECT_FALSE(w.tmrMMControl1.isActive());
    EXPECT_EQ(w.barMMControl1->Value(), 0);
    const std::vector<std::string> tail(f.mmControl.commands.end() - 2, f.mmControl.commands.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Stop", "Close"}));
}

TEST(Form1, HelpAboutShowsOneAboutWindowWithoutAnOwner) {
    Form1Fixture f;
    f.form->show();
    f.form->mAbout->trigger();
    About* about = f.form->about();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->parentWidget(), nullptr);
    // The program's icon, as the main window shows it.
    EXPECT_EQ(about->windowIcon().availableSizes(), f.form->windowIcon().availableSizes());
    EXPECT_FALSE(about->windowIcon().isNull());
    f.form->mAbout->trigger();
    EXPECT_EQ(f.form->about(), about);
    int shown = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        shown += qobject_cast<About*>(w) && w->isVisible() ? 1 : 0;
    EXPECT_EQ(shown, 1);
}

TEST(Form1, ClosingTheMainWindowClosesAbout) {
    Form1Fixture f;
    f.form->show();
    f.form->mAbout->trigger();
    const QPointer<About> about = f.form->about();
    f.form->close();
    EXPECT_TRUE(about.isNull());
    EXPECT_FALSE(f.form->isVisible());
}

// Playback stops at once when Record is clicked; when the click is then refused, the status
// must still say that nothing plays, though no position tick will come any more.
TEST(Form1, ARefusedRecordClickAfterPlaybackShowsStop) {
    QTemporaryDir dir;
    const std::string existing = dir.filePath("old.wav").toStdString();
    { std::ofstream(existing) << "old"; }
    struct Case {
        const char* name;
        std::string path;
        MessageAnswer answer;
    };
    for (const Case& c : {Case{"empty path", "", MessageAnswer::Ok},
                          Case{"no to overwrite", existing, MessageAnswer::Cancel},
                          Case{"no place to save", dir.filePath("missing/take.wav").toStdString(),
                               MessageAnswer::Ok}}) {
        Form1Fixture f;
        Form1& w = *f.form;
        f.dialog.name = "/some/file.wav";
        f.mmControl.len = 4000;
        f.click(w.cmdPlay);
        ASSERT_EQ(w.statusWord(), "PLAY");
        w.txtFileName->setText(QString::fromStdString(c.path));
        f.boxes.answers = {c.answer};
        f.click(w.cmdRecord);
        EXPECT_EQ(f.boxes.shown.size(), 1u) << c.name;
        EXPECT_EQ(w.statusWord(), "STOP") << c.name;
        EXPECT_EQ(w.statusColour(), status_word::kStopAfterPlaybackColour) << c.name;
        EXPECT_TRUE(f.device.sent.empty()) << c.name;
    }
}

// Takes that an earlier run left behind are offered once the window is up.
TEST(Form1, OffersALeftTakeOnceTheWindowIsUp) {
    {
        auto made = TakeSpool().newTake({44100, 16, 2});
        ASSERT_TRUE(made) << made.cause().error;
        std::unique_ptr<TakeFile> take = std::move(made).value();
        const std::string second(176400, '\0');
        take->append(second.data(), second.size());
    } // released: as after a failed save
    Form1Fixture f;
    bool visibleWhenAsked = false;
    f.boxes.onShow = [&] { visibleWhenAsked = f.form->isVisible(); };
    f.waitUntil([] { return false; }, 100);
    EXPECT_TRUE(f.boxes.shown.empty()) << "not before the window is up";
    f.showWindow();
    ASSERT_TRUE(f.waitUntil([&] { return !f.boxes.shown.empty(); }, 2000));
    EXPECT_TRUE(visibleWhenAsked);
    EXPECT_EQ(f.boxes.shown[0].text.rfind("A recording of 1.0 s from ", 0), 0u)
        << f.boxes.shown[0].text;
    EXPECT_EQ(f.boxes.shown[0].buttons, MessageButtons::SaveLaterDiscard);
    // The fake answers Ok, which is neither Save nor Discard: Later. The take stays.
    EXPECT_EQ(TakeSpool().leftovers().size(), 1u);
}

// The window's first frame comes before anything the user does not see: the device list is
// made after it, and a start-up without any input says so over the shown window and ends the
// program.
TEST(Form1, NoInputDeviceIsSaidOverTheShownWindowAndEndsTheProgram) {
    Form1Fixture f;
    f.waveInput.devices.clear();
    EXPECT_FALSE(f.form->loadFinished());
    EXPECT_FALSE(f.form->tmrEq.isActive()) << "nothing starts before the window is up";
    QSignalSpy ended(f.form.get(), &Form1::startFailed);
    bool visibleWhenSaid = false;
    f.boxes.onShow = [&] { visibleWhenSaid = f.form->isVisible(); };
    f.showWindow();
    ASSERT_TRUE(f.waitUntil([&] { return !f.boxes.shown.empty(); }, 2000));
    EXPECT_EQ(f.boxes.shown[0].text, "You have no audio input devices!");
    EXPECT_TRUE(visibleWhenSaid);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(f.form->endRequested());
    EXPECT_FALSE(f.form->tmrEq.isActive());
}

} // namespace
