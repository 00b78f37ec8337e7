#pragma once

#include <functional>
#include <string>

// Root ignores file permissions, so permission cases run as the user "nobody" in a child process
// when the tests run as root, and as they are otherwise. Returns what `check` returned.
std::string runAsOrdinaryUser(const std::function<std::string()>& check);
