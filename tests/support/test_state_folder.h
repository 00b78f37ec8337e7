#pragma once

#include <QTemporaryDir>
#include <QtGlobal>

// Every test program keeps its takes in a state folder of its own that goes with it, never in
// the user's; helper processes it starts inherit the folder.
class TestStateFolder {
public:
    TestStateFolder() { qputenv("XDG_STATE_HOME", m_dir.path().toLocal8Bit()); }

private:
    QTemporaryDir m_dir;
};
