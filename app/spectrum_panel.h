#pragma once

#include "analysis/scope_display.h"
#include "analysis/wave_capture.h"

#include <QObject>

class QComboBox;
class QTimer;
class SurfaceView;

// The live spectrum's side of the main window: the spectrum panel `Scope` with the display
// that draws on it, the hidden input list `DevicesBox` and the capture's timer `tmrEq`.
class SpectrumPanel : public QObject, public CaptureView {
    Q_OBJECT
public:
    SpectrumPanel(SurfaceView& scope, QComboBox& devices, QTimer& captureTimer);

    ScopeDisplay& display() { return m_display; }
    const ScopeDisplay& display() const { return m_display; }
    // Once at load, when `Scope` has its size and colour.
    void setUpDisplay();
    // Set once start-up found no audio input.
    bool endRequested() const { return m_endRequested; }

    void clearDevices() override;
    void addDevice(const std::string& name) override;
    int deviceCount() const override;
    int selectedDevice() const override;
    void setSelectedDevice(int index) override;
    void setDevicesEnabled(bool enabled) override;
    // The capture stops for good and the window is asked to end the program.
    void endProgram() override;

signals:
    void programEnding();

private:
    SurfaceView& m_scope;   // Scope
    QComboBox& m_devices;   // DevicesBox
    QTimer& m_captureTimer; // tmrEq
    ScopeDisplay m_display;
    bool m_endRequested = false;
};
