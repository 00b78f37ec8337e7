// Sound to screen: runs the live capture loop against the audio server's default source for
// a few seconds and reports frames drawn per second and how old the newest captured sample
// is when its frame is drawn (the stream's own latency plus the time since the block came in).
//
// Usage: capture_latency [seconds]   (default 10; PULSE_SERVER picks the server)

#include "analysis/audio_fft.h"
#include "analysis/wave_capture.h"
#include "platform/audio/pulse_wave_input.h"
#include "platform/ui/event_pump.h"
#include "platform/ui/message_box.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;

class PrintedMessages : public MessageBox {
public:
    MessageAnswer show(const std::string& text, const std::string& title, MessageIcon,
                       MessageButtons) override {
        std::fprintf(stderr, "[%s] %s\n", title.c_str(), text.c_str());
        ++shown;
        return MessageAnswer::Ok;
    }
    int shown = 0;
};

// No window: the wait only sleeps until the stream says a block is done, as it does in an idle
// window.
class NoEvents : public EventPump {
public:
    bool waitUntil(const std::function<bool()>& ready, int timeoutMs) override {
        // wake() takes the lock, so a block done between a look and the sleep is not missed.
        std::unique_lock lock(m_mutex);
        return m_woken.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    }
    void wake() override {
        { std::lock_guard lock(m_mutex); }
        m_woken.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_woken;
};

// The window, the recording flag and the display in one: it only times the frames.
class TimingHost : public CaptureView, public RecordingState, public SpectrumSink {
public:
    TimingHost(PulseWaveInput& input, double seconds) : m_input(input), m_seconds(seconds) {}

    void clearDevices() override { m_devices.clear(); }
    void addDevice(const std::string& name) override { m_devices.push_back(name); }
    int deviceCount() const override { return static_cast<int>(m_devices.size()); }
    int selectedDevice() const override { return m_selected; }
    void setSelectedDevice(int index) override { m_selected = index; }
    void setDevicesEnabled(bool) override {}
    bool isRecording() const override { return false; }
    void endProgram() override { std::exit(1); }

    void DrawScopeFrame(const float*) override {
        const SteadyClock::time_point now = SteadyClock::now();
        frames.push_back(now);
        PulseWaveInput::BlockTiming timing;
        if (capture && m_input.lastBlockTiming(capture->captureHandle(), timing)) {
            const auto sinceBlock =
                std::chrono::duration_cast<std::chrono::microseconds>(now - timing.completed);
            agesMs.push_back((sinceBlock.count() + timing.newestSampleAgeUs) / 1000.0);
        }
        if (std::chrono::duration<double>(now - frames.front()).count() >= m_seconds)
            capture->StopCapture();
    }

    WaveCapture* capture = nullptr;
    std::vector<SteadyClock::time_point> frames;
    std::vector<double> agesMs;

private:
    PulseWaveInput& m_input;
    double m_seconds;
    std::vector<std::string> m_devices;
    int m_selected = 0;
};

double percentile(std::vector<double> v, double p) {
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    const auto i = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    PulseWaveInput input;
    PrintedMessages messages;
    NoEvents events;
    TimingHost host(input, seconds);
    WaveCapture capture(input, messages, events, host, host, host);
    host.capture = &capture;

    if (!capture.InitDevices())
        return 1;
    std::printf("source: %s (%s)\n", input.sourceName(0).c_str(),
                input.deviceNames().front().c_str());
    InitFFT();
    capture.StartCapture();
    if (host.frames.size() < 2) {
        std::fprintf(stderr, "no frames were drawn\n");
        return 1;
    }

    const double span =
        std::chrono::duration<double>(host.frames.back() - host.frames.front()).count();
    const double fps = static_cast<double>(host.frames.size() - 1) / span;
    double sum = 0.0;
    for (double a : host.agesMs)
        sum += a;
    std::printf("frames: %zu in %.2f s = %.2f frames/s (target 21 to 22)\n", host.frames.size(),
                span, fps);
    if (!host.agesMs.empty())
        std::printf("newest sample age at draw: mean %.1f ms, median %.1f ms, 95%% %.1f ms, "
                    "max %.1f ms (target under 100 ms)\n",
                    sum / static_cast<double>(host.agesMs.size()), percentile(host.agesMs, 0.5),
                    percentile(host.agesMs, 0.95), percentile(host.agesMs, 1.0));
    const bool ok = fps >= 21.0 && fps <= 22.0 && percentile(host.agesMs, 0.5) < 100.0;
    return ok ? 0 : 2;
}
