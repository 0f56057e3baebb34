// The message boxes of the tool and the message sink through which core operations show their
// plain messages. Every box is modal to the whole tool: while it is up, no other window of the
// tool takes input and no command starts.
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

// True while a box of the tool is up.
bool MessageBoxUp();

class MessageBoxSink : public core::MessageSink {
 public:
  void ShowMessage(const std::string& text) override { ShowPlainMessage(text); }
};

}  // namespace ui
