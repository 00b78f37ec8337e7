#pragma once

#include <string>

// Expands $NAME and ${NAME} from the environment, as the shell would; names that are not set
// stay as written, and "$$" gives one "$". Used for the store's expandable-string values.
std::string expandEnvironmentStrings(const std::string& text);
