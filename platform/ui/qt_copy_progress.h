#pragma once

#include "platform/spool/copy_progress.h"

#include <memory>

class QProgressDialog;
class QWidget;

// A copy of a take to another file system, shown as a modal progress box with a Cancel button
// once it takes longer than half a second; the window's events keep running meanwhile.
class QtCopyProgress : public CopyProgress {
public:
    explicit QtCopyProgress(QWidget* parent = nullptr);
    ~QtCopyProgress() override;

    bool copied(std::uint64_t done, std::uint64_t total) override;
    void ended() override;

    // The box of the copy under way, if any.
    QProgressDialog* dialog() const { return m_dialog.get(); }

    static constexpr int kShowAfterMs = 500;

private:
    QWidget* m_parent;
    std::unique_ptr<QProgressDialog> m_dialog;
};
