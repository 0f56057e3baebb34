// The message boxes of the tool, each owned by the tool window that is active, and the message
// sink through which core operations show their plain messages.
#pragma once

#include <string>

#include "core/messages.h"

namespace ui {

// No icon, one "OK" button, the application title as caption.
void ShowPlainMessage(const std::string& text);
// Caption "Confirm", question icon, Yes and No; true only for Yes.
bool AskConfirm(const std::string& question);
// Caption "Information", information icon, one "OK" button.
void ShowInformation(const std::string& text);
// Stop icon, one "OK" button, the application title; the text gets its closing full stop.
void ShowErrorBox(const std::string& message);

class MessageBoxSink : public core::MessageSink {
 public:
  void ShowMessage(const std::string& text) override { ShowPlainMessage(text); }
};

}  // namespace ui
