#pragma once

#include <string>

// The one file dialog of the main window. fileName() is whatever either form left last,
// unchanged when the user cancels.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    // Each returns true when the user chose a file, false on cancel.
    virtual bool showSave() = 0;
    virtual bool showOpen() = 0;
    virtual std::string fileName() const = 0;
    virtual void setFileName(const std::string& path) = 0;
};

inline constexpr const char* kWavFilter = "WAV Files (*.wav)|*.wav";
