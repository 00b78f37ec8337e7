#pragma once

#include "analysis/recording_state.h"
#include "analysis/spectrum_sink.h"
#include "platform/audio/wave_input.h"

#include <array>
#include <cstdint>
#include <string>

class EventPump;
class MessageBox;

// What the live capture needs of the main window: its hidden device list and the way to end the
// program.
class CaptureView {
public:
    virtual ~CaptureView() = default;

    // `DevicesBox`
    virtual void clearDevices() = 0;
    virtual void addDevice(const std::string& name) = 0;
    virtual int deviceCount() const = 0;
    virtual int selectedDevice() const = 0;
    virtual void setSelectedDevice(int index) = 0;
    virtual void setDevicesEnabled(bool enabled) = 0;

    // Ends the program at once (no input device at all).
    virtual void endProgram() = 0;
};

// The live input monitor: opens the selected device on each `tmrEq` tick while it is closed
// and runs the block loop inside that tick until `StopCapture`.
//
// The input's open, reset and close may let window events run before they return (they wait on
// the audio server off the window's thread), so a close request can come while a stream is
// being opened or closed: `isOpen` covers those moments, and a `StopCapture` during an open
// closes the stream as soon as the open returns.
class WaveCapture {
public:
    static constexpr int kBlockSamples = 512;
    static constexpr int kBlockBytes = kBlockSamples * 2;
    // How long a block may take before capture gives up on the stream. A source may hand its
    // input over in bursts two seconds apart; that is slow, not stalled.
    static constexpr int kBlockTimeoutMs = 3000;
    // A resting capture waits in slices this long; the display's showing again ends the wait
    // at once, through the window event that shows it.
    static constexpr int kRestCheckMs = 60000;

    WaveCapture(WaveInput& input, MessageBox& messages, EventPump& events, CaptureView& view,
                const RecordingState& recording, SpectrumSink& display);
    WaveCapture(const WaveCapture&) = delete;
    WaveCapture& operator=(const WaveCapture&) = delete;

    // Fills the device list; with no device reports it and ends the program (returns false).
    bool InitDevices();
    // The `tmrEq` tick: opens the stream and runs `CaptureLoop` until capture stops.
    void StartCapture();
    void CaptureLoop();
    void StopCapture();

    WaveInputHandle captureHandle() const { return m_handle; }
    // A stream is open, or on its way to being opened or closed.
    bool isOpen() const { return m_handle != 0 || m_opening || m_closing; }

    // The transform reads all 1024 samples; only the first 512 are ever captured.
    std::array<std::int16_t, 1024> SampleBuffer{};
    std::array<float, 1024> SpectrumBuffer{};

private:
    enum class BlockResult { Done, Stopped, Lost };
    BlockResult waitForBlock();
    bool restWhileHidden();
    void closeStream(WaveInputHandle handle);

    WaveInput& m_input;
    MessageBox& m_messages;
    EventPump& m_events;
    CaptureView& m_view;
    const RecordingState& m_recording;
    SpectrumSink& m_display;

    WaveInputHandle m_handle = 0;
    WaveFormat m_format;
    WaveBlock m_block;
    bool m_inTick = false;
    bool m_opening = false;
    bool m_closing = false;
    // StopCapture came while the stream was being opened.
    bool m_stopRequested = false;
    // The open-failure box is shown once per run of failed opens.
    bool m_openFailureShown = false;
};
