// The one error type of a failed file operation, and the texts the error box shows.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace core {

// Codes of our own, besides the system's error codes.
constexpr std::uint32_t kIoReadBeyondEnd = 100;  // a record read returned fewer bytes
constexpr std::uint32_t kIoDiskFull = 101;       // a record write wrote fewer bytes
constexpr std::uint32_t kIoFileNotOpen = 103;    // an operation on a handle that is not open

// "File not found" for 2, ... "I/O error 103" for a code without a text of its own.
std::string IoErrorMessage(std::uint32_t code);

class IoError : public std::runtime_error {
 public:
  explicit IoError(std::uint32_t code);
  std::uint32_t code() const { return code_; }

 private:
  std::uint32_t code_;
};

// The error box shows the message with a full stop appended when its last character sorts
// above "." ("File not found." but "Autostart enabled!" as it is).
std::string ErrorBoxText(const std::string& message);

}  // namespace core
