#include "core/io_error.h"

namespace core {

std::string IoErrorMessage(std::uint32_t code) {
  switch (code) {
    case 2:
      return "File not found";
    case 3:
      return "Invalid filename";
    case 4:
      return "Too many open files";
    case 5:
      return "File access denied";
    case 100:
      return "Read beyond end of file";
    case 101:
      return "Disk full";
    case 106:
      return "Invalid numeric input";
    default:
      return "I/O error " + std::to_string(code);
  }
}

IoError::IoError(std::uint32_t code) : std::runtime_error(IoErrorMessage(code)), code_(code) {}

std::string ErrorBoxText(const std::string& message) {
  // Compared as unsigned bytes, so characters above 127 sort above "." too.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
    return message + ".";
  }
  return message;
}

}  // namespace core
