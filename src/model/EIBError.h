#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// The program's own error: a message and nothing else.
class EIBError : public std::runtime_error
{
  public:
    using std::runtime_error::runtime_error;
};

// The text the application's default error handler shows for a message:
// a full stop is added when the last character sorts after "." (letters and
// digits do), so "non enumerated tyre size" becomes "non enumerated tyre size.".
std::string WithFullStop(std::string_view message);
