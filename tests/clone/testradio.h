#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/eeprom.h"
#include "model/memorymap.h"

// A radio's side of the clone protocol for tests, written from the protocol's
// description: it answers the information request, streams its image for a
// read, takes a write with go-on bytes at every flow-control boundary and
// confirms it, and checks the clone password. Knobs tamper with its frames to
// inject faults.
class TestRadio {
 public:
  using Bytes = std::vector<std::uint8_t>;
  // Sends bytes to the computer after a delay in ms.
  using Send = std::function<void(const Bytes& bytes, double delayMs)>;
  // The time on the line, for checks of the order of events.
  using Now = std::function<double()>;

  TestRadio(Send send, Now now);

  // Feed every byte the computer sends.
  void OnByte(std::uint8_t byte);

  // Who the radio is.
  int modelCode = 0x3620;
  int revision = 0x0006;
  Bytes identification;  // 78 bytes, byte 0 = 78
  bool answerInformation = true;
  std::optional<Bytes> informationReply;  // replaces the reply

  // The image it holds and sends for a read.
  cmcEeprom image{cmcEeprom::kRawSize};
  std::vector<memmap::AddressRange> readRanges = {{0x0200, 0x7D7F}};
  std::vector<int> recordLengths = {16};  // taken in turn
  bool endCount = true;
  // Edits the frames of a read (each from FE FE to FD) before they are sent.
  std::function<void(std::vector<Bytes>& frames)> tamperRead;

  // A write.
  bool goOnAfterWriteRequest = true;
  int flowInterval = 128;
  double goOnDelayMs = 0;
  std::optional<std::uint8_t> writeRequestAnswer;  // replaces the first go-on byte
  Bytes confirmation = {0xFE, 0xFE, 0xEF, 0xEE, 0xE6, 0x00, 0xFD};
  bool confirm = true;

  // The clone password: read and write requests go unanswered until it was given.
  std::optional<std::string> password;

  // What happened.
  std::vector<Bytes> frames;  // every frame from the computer, FE (one) to FD excluded
  cmcEeprom written{cmcEeprom::kRawSize};
  int recordsWritten = 0;
  int goOnSent = 0;
  int badRecords = 0;
  // Records that arrived before the go-on byte owed for the boundary before them.
  int flowViolations = 0;
  std::string endText;
  bool passwordGiven = false;
  std::vector<std::pair<int, int>> adjustCommands;  // command, value

 private:
  void OnFrame(const Bytes& frame);
  void OnRecord(const Bytes& body);
  void SendRead();
  void SendGoOn();
  void OnAdjust(const Bytes& body);

  Send send_;
  Now now_;
  Bytes partial_;
  bool inFrame_ = false;
  double goOnArrivesAt_ = -1;
};

// A record as the radio sends it: FE FE EF EE E4, the ASCII text, FD.
TestRadio::Bytes RadioRecord(int address, const std::vector<std::uint8_t>& data);
