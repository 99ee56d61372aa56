#pragma once

#include <string>

// The pseudo-terminal the simulated radio sits on. The program under test
// opens the slave side as its serial port; the radio reads and writes the
// master side. The radio keeps a slave descriptor of its own, so the master
// stays usable while the program closes and reopens the port, and so it can
// read the line settings the program sets.
class PseudoTerminal {
 public:
  PseudoTerminal() = default;
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  // Opens a new pair in raw mode at 9600 baud, the master non-blocking.
  // Empty on success, else why it failed.
  std::string Open();
  void Close();

  int Master() const { return master_; }
  const std::string& SlavePath() const { return slavePath_; }
  // The speed the program last set on the line, in baud (9600 when it set
  // none or the speed is unknown).
  int LineSpeed() const;
  // Bytes that reached the slave side and the program has not read yet.
  int UnreadBySlave() const;

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

// A symbolic link to the slave side, removed again at destruction when it
// still points there.
class SlaveLink {
 public:
  SlaveLink() = default;
  ~SlaveLink();
  SlaveLink(const SlaveLink&) = delete;
  SlaveLink& operator=(const SlaveLink&) = delete;

  // Makes `link` point at `target`; an existing symbolic link there is
  // replaced, any other file is left alone. Empty on success, else why not.
  std::string Make(const std::string& link, const std::string& target);

 private:
  std::string link_;
  std::string target_;
};
