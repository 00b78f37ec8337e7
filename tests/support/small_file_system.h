#pragma once

#include <cstddef>
#include <string>

// A file system of `bytes` that fills up fast: a tmpfs mounted on a fresh folder for the life of
// this object, and unmounted however the test ends. Mounting needs root (as in CI); where the
// test may not mount, mounted() is false and the test skips.
class SmallFileSystem {
public:
    explicit SmallFileSystem(std::size_t bytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& path() const { return m_path; }
    // Why it could not be mounted.
    const std::string& why() const { return m_why; }

private:
    std::string m_path;
    bool m_mounted = false;
    std::string m_why;
};
