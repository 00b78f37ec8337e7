#include "platform/ui/qt_save_progress.h"

#include <QProgressDialog>

namespace {
constexpr int kSteps = 1000;
}

QtSaveProgress::QtSaveProgress(QWidget* parent) : m_parent(parent) {}

QtSaveProgress::~QtSaveProgress() = default;

bool QtSaveProgress::copied(std::uint64_t done, std::uint64_t total) {
    m_total.store(total, std::memory_order_relaxed);
    m_done.store(done, std::memory_order_relaxed);
    m_copying.store(true, std::memory_order_release);
    return !m_cancelled.load(std::memory_order_acquire);
}

void QtSaveProgress::ended() {
    m_copying.store(false, std::memory_order_release);
}

void QtSaveProgress::saving(int elapsedMs) {
    if (elapsedMs < kShowAfterMs)
        return;
    const bool copying = m_copying.load(std::memory_order_acquire);
    if (!m_dialog) {
        m_dialog = std::make_unique<QProgressDialog>(QStringLiteral("Saving the recording…"),
                                                     QString(), 0, 0, m_parent);
        m_dialog->setWindowTitle(QStringLiteral("Sorvinta"));
        // Nothing else may start while the take is on its way.
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
        // Cancel reaches the copy at its next report.
        QObject::connect(m_dialog.get(), &QProgressDialog::canceled,
                         [this] { m_cancelled.store(true, std::memory_order_release); });
        m_dialog->show();
    }
    if (!copying) {
        // Busy, with nothing to cancel.
        m_dialog->setCancelButton(nullptr);
        m_dialog->setRange(0, 0);
        return;
    }
    if (m_dialog->maximum() != kSteps) {
        m_dialog->setCancelButtonText(QStringLiteral("Cancel"));
        m_dialog->setRange(0, kSteps);
    }
    const std::uint64_t total = m_total.load(std::memory_order_relaxed);
    const std::uint64_t done = m_done.load(std::memory_order_relaxed);
    m_dialog->setValue(total == 0 ? kSteps : static_cast<int>(done * kSteps / total));
}

void QtSaveProgress::saved() {
    m_dialog.reset();
    m_copying.store(false, std::memory_order_release);
    m_cancelled.store(false, std::memory_order_release);
}
