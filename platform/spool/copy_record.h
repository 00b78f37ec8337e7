#pragma once

#include <string>

// The note a save by copy leaves in the spool folder while it runs: the path of the hidden,
// half-made copy beside the target, written before that file exists, under a lock (flock) that
// goes with the process however it ends. A crash in the middle of a copy thus leaves a note
// that nobody holds, and the next look for left takes removes the copy it names and the note.
class CopyRecord {
public:
    // A note in `spoolFolder`. Where none can be made the copy goes ahead unnoted: the save
    // matters more than its clean-up.
    explicit CopyRecord(const std::string& spoolFolder);
    // Removes the note: the copy has been renamed into place or removed.
    ~CopyRecord();
    CopyRecord(const CopyRecord&) = delete;
    CopyRecord& operator=(const CopyRecord&) = delete;

    // Makes the hidden copy in `folder` under a new name that is noted (and synced) first;
    // its descriptor with `name` set, or -1 with errno set.
    int createHiddenCopy(const std::string& folder, std::string& name);

    // Removes every copy named by a note of a process that has ended, and those notes.
    static void cleanUp(const std::string& spoolFolder);

private:
    bool note(const std::string& path);

    int m_fd = -1;
    std::string m_path;
};
