#include "form1_fixture.h"

#include "platform/audio/pulse_wave_input.h"
#include "platform/mci/waveaudio_command_device.h"
#include "platform/ui/surface_view.h"
#include "support/audio_server.h"
#include "support/hung_audio_server.h"
#include "support/private_audio_server.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <set>

namespace {

constexpr int kVisibleColumns = 150;

// Height of each visible column of the panel's picture: rows from the bottom up to the
// highest pixel that is not background.
std::array<int, kVisibleColumns> columnHeights(const SurfaceView& scope) {
    std::array<int, kVisibleColumns> heights{};
    const QImage& picture = scope.picture();
    if (picture.isNull())
        return heights;
    const QRgb back = picture.pixel(picture.width() - 1, 0);
    for (int x = 0; x < std::min(kVisibleColumns, picture.width()); ++x)
        for (int y = 0; y < picture.height(); ++y)
            if (picture.pixel(x, y) != back) {
                heights[std::size_t(x)] = picture.height() - y;
                break;
            }
    return heights;
}

int deviceIndexOf(const PulseWaveInput& input, int count, const std::string& source) {
    for (int i = 0; i < count; ++i)
        if (input.sourceName(i) == source)
            return i;
    return -1;
}

class Form1Spectrum : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_AUDIO_SERVER();
        fixture = std::make_unique<Form1Fixture>(device.get(), nullptr, &input);
        w = fixture->form.get();
        w->show();
    }

    // Samples the panel every 10 ms from inside the capture loop's event processing.
    void sampleEvery10ms(std::function<void()> sample) {
        sampler.setInterval(10);
        QObject::connect(&sampler, &QTimer::timeout, w, std::move(sample));
        sampler.start();
    }

    const std::unique_ptr<CommandDevice> device = makeWaveAudioCommandDevice();
    PulseWaveInput input;
    std::unique_ptr<Form1Fixture> fixture;
    Form1* w = nullptr;
    QTimer sampler;
};

TEST_F(Form1Spectrum, DeviceListStartsWithTheDefaultSource) {
    // The list is made once the window is up.
    ASSERT_TRUE(fixture->waitUntil([&] { return w->loadFinished(); }, 5000));
    ASSERT_GT(w->DevicesBox->count(), 0);
    EXPECT_EQ(input.sourceName(0), "virtmic");
    EXPECT_EQ(w->DevicesBox->currentIndex(), 0);
    EXPECT_TRUE(w->tmrEq.isActive());
}

TEST_F(Form1Spectrum, ToneStandsAtItsColumnAndTheSecondCloseEndsTheWindow) {
    ASSERT_TRUE(fixture->waitUntil([&] { return w->loadFinished(); }, 5000));
    const int quiet = deviceIndexOf(input, w->DevicesBox->count(), "quietmic");
    ASSERT_GE(quiet, 0);
    w->DevicesBox->setCurrentIndex(quiet);

    std::array<int, kVisibleColumns> tallest{};
    std::set<qint64> frames;
    QElapsedTimer sinceFirstFrame;
    bool firstCloseAccepted = true;
    qint64 frozenFrame = 0;
    sampleEvery10ms([&] {
        if (w->capture().captureHandle() == 0)
            return;
        if (frames.insert(w->Scope->picture().cacheKey()).second && frames.size() == 1)
            sinceFirstFrame.start();
        const auto heights = columnHeights(*w->Scope);
        for (int c = 0; c < kVisibleColumns; ++c)
            tallest[std::size_t(c)] = std::max(tallest[std::size_t(c)], heights[std::size_t(c)]);
        if (frames.size() > 1 && sinceFirstFrame.elapsed() > 1000) {
            sampler.stop();
            firstCloseAccepted = w->close();
            frozenFrame = w->Scope->picture().cacheKey();
        }
    });
    // The first tick opens the input a second after start-up; the loop runs inside it until
    // the first close request stops it.
    ASSERT_TRUE(fixture->waitUntil([&] { return !sampler.isActive(); }, 15000));

    EXPECT_FALSE(firstCloseAccepted);
    EXPECT_EQ(w->capture().captureHandle(), 0u);
    EXPECT_GT(frames.size(), 10u);
    const int peak = tallest[46];
    EXPECT_GT(peak, 4);
    EXPECT_EQ(*std::max_element(tallest.begin(), tallest.end()), peak);
    for (int c = 0; c < kVisibleColumns; ++c) {
        if (c < 30 || c > 60) {
            EXPECT_LE(tallest[std::size_t(c)] * 3, peak) << "column " << c;
        }
    }

    // Frozen on its last frame; the timers are off, so nothing starts capture again.
    fixture->waitUntil([] { return false; }, 1500);
    EXPECT_EQ(w->Scope->picture().cacheKey(), frozenFrame);
    EXPECT_FALSE(w->tmrEq.isActive());
    EXPECT_TRUE(w->close());
}

TEST_F(Form1Spectrum, HoldsStillWhileRecordingAndMovesAgainAfterTheSave) {
    QTemporaryDir dir;
    w->txtFileName->setText(dir.filePath("held.wav"));
    std::set<qint64> before, during, after;
    bool recorded = false;
    // A timer does not fire again while its own slot runs, so the recording is watched by a
    // second one.
    QTimer watcher;
    watcher.setInterval(10);
    QElapsedTimer recordingFor;
    QObject::connect(&watcher, &QTimer::timeout, w, [&] {
        if (recordingFor.elapsed() > 100) // the frame that was on its way may still land
            during.insert(w->Scope->picture().cacheKey());
    });
    sampleEvery10ms([&] {
        const qint64 key = w->Scope->picture().cacheKey();
        if (!recorded) {
            if (w->capture().captureHandle() != 0)
                before.insert(key);
            if (before.size() > 5) {
                recorded = true;
                recordingFor.start();
                watcher.start();
                QTimer::singleShot(1500, w, [&] { fixture->click(w->cmdStop); });
                // The recording loop runs inside this click, inside the capture loop's yield.
                fixture->click(w->cmdRecord);
                watcher.stop();
            }
            return;
        }
        after.insert(key);
        if (after.size() > 5) {
            sampler.stop();
            w->close();
        }
    });
    ASSERT_TRUE(fixture->waitUntil([&] { return !sampler.isActive(); }, 20000));
    EXPECT_GT(during.size(), 0u); // the watcher did look
    EXPECT_EQ(during.size(), 1u);
    EXPECT_GT(after.size(), 5u);
    EXPECT_TRUE(fixture->boxes.shown.empty()) << fixture->boxes.shown.front().text;
}

// A source that hands its input over in bursts two seconds apart (the private server's sine):
// the spectrum keeps its one stream and draws what comes, instead of giving up on the stream
// between bursts and opening it again and again.
TEST(Form1SpectrumBursts, KeepsItsStreamAcrossTwoSecondGaps) {
    QTemporaryDir dir;
    PrivateAudioServer server(dir.filePath("server").toStdString());
    ASSERT_TRUE(server.running()) << "see " << dir.filePath("server/pa.log").toStdString();
    const ScopedEnvironment pulse("PULSE_SERVER", server.clientEnvironment().at("PULSE_SERVER"));
    const std::unique_ptr<CommandDevice> device = makeWaveAudioCommandDevice();
    PulseWaveInput input;
    Form1Fixture f(device.get(), nullptr, &input);
    Form1& w = *f.form;
    f.showWindow();

    std::set<WaveInputHandle> streams;
    std::set<qint64> frames;
    QElapsedTimer watched;
    QTimer sampler;
    sampler.setInterval(10);
    QObject::connect(&sampler, &QTimer::timeout, &w, [&] {
        const WaveInputHandle handle = w.capture().captureHandle();
        if (handle == 0)
            return;
        if (streams.insert(handle).second && streams.size() == 1)
            watched.start();
        frames.insert(w.Scope->picture().cacheKey());
        if (watched.elapsed() > 7000) { // three bursts and more
            sampler.stop();
            w.close();
        }
    });
    sampler.start();
    // The capture loop runs inside the first tick; the sampler runs inside its waits.
    ASSERT_TRUE(f.waitUntil([&] { return !sampler.isActive(); }, 20000));

    EXPECT_EQ(streams.size(), 1u) << "the stream was given up and opened again";
    EXPECT_GE(frames.size(), 3u);
    EXPECT_TRUE(f.boxes.shown.empty()) << f.boxes.shown.front().text;
    EXPECT_TRUE(w.close());
}

} // namespace
