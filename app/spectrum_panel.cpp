#include "app/spectrum_panel.h"

#include "platform/ui/surface_view.h"

#include <QComboBox>
#include <QTimer>

SpectrumPanel::SpectrumPanel(SurfaceView& scope, QComboBox& devices, QTimer& captureTimer)
    : m_scope(scope), m_devices(devices), m_captureTimer(captureTimer) {}

void SpectrumPanel::setUpDisplay() {
    m_display.setUp(m_scope);
}

void SpectrumPanel::clearDevices() {
    m_devices.clear();
}

void SpectrumPanel::addDevice(const std::string& name) {
    m_devices.addItem(QString::fromStdString(name));
}

int SpectrumPanel::deviceCount() const {
    return m_devices.count();
}

int SpectrumPanel::selectedDevice() const {
    return m_devices.currentIndex();
}

void SpectrumPanel::setSelectedDevice(int index) {
    m_devices.setCurrentIndex(index);
}

void SpectrumPanel::setDevicesEnabled(bool enabled) {
    m_devices.setEnabled(enabled);
}

void SpectrumPanel::endProgram() {
    m_endRequested = true;
    m_captureTimer.stop();
    emit programEnding();
}
