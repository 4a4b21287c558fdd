#pragma once

#include <stdexcept>

namespace morvex {

// Raised when a transfer object cannot be written to or read from its JSON object form.
// The message names the class and the field at fault; for a "type" this client has no class
// for it is exactly "Internal: Cannot instantiate type <name>".
class ObjectFormError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace morvex
