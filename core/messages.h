// How a core operation shows a plain message of its own (such as "Could not rename"). The
// application supplies the implementation; core code never talks to windows.
#pragma once

#include <string>

namespace core {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace core
