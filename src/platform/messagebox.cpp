#include "platform/messagebox.h"

#include <iostream>

namespace platform {

namespace {
MessageBox* installedBox = nullptr;
}

MessageBox& CurrentMessageBox() {
  static StderrMessageBox fallback;
  return installedBox != nullptr ? *installedBox : fallback;
}

void InstallMessageBox(MessageBox* box) { installedBox = box; }

const char* IconName(MsgIcon icon) {
  switch (icon) {
  case MsgIcon::Error: return "error";
  case MsgIcon::Warning: return "warning";
  case MsgIcon::Information: return "information";
  case MsgIcon::Question: return "question";
  }
  return "error";
}

const char* ButtonsName(MsgButtons buttons) {
  switch (buttons) {
  case MsgButtons::Ok: return "ok";
  case MsgButtons::OkCancel: return "okcancel";
  case MsgButtons::YesNoCancel: return "yesnocancel";
  }
  return "ok";
}

const char* AnswerName(MsgAnswer answer) {
  switch (answer) {
  case MsgAnswer::Ok: return "ok";
  case MsgAnswer::Cancel: return "cancel";
  case MsgAnswer::Yes: return "yes";
  case MsgAnswer::No: return "no";
  }
  return "cancel";
}

MsgAnswer FirstButton(MsgButtons buttons) {
  return buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes : MsgAnswer::Ok;
}

bool IsButtonOf(MsgAnswer answer, MsgButtons buttons) {
  switch (buttons) {
  case MsgButtons::Ok: return answer == MsgAnswer::Ok;
  case MsgButtons::OkCancel: return answer == MsgAnswer::Ok || answer == MsgAnswer::Cancel;
  case MsgButtons::YesNoCancel: return answer != MsgAnswer::Ok;
  }
  return false;
}

MsgAnswer StderrMessageBox::Show(const MsgRequest& request) {
  std::cerr << request.text << '\n';
  if (request.buttons == MsgButtons::Ok) return MsgAnswer::Ok;
  if (answerYes_) return FirstButton(request.buttons);
  // Nobody is there to answer: say so, or a refusal looks like a fault.
  std::cerr << "No --yes was given, so the question was taken as Cancel.\n";
  return MsgAnswer::Cancel;
}

}  // namespace platform
