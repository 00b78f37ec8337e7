#include "analysis/wave_capture.h"

#include "analysis/audio_fft.h"
#include "platform/ui/event_pump.h"
#include "platform/ui/message_box.h"

WaveCapture::WaveCapture(WaveInput& input, MessageBox& messages, EventPump& events,
                         CaptureView& view, const RecordingState& recording, SpectrumSink& display)
    : m_input(input), m_messages(messages), m_events(events), m_view(view), m_recording(recording),
      m_display(display) {
    // A finished block wakes the window's wait, so the loop needs no slices of its own.
    m_input.setNotifier([&events] { events.wake(); });
}

bool WaveCapture::InitDevices() {
    m_view.clearDevices();
    for (const std::string& name : m_input.deviceNames())
        m_view.addDevice(name);
    if (m_view.deviceCount() == 0) {
        // A server that is not there, or does not answer, is no proof that there is no input.
        m_messages.show(m_input.serverAnswered()
                            ? "You have no audio input devices!"
                            : "The audio server cannot be reached, so there is no audio input "
                              "to record from. Start the audio server (PulseAudio or PipeWire) "
                              "and then Sorvinta again.",
                        kAppTitle, MessageIcon::Critical, MessageButtons::Ok);
        m_view.endProgram();
        return false;
    }
    m_view.setSelectedDevice(0);
    return true;
}

void WaveCapture::StartCapture() {
    // Ticks keep coming while this one's box or loop runs; they must not start a second one.
    if (m_inTick || m_handle != 0)
        return;
    m_inTick = true;
    struct TickEnd {
        bool& flag;
        ~TickEnd() { flag = false; }
    } tickEnd{m_inTick};

    // No new stream while a take runs or is saved; try again on a later tick.
    if (m_recording.isRecording())
        return;

    // 11,025 samples a second, 16-bit mono: 2 bytes a frame, 22,050 bytes a second.
    m_format = WaveFormat{11025, 16, 1};

    m_opening = true;
    m_stopRequested = false;
    const WaveInputHandle handle = m_input.open(m_view.selectedDevice(), m_format);
    m_opening = false;
    if (m_stopRequested) {
        // The window was asked to close while the stream opened: it stays closed.
        if (handle != 0)
            closeStream(handle);
        m_view.setDevicesEnabled(true);
        return;
    }
    m_handle = handle;
    if (m_handle == 0) {
        // Once per run of failures: the next ticks retry quietly.
        if (!m_openFailureShown) {
            m_openFailureShown = true;
            m_messages.show("Wave input device didn't open!", "Ack!", MessageIcon::Exclamation,
                            MessageButtons::Ok);
        }
        return;
    }
    m_openFailureShown = false;
    m_view.setDevicesEnabled(false);
    // A close request while the stream starts stops it there, and the loop does not begin.
    m_input.start(m_handle);
    CaptureLoop();
}

WaveCapture::BlockResult WaveCapture::waitForBlock() {
    // The window's events run here, each as it arrives, while the block fills; a close request
    // among them may stop capture.
    WaveWait state = WaveWait::Pending;
    m_events.waitUntil(
        [&] {
            if (m_handle == 0)
                return true;
            state = m_input.waitDone(m_handle, m_block, 0);
            return state != WaveWait::Pending;
        },
        kBlockTimeoutMs);
    if (m_handle == 0)
        return BlockResult::Stopped;
    return state == WaveWait::Done ? BlockResult::Done : BlockResult::Lost;
}

void WaveCapture::CaptureLoop() {
    while (m_handle != 0) {
        if (!m_display.showing()) {
            if (!restWhileHidden())
                break;
            continue;
        }
        m_block.data = SampleBuffer.data();
        m_block.bufferLength = kBlockBytes;
        m_block.flags.store(0, std::memory_order_release);
        m_input.addBuffer(m_handle, m_block);

        const BlockResult result = waitForBlock();
        if (result == BlockResult::Stopped)
            break;
        if (result == BlockResult::Lost) {
            // The device stalled or the server went away: close quietly; the next tick reopens.
            StopCapture();
            break;
        }

        ComputeFFT(SampleBuffer.data(), SpectrumBuffer.data());
        m_display.DrawScopeFrame(SpectrumBuffer.data());
    }
}

// Nobody sees the spectrum: the stream stops until the display shows again, so that a
// minimised window costs neither the server nor this thread a wake-up a block. False when
// capture stopped meanwhile.
bool WaveCapture::restWhileHidden() {
    m_input.reset(m_handle);
    while (m_handle != 0 && !m_display.showing())
        m_events.waitUntil([this] { return m_handle == 0 || m_display.showing(); }, kRestCheckMs);
    if (m_handle == 0)
        return false;
    m_input.start(m_handle);
    return m_handle != 0;
}

void WaveCapture::StopCapture() {
    if (m_opening) {
        m_stopRequested = true;
        return;
    }
    // A second request while the stream closes has nothing more to do.
    if (m_closing)
        return;
    if (m_handle != 0)
        closeStream(m_handle);
    m_handle = 0;
    m_view.setDevicesEnabled(true);
}

void WaveCapture::closeStream(WaveInputHandle handle) {
    m_closing = true;
    m_input.reset(handle);
    m_input.close(handle);
    m_closing = false;
}
