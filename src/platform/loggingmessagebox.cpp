#include "platform/loggingmessagebox.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace platform {

namespace {

bool ParseAnswer(const std::string& word, MsgAnswer& answer) {
  static const struct {
    const char* word;
    MsgAnswer answer;
  } kWords[] = {{"ok", MsgAnswer::Ok}, {"cancel", MsgAnswer::Cancel}, {"yes", MsgAnswer::Yes}, {"no", MsgAnswer::No}};
  for (const auto& entry : kWords) {
    if (word == entry.word) {
      answer = entry.answer;
      return true;
    }
  }
  return false;
}

}  // namespace

std::string JsonQuoted(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
    case '"': out += "\\\""; break;
    case '\\': out += "\\\\"; break;
    case '\n': out += "\\n"; break;
    case '\r': out += "\\r"; break;
    case '\t': out += "\\t"; break;
    default:
      if (c < 0x20) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
        out += escaped;
      } else {
        out += static_cast<char>(c);
      }
    }
  }
  return out + "\"";
}

LoggingMessageBox::LoggingMessageBox(std::string logPath, const std::string& answers) : logPath_(std::move(logPath)) {
  std::istringstream words(answers);
  std::string word;
  while (std::getline(words, word, ',')) {
    MsgAnswer answer;
    // An unknown word still uses up its place, so later answers keep their order.
    answers_.push_back(ParseAnswer(word, answer) ? answer : MsgAnswer::Cancel);
  }
}

MsgAnswer LoggingMessageBox::NextAnswer(MsgButtons buttons) {
  if (answers_.empty()) return FirstButton(buttons);
  MsgAnswer answer = answers_.front();
  answers_.pop_front();
  // An answer the box cannot give is taken as the box's own way out.
  if (!IsButtonOf(answer, buttons)) return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
  return answer;
}

MsgAnswer LoggingMessageBox::Show(const MsgRequest& request) {
  MsgAnswer answer = NextAnswer(request.buttons);
  std::ofstream log(logPath_, std::ios::app | std::ios::binary);
  log << "{\"caption\":" << JsonQuoted(request.caption) << ",\"text\":" << JsonQuoted(request.text) << ",\"icon\":\""
      << IconName(request.icon) << "\",\"buttons\":\"" << ButtonsName(request.buttons) << "\",\"answer\":\""
      << AnswerName(answer) << "\"}\n";
  return answer;
}

std::unique_ptr<MessageBox> ChooseMessageBox(std::unique_ptr<MessageBox> interactive) {
  const char* log = std::getenv("RWQ_MSGBOX_LOG");
  if (log == nullptr || *log == '\0') return interactive;
  const char* answers = std::getenv("RWQ_MSGBOX_ANSWERS");
  return std::make_unique<LoggingMessageBox>(log, answers != nullptr ? answers : "");
}

}  // namespace platform
