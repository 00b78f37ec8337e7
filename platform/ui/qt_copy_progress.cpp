#include "platform/ui/qt_copy_progress.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {
constexpr int kSteps = 1000;
}

QtCopyProgress::QtCopyProgress(QWidget* parent) : m_parent(parent) {}

QtCopyProgress::~QtCopyProgress() = default;

bool QtCopyProgress::copied(std::uint64_t done, std::uint64_t total) {
    if (!m_dialog) {
        m_dialog = std::make_unique<QProgressDialog>(QStringLiteral("Saving the recording…"),
                                                     QStringLiteral("Cancel"), 0, kSteps, m_parent);
        m_dialog->setWindowTitle(QStringLiteral("Sorvinta"));
        // Nothing else may start while the take is on its way.
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(kShowAfterMs);
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
        m_dialog->setValue(0);
    }
    const int step = total == 0 ? kSteps : static_cast<int>(done * kSteps / total);
    m_dialog->setValue(step);
    QCoreApplication::processEvents();
    return !m_dialog->wasCanceled();
}

void QtCopyProgress::ended() {
    // Gone before it shows when the copy was quick; the box would otherwise show itself later.
    m_dialog.reset();
}
