#pragma once

#include "platform/spool/copy_progress.h"
#include "platform/ui/save_progress.h"

#include <atomic>
#include <cstdint>
#include <memory>

class QProgressDialog;
class QWidget;

// The box of a save that takes longer than half a second: modal, so nothing else starts while
// the take is on its way, and the window's events keep running. A save that copies the take to
// another file system shows how far the copy has come and offers Cancel; any other save (a
// slow disk, the stream's last samples) shows that it is busy.
//
// The copy reports from the thread that saves (CopyProgress); the box lives on the window's
// thread (SaveProgress) and reads those reports on each call.
class QtSaveProgress : public CopyProgress, public SaveProgress {
public:
    explicit QtSaveProgress(QWidget* parent = nullptr);
    ~QtSaveProgress() override;

    // CopyProgress: from any thread.
    bool copied(std::uint64_t done, std::uint64_t total) override;
    void ended() override;

    // SaveProgress: on the window's thread.
    void saving(int elapsedMs) override;
    void saved() override;

    // The box of the save under way, once shown.
    QProgressDialog* dialog() const { return m_dialog.get(); }

    static constexpr int kShowAfterMs = 500;

private:
    QWidget* m_parent;
    std::atomic<std::uint64_t> m_done{0};
    std::atomic<std::uint64_t> m_total{0};
    std::atomic<bool> m_copying{false};
    std::atomic<bool> m_cancelled{false};
    std::unique_ptr<QProgressDialog> m_dialog;
};
