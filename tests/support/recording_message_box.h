#pragma once

#include <deque>
#include <vector>

#include "platform/messagebox.h"

// Records every box and answers from a queue (then with the first button).
// Installed for the process while it lives.
class RecordingMessageBox : public platform::MessageBox {
 public:
  explicit RecordingMessageBox(std::deque<platform::MsgAnswer> answers = {}) : answers_(std::move(answers)) {
    platform::InstallMessageBox(this);
  }
  ~RecordingMessageBox() override { platform::InstallMessageBox(nullptr); }
  RecordingMessageBox(const RecordingMessageBox&) = delete;
  RecordingMessageBox& operator=(const RecordingMessageBox&) = delete;

  platform::MsgAnswer Show(const platform::MsgRequest& request) override {
    shown.push_back(request);
    if (answers_.empty()) return platform::FirstButton(request.buttons);
    platform::MsgAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }

  std::vector<platform::MsgRequest> shown;

 private:
  std::deque<platform::MsgAnswer> answers_;
};
