#pragma once

#include <deque>
#include <memory>
#include <string>

#include "platform/messagebox.h"

namespace platform {

// Shows nothing: appends each box to a file as one JSON line and answers from a
// given list, then with the box's first button once the list runs out.
class LoggingMessageBox : public MessageBox {
 public:
  LoggingMessageBox(std::string logPath, const std::string& answers);
  MsgAnswer Show(const MsgRequest& request) override;

 private:
  MsgAnswer NextAnswer(MsgButtons buttons);

  std::string logPath_;
  std::deque<MsgAnswer> answers_;
};

std::string JsonQuoted(const std::string& text);

// The hooks for runs without a person: when RWQ_MSGBOX_LOG is set, a box that
// logs instead of showing, answering from RWQ_MSGBOX_ANSWERS; else `interactive`.
std::unique_ptr<MessageBox> ChooseMessageBox(std::unique_ptr<MessageBox> interactive);

}  // namespace platform
