// A shell that opens nothing: it records every request, in order, for the native build and the
// tests, and can be told to refuse them as a shell does for a missing file or an unknown type.
#pragma once

#include <string>
#include <vector>

#include "platform/shell.h"

namespace platform {

struct OpenRequest {
  WindowHandle owner = nullptr;
  std::string target;
};

class PortableShell : public Shell {
 public:
  // Recorded even when refused, as the request was made.
  bool Open(WindowHandle owner, const std::string& target) override;

  void RefuseRequests(bool refuse) { refuse_ = refuse; }
  const std::vector<OpenRequest>& requests() const { return requests_; }

 private:
  bool refuse_ = false;
  std::vector<OpenRequest> requests_;
};

}  // namespace platform
