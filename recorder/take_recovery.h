#pragma once

class CopyProgress;
class FileDialog;
class MessageBox;
class TakeFile;
class TakeSpool;

// At start-up: every take in the spool folder that no running program holds (a recording that
// was killed, crashed or whose save failed) comes back with its header repaired, and the user
// is asked what to do with it: "A recording of 4.0 s from 10 Dec 2026 14:03 was not saved."
// Save… saves it where the user says, Later leaves it for the next start, Discard (after a
// confirmation) throws it away. A take whose header was damaged is offered the same way, with
// a word on it and on the format it is read in.
class TakeRecovery {
public:
    TakeRecovery(const TakeSpool& spool, MessageBox& boxes, FileDialog& dialog,
                 CopyProgress* progress);

    void run();

private:
    void offer(TakeFile& take);

    const TakeSpool& m_spool;
    MessageBox& m_boxes;
    FileDialog& m_dialog;
    CopyProgress* m_progress;
};
