#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/loggingmessagebox.h"
#include "support/temp_dir.h"

using platform::LoggingMessageBox;
using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgRequest;

TEST(LoggingMessageBox, LogsOneJsonLinePerBoxAndAnswersInOrder) {
  TempDir dir;
  const std::string log = dir.File("boxes.jsonl");
  LoggingMessageBox box(log, "cancel,no");

  EXPECT_EQ(box.Show({"RW-M52-Q", "Save \"a\"?\nNow", MsgIcon::Question, MsgButtons::OkCancel}), MsgAnswer::Cancel);
  EXPECT_EQ(box.Show({"RW-M52-Q", "Keep?", MsgIcon::Warning, MsgButtons::YesNoCancel}), MsgAnswer::No);
  // The list has run out: the first button.
  EXPECT_EQ(box.Show({"RW-M52-Q", "Again?", MsgIcon::Question, MsgButtons::YesNoCancel}), MsgAnswer::Yes);
  EXPECT_EQ(box.Show({"x", "Done", MsgIcon::Information, MsgButtons::Ok}), MsgAnswer::Ok);

  EXPECT_EQ(ReadWholeFile(log),
            "{\"caption\":\"RW-M52-Q\",\"text\":\"Save \\\"a\\\"?\\nNow\",\"icon\":\"question\","
            "\"buttons\":\"okcancel\",\"answer\":\"cancel\"}\n"
            "{\"caption\":\"RW-M52-Q\",\"text\":\"Keep?\",\"icon\":\"warning\",\"buttons\":\"yesnocancel\","
            "\"answer\":\"no\"}\n"
            "{\"caption\":\"RW-M52-Q\",\"text\":\"Again?\",\"icon\":\"question\",\"buttons\":\"yesnocancel\","
            "\"answer\":\"yes\"}\n"
            "{\"caption\":\"x\",\"text\":\"Done\",\"icon\":\"information\",\"buttons\":\"ok\",\"answer\":\"ok\"}\n");
}

TEST(LoggingMessageBox, AnswerThatIsNoButtonOfTheBoxIsItsWayOut) {
  TempDir dir;
  LoggingMessageBox box(dir.File("log"), "yes,ok,bogus");
  EXPECT_EQ(box.Show({"c", "t", MsgIcon::Question, MsgButtons::OkCancel}), MsgAnswer::Cancel);
  EXPECT_EQ(box.Show({"c", "t", MsgIcon::Question, MsgButtons::YesNoCancel}), MsgAnswer::Cancel);
  EXPECT_EQ(box.Show({"c", "t", MsgIcon::Error, MsgButtons::Ok}), MsgAnswer::Ok);
}

TEST(ChooseMessageBox, TakesTheLogOnlyWhenTheHookIsSet) {
  TempDir dir;
  const std::string log = dir.File("log");
  unsetenv("RWQ_MSGBOX_LOG");
  auto plain = platform::ChooseMessageBox(std::make_unique<platform::StderrMessageBox>());
  EXPECT_NE(dynamic_cast<platform::StderrMessageBox*>(plain.get()), nullptr);

  setenv("RWQ_MSGBOX_LOG", log.c_str(), 1);
  setenv("RWQ_MSGBOX_ANSWERS", "cancel", 1);
  auto logged = platform::ChooseMessageBox(std::make_unique<platform::StderrMessageBox>());
  unsetenv("RWQ_MSGBOX_LOG");
  unsetenv("RWQ_MSGBOX_ANSWERS");
  EXPECT_EQ(logged->Show({"c", "t", MsgIcon::Question, MsgButtons::OkCancel}), MsgAnswer::Cancel);
  EXPECT_NE(ReadWholeFile(log).find("\"answer\":\"cancel\""), std::string::npos);
}

TEST(JsonQuoted, EscapesControlCharacters) { EXPECT_EQ(platform::JsonQuoted("a\tb\\c\x01"), "\"a\\tb\\\\c\\u0001\""); }
