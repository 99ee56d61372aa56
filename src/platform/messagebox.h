#pragma once

#include <string>

namespace platform {

enum class MsgIcon { Error, Warning, Information, Question };
enum class MsgButtons { Ok, OkCancel, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct MsgRequest {
  std::string caption;
  std::string text;
  MsgIcon icon = MsgIcon::Information;
  MsgButtons buttons = MsgButtons::Ok;
  bool topmost = false;
};

// Asks the user something. The engine only ever talks to this interface; the
// layer above decides whether it is a window, a terminal or a log.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual MsgAnswer Show(const MsgRequest& request) = 0;
};

// The box every engine component uses. Until a program installs its own, boxes
// go to stderr and questions are cancelled.
MessageBox& CurrentMessageBox();
// Installs a box for the whole process; nullptr restores the stderr default.
// The caller keeps ownership and must outlive its installation.
void InstallMessageBox(MessageBox* box);

// Writes boxes to stderr; a question is answered with its first button when
// `answerYes` is set (the CLI's --yes), else with Cancel.
class StderrMessageBox : public MessageBox {
 public:
  explicit StderrMessageBox(bool answerYes = false) : answerYes_(answerYes) {}
  MsgAnswer Show(const MsgRequest& request) override;

 private:
  bool answerYes_;
};

const char* IconName(MsgIcon icon);
const char* ButtonsName(MsgButtons buttons);
const char* AnswerName(MsgAnswer answer);
MsgAnswer FirstButton(MsgButtons buttons);
bool IsButtonOf(MsgAnswer answer, MsgButtons buttons);

}  // namespace platform
