#pragma once

#include "platform/audio/wave_input.h"

#include <array>
#include <cstdint>
#include <string>

class EventPump;
class MessageBox;

// What the main window lends the live capture: its hidden device list, the recording flag,
// the spectrum panel and the way to end the program.
class CaptureHost {
public:
    virtual ~CaptureHost() = default;

    // `DevicesBox`
    virtual void clearDevices() = 0;
    virtual void addDevice(const std::string& name) = 0;
    virtual int deviceCount() const = 0;
    virtual int selectedDevice() const = 0;
    virtual void setSelectedDevice(int index) = 0;
    virtual void setDevicesEnabled(bool enabled) = 0;

    virtual bool isRecording() const = 0;
    // One frame of the live spectrum, drawn from the 1024 values of `spectrum`.
    virtual void drawFrame(const float* spectrum) = 0;
    // Ends the program at once (no input device at all).
    virtual void endProgram() = 0;
};

// The live input monitor: opens the selected device on each `tmrEq` tick while it is closed
// and runs the block loop inside that tick until `StopCapture`.
class WaveCapture {
public:
    static constexpr int kBlockSamples = 512;
    static constexpr int kBlockBytes = kBlockSamples * 2;
    // Slices of the wait for a block, and how long a block may take before capture gives up.
    static constexpr int kWaitSliceMs = 20;
    static constexpr int kBlockTimeoutMs = 1000;

    WaveCapture(WaveInput& input, MessageBox& messages, EventPump& events, CaptureHost& host);
    WaveCapture(const WaveCapture&) = delete;
    WaveCapture& operator=(const WaveCapture&) = delete;

    // Fills the device list; with no device reports it and ends the program (returns false).
    bool InitDevices();
    // The `tmrEq` tick: opens the stream and runs `CaptureLoop` until capture stops.
    void StartCapture();
    void CaptureLoop();
    void StopCapture();

    WaveInputHandle captureHandle() const { return m_handle; }
    const WaveFormat& waveFormat() const { return m_format; }

    // The transform reads all 1024 samples; only the first 512 are ever captured.
    std::array<std::int16_t, 1024> SampleBuffer{};
    std::array<float, 1024> SpectrumBuffer{};

private:
    enum class BlockResult { Done, Stopped, Lost };
    BlockResult waitForBlock();

    WaveInput& m_input;
    MessageBox& m_messages;
    EventPump& m_events;
    CaptureHost& m_host;

    WaveInputHandle m_handle = 0;
    WaveFormat m_format;
    WaveBlock m_block;
    bool m_inTick = false;
    // The open-failure box is shown once per run of failed opens.
    bool m_openFailureShown = false;
};
