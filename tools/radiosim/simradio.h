#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "radiosim/faults.h"
#include "radiosim/identification.h"
#include "radiosim/radiomemory.h"
#include "radiosim/transmitter.h"
#include "radiosim/wire.h"

// How the simulated radio behaves beyond its memory.
struct RadioSettings {
  identification::Traits traits;
  int recordLength = 16;  // data bytes per record the radio sends (even)
  bool echo = false;      // a one-wire cable: every received byte comes back
  FaultPlan faults;
};

// The radio's side of the clone protocol, without a line: bytes from the
// programming computer go in, the bytes the radio puts on the line come out.
// It answers information, read and write requests, takes the settings
// commands of the transfer preparation without answering them, and guards
// reads and writes with its clone password.
class SimRadio {
 public:
  using WriteListener = std::function<void(const RadioMemory&)>;
  using Log = std::function<void(const std::string&)>;

  // Flow control of a write: one go-on byte per page of this many addresses.
  static constexpr int kPageSize = 128;

  SimRadio(RadioMemory memory, RadioSettings settings);

  void Receive(std::span<const std::uint8_t> bytes);
  // Up to `max` bytes for the line, oldest first; a read's records are built
  // as the line takes them.
  std::vector<std::uint8_t> Send(std::size_t max);
  bool HasOutput() const;
  // The radio has dropped the line (once its last bytes are out).
  bool HungUp() const { return transmitter_.HungUp(); }

  const RadioMemory& Memory() const { return memory_; }
  // Called after each write whose end of data the radio accepted.
  void SetWriteListener(WriteListener listener) { writeListener_ = std::move(listener); }
  void SetLog(Log log) { log_ = std::move(log); }

  // The settings commands last taken: the line speed in baud, write mode.
  std::optional<int> CommandedSpeed() const { return commandedSpeed_; }
  std::optional<bool> CommandedWriteMode() const { return commandedWriteMode_; }

 private:
  enum class Operation { kIdle, kReading, kWriting };

  void OnFrame(const radiowire::ReceivedFrame& frame);
  void OnInformation();
  void OnRead();
  void OnWrite();
  void OnRecord(std::span<const std::uint8_t> body);
  void OnEndOfData(std::span<const std::uint8_t> body);
  void OnSetting(std::span<const std::uint8_t> body);
  void OnPassword(std::span<const std::uint8_t> text);
  // Takes the password unlock: true when the request may go on.
  bool Admit(bool forWrite);
  void ContinueRead(std::size_t wanted);
  void SendFlowControl();
  void AbandonWrite(const std::string& why);
  void Note(const std::string& text) const;

  RadioMemory memory_;
  RadioSettings settings_;
  Transmitter transmitter_;
  radiowire::FrameCollector collector_;
  WriteListener writeListener_;
  Log log_;

  Operation operation_ = Operation::kIdle;
  bool unlocked_ = false;
  std::optional<int> commandedSpeed_;
  std::optional<bool> commandedWriteMode_;
  // The current read.
  int readAddress_ = 0;
  int recordsSent_ = 0;
  // The current write.
  int recordsTaken_ = 0;
  int flowBytes_ = 0;
};
