// Stops the shared audio server for a while, so its tests run with no other test beside them.

#include "../form1_fixture.h"

#include "platform/audio/pulse_wave_input.h"
#include "platform/mci/waveaudio_command_device.h"
#include "platform/ui/off_thread_command_device.h"
#include "platform/ui/off_thread_wave_input.h"
#include "platform/ui/surface_view.h"
#include "support/audio_server.h"
#include "support/hung_audio_server.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>

#include <csignal>
#include <cstdint>
#include <fstream>
#include <set>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The process that serves the socket PULSE_SERVER names (PulseAudio, or PipeWire's pulse
// server): the peer of a connection to it. 0 when there is none.
pid_t serverProcess() {
    const std::string path = HungAudioServer::currentServerPath();
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return 0;
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return 0;
    ucred peer{};
    socklen_t size = sizeof peer;
    const bool known = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                       ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0;
    ::close(fd);
    return known ? peer.pid : 0;
}

// The server stops as on SIGSTOP (its sockets stay open and nothing comes back), and goes on
// however the test ends.
class FrozenServer {
public:
    explicit FrozenServer(pid_t pid) : m_pid(pid) { m_frozen = ::kill(m_pid, SIGSTOP) == 0; }
    ~FrozenServer() { thaw(); }
    FrozenServer(const FrozenServer&) = delete;
    FrozenServer& operator=(const FrozenServer&) = delete;

    bool frozen() const { return m_frozen; }
    void thaw() {
        if (m_frozen)
            ::kill(m_pid, SIGCONT);
        m_frozen = false;
    }

private:
    pid_t m_pid;
    bool m_frozen = false;
};

// How long the calling thread has waited, runnable, for a core (ns): time that a machine busy
// with other work takes from it, which no program can help. 0 where the kernel does not say.
std::int64_t runQueueWaitNs() {
    std::ifstream stat("/proc/thread-self/schedstat");
    std::int64_t onCpu = 0;
    std::int64_t waiting = 0;
    return stat >> onCpu >> waiting ? waiting : 0;
}

// How late the window's thread answers: a timer that should fire every 10 ms, and an event
// posted on each of its ticks, timed until it is handled. The time the thread was ready to run
// but had no core (the other tests' builds and servers share this machine) is not counted; what
// is left is the time the thread spent on work or waits of its own.
class ResponseProbe {
public:
    explicit ResponseProbe(QObject* context) {
        m_timer.setInterval(10);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, context, [this, context] {
            const std::int64_t queued = runQueueWaitNs();
            if (m_measuring) {
                m_longestRawGapMs = std::max(m_longestRawGapMs, m_sinceTick.elapsed());
                const qint64 gap = m_sinceTick.elapsed() - (queued - m_queuedAtTick) / 1000000;
                if (gap > m_longestGapMs) {
                    m_longestGapMs = gap;
                    m_longestGapAt = m_measuredFor.elapsed();
                }
            }
            m_sinceTick.start();
            m_queuedAtTick = queued;
            QElapsedTimer posted;
            posted.start();
            QMetaObject::invokeMethod(
                context,
                [this, posted, queued] {
                    if (m_measuring)
                        m_longestPostMs =
                            std::max(m_longestPostMs,
                                     posted.elapsed() - (runQueueWaitNs() - queued) / 1000000);
                },
                Qt::QueuedConnection);
        });
        m_sinceTick.start();
        m_queuedAtTick = runQueueWaitNs();
        m_timer.start();
    }
    void measure(bool on) {
        m_measuring = on;
        m_measuredFor.start();
    }
    // When the longest gap ended, in ms since measuring began.
    qint64 longestGapAt() const { return m_longestGapAt; }
    qint64 longestGapMs() const { return m_longestGapMs; }
    qint64 longestRawGapMs() const { return m_longestRawGapMs; }
    qint64 longestPostMs() const { return m_longestPostMs; }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    QElapsedTimer m_measuredFor;
    qint64 m_longestGapAt = 0;
    std::int64_t m_queuedAtTick = 0;
    bool m_measuring = false;
    qint64 m_longestGapMs = 0;
    qint64 m_longestRawGapMs = 0;
    qint64 m_longestPostMs = 0;
};

// The program's wiring: the record commands and the live input's server calls go through their
// worker threads. With the server stopped for 14 s while the spectrum runs, and a RECORD
// pressed in the middle of it, the window answers throughout, and afterwards the spectrum
// moves again.
TEST(Form1FrozenServer, TheWindowAnswersThroughoutAndTheSpectrumComesBack) {
    REQUIRE_AUDIO_SERVER();
    const pid_t server = serverProcess();
    ASSERT_GT(server, 0) << "no process serves " << HungAudioServer::currentServerPath();

    QtEventPump pump;
    PulseWaveInput pulse;
    OffThreadWaveInput input(pulse, pump);
    const std::unique_ptr<CommandDevice> waveAudio = makeWaveAudioCommandDevice();
    OffThreadCommandDevice device(*waveAudio, pump);
    Form1Fixture f(&device, nullptr, &input);
    Form1& w = *f.form;
    QTemporaryDir dir;
    w.txtFileName->setText(dir.filePath(QStringLiteral("frozen.wav")));
    f.showWindow();

    constexpr qint64 kFrozenMs = 14000;
    enum class Phase { Running, Frozen, Thawed, Done } phase = Phase::Running;
    std::set<qint64> framesBefore, framesAfter;
    std::unique_ptr<FrozenServer> frozen;
    QElapsedTimer frozenFor, thawedFor;
    bool recordPressed = false;
    ResponseProbe probe(&w);

    // Steps the test along from the window's own events: the capture loop runs inside a tick
    // and everything else inside its waits.
    QTimer stepper;
    stepper.setInterval(20);
    QObject::connect(&stepper, &QTimer::timeout, &w, [&] {
        const bool capturing = w.capture().captureHandle() != 0;
        const qint64 frame = w.Scope->picture().cacheKey();
        switch (phase) {
        case Phase::Running:
            if (capturing)
                framesBefore.insert(frame);
            if (framesBefore.size() > 5) {
                frozen = std::make_unique<FrozenServer>(server);
                frozenFor.start();
                probe.measure(true);
                phase = Phase::Frozen;
            }
            break;
        case Phase::Frozen:
            if (frozenFor.elapsed() > 4000 && !recordPressed) {
                recordPressed = true;
                // From a timer of its own: the recording runs inside the click.
                QTimer::singleShot(0, &w, [&] { f.click(w.cmdRecord); });
            }
            if (frozenFor.elapsed() >= kFrozenMs) {
                frozen->thaw();
                thawedFor.start();
                phase = Phase::Thawed;
            }
            break;
        case Phase::Thawed:
            if (capturing)
                framesAfter.insert(frame);
            if (framesAfter.size() > 5 || thawedFor.elapsed() > 15000) {
                probe.measure(false);
                phase = Phase::Done;
                stepper.stop();
                w.close(); // stops the capture loop
            }
            break;
        case Phase::Done:
            break;
        }
    });
    stepper.start();
    ASSERT_TRUE(f.waitUntil([&] { return phase == Phase::Done; }, 60000))
        << "frames before the freeze: " << framesBefore.size();
    ASSERT_TRUE(frozen && !frozen->frozen());

    RecordProperty("longestTimerGapMs", static_cast<int>(probe.longestGapMs()));
    RecordProperty("longestTimerGapAtMs", static_cast<int>(probe.longestGapAt()));
    RecordProperty("longestTimerGapWithRunQueueMs", static_cast<int>(probe.longestRawGapMs()));
    RecordProperty("longestPostedEventMs", static_cast<int>(probe.longestPostMs()));
    RecordProperty("framesAfterThaw", static_cast<int>(framesAfter.size()));
    RecordProperty("boxes", static_cast<int>(f.boxes.shown.size()));
    EXPECT_LT(probe.longestGapMs(), 100) << "a timer of the window waited that long";
    EXPECT_LT(probe.longestPostMs(), 100) << "a posted event waited that long";
    EXPECT_GT(framesAfter.size(), 5u) << "the spectrum did not come back";
    EXPECT_TRUE(recordPressed);
    EXPECT_TRUE(w.cmdRecord->Enabled()) << "the refused recording returned to idle";
    // What was said: the open that failed, once, and the recording's error.
    for (const ShownBox& box : f.boxes.shown)
        EXPECT_TRUE(box.text == "Wave input device didn't open!" || box.title == "Error")
            << box.title << ": " << box.text;
}

} // namespace
