#include "core/errors.h"

namespace core {
namespace {

struct IoText {
  std::uint32_t code;
  const char* text;
};

constexpr IoText kIoTexts[] = {
    {kIoFileNotFound, "File not found"},
    {kIoInvalidFilename, "Invalid filename"},
    {kIoTooManyOpenFiles, "Too many open files"},
    {kIoAccessDenied, "File access denied"},
    {kIoReadBeyondEnd, "Read beyond end of file"},
    {kIoDiskFull, "Disk full"},
    {kIoInvalidNumericInput, "Invalid numeric input"},
};

}  // namespace

std::string IoErrorMessage(std::uint32_t code) {
  for (const IoText& entry : kIoTexts) {
    if (entry.code == code) {
      return entry.text;
    }
  }
  return "I/O error " + std::to_string(code);
}

std::uint32_t IoCodeOf(platform::ErrorCode error) {
  return error == platform::kErrorShortWrite ? kIoDiskFull : error;
}

void CheckIo(platform::ErrorCode error) {
  if (error != platform::kNoError) {
    throw IoError(IoCodeOf(error));
  }
}

std::string ErrorBoxText(const std::string& message) {
  // Compared as unsigned bytes, so characters above 127 sort above "." too.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
    return message + ".";
  }
  return message;
}

}  // namespace core
