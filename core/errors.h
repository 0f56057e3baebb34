// The errors a command raises, one family that carries its code, and the texts the error box
// shows. The command runner catches them and shows the error box; nothing here shows anything.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/file_system.h"

namespace core {

// The codes of the I/O error. The first four are the system's own codes of those failures;
// the others are the tool's.
constexpr std::uint32_t kIoFileNotFound = platform::kErrorFileNotFound;
constexpr std::uint32_t kIoInvalidFilename = platform::kErrorPathNotFound;
constexpr std::uint32_t kIoTooManyOpenFiles = platform::kErrorTooManyOpenFiles;
constexpr std::uint32_t kIoAccessDenied = platform::kErrorAccessDenied;
constexpr std::uint32_t kIoReadBeyondEnd = 100;  // a record read returned fewer bytes
constexpr std::uint32_t kIoDiskFull = 101;       // a write stored fewer bytes than asked
constexpr std::uint32_t kIoFileNotOpen = 103;    // an operation on a handle that is not open
constexpr std::uint32_t kIoInvalidNumericInput = 106;

// "File not found" for kIoFileNotFound, ... "I/O error 32" for a code without a text of its own.
std::string IoErrorMessage(std::uint32_t code);

// The I/O code of a failed platform call: the system's own code ("I/O error 112" for the
// system's full disk), except that a write that stored fewer bytes than asked is kIoDiskFull.
std::uint32_t IoCodeOf(platform::ErrorCode error);

// Every error a command raises: its text and its code.
class Error : public std::runtime_error {
 public:
  std::uint32_t code() const { return code_; }

 protected:
  Error(const std::string& text, std::uint32_t code) : std::runtime_error(text), code_(code) {}

 private:
  std::uint32_t code_;
};

// A failed file operation, with its I/O code.
class IoError : public Error {
 public:
  explicit IoError(std::uint32_t code) : Error(IoErrorMessage(code), code) {}
};

// A value the registry refused to store, "Failed to set data for 'cancel'", with the system's
// code of the refusal.
class RegistryWriteError : public Error {
 public:
  RegistryWriteError(const std::string& value_name, platform::ErrorCode code)
      : Error("Failed to set data for '" + value_name + "'", code), value_name_(value_name) {}
  const std::string& value_name() const { return value_name_; }

 private:
  std::string value_name_;
};

// The one check of a file operation's outcome: returns on success, raises the IoError of the
// failure otherwise.
void CheckIo(platform::ErrorCode error);

// The error box shows the message with a full stop appended when its last character sorts
// above "." ("File not found." but "Autostart enabled!" as it is).
std::string ErrorBoxText(const std::string& message);

}  // namespace core
