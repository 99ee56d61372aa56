#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>
#include <array>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/instancelock.h"
#include "model/recent.h"
#include "platform/portpaths.h"

// The stored position of one edit window, by its window name.
struct EditFormPosition {
  std::string name;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::array<int, 4> extra = {-1, -1, -1, -1};  // the edit window's own, kept in memory only
  int windowState = 0;
  int last = 0;  // the edit window's own, kept in memory only
};

// The user's settings between runs, in an INI file with one group per sub-key.
// Only the first running instance loads them and saves them (at destruction);
// a later instance keeps every value at 0 or empty and never writes the file.
// The members are read and written directly by the parts that own their meaning.
class indEnviron {
 public:
  static constexpr int kVersion = 753951;
  static constexpr std::size_t kRecentFiles = 10;

  indEnviron();
  ~indEnviron();
  indEnviron(const indEnviron&) = delete;
  indEnviron& operator=(const indEnviron&) = delete;

  bool IsFirstInstance() const { return lock_.IsFirstInstance(); }

  // The record for a window name, from memory or else from the file; none when
  // the file holds no complete position for it.
  EditFormPosition* GetEditFormPosition(const std::string& name);
  // Creates or updates the record and makes it the newest.
  void SetEditFormPosition(const EditFormPosition& position);

  // Values of other parts, under a key path below the application's key
  // ("Column Width\\Sheet"): an absent or unreadable integer reads as -1,
  // absent binary data as none. Only the first instance writes.
  int ReadInteger(const QString& keyPath, const QString& name) const;
  std::optional<QByteArray> ReadBinary(const QString& keyPath, const QString& name) const;
  bool WriteInteger(const QString& keyPath, const QString& name, int value);
  bool DeleteKey(const QString& keyPath);
  // Every integer under the key path, by value name; unreadable values are left out.
  std::map<QString, int> ReadIntegers(const QString& keyPath) const;
  // The key's values become exactly these, written at once.
  bool ReplaceIntegers(const QString& keyPath, const std::map<QString, int>& values);

  // The user's named device paths for the port numbers 161 to 256, from the
  // group "PortPaths" (value name the number, data the path); other names and
  // empty paths are left out.
  platform::PortPaths ReadPortPaths() const;

  // The main window's default bounds on a desktop work area.
  static QRect DefaultWindowBounds(const QRect& workArea);

  // "Global"
  int bbt = 0;
  int comPort = 0;
  int comSpeedHigh = 0;
  std::string currentDirectory;
  int mchView = 0;
  int dockFloatCheck = 0;
  int alignCheck = 0;
  int floatingCheck = 0;
  int pHelpAlignCheck = 0;
  int pHelpFloatingCheck = 0;
  int pHelpView = 1;
  // "Recent File List"
  cmcRecent recent{kRecentFiles};
  // "View Option"
  int fontSizePercentage = 0;
  int toolbarVisible = 0;
  int fontSizePrinter = 0;
  // "Window Position"
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int splitterV = 0;
  int dockMemWinTop = 0, dockMemWinLeft = 0, dockMemWinHeight = 0, dockMemWinWidth = 0;
  int dockMchWinTop = 0, dockMchWinLeft = 0, dockMchWinHeight = 0, dockMchWinWidth = 0;
  int dockPHelpWinTop = 0, dockPHelpWinLeft = 0, dockPHelpWinHeight = 0, dockPHelpWinWidth = 0;
  int floatPHelpWinHeight = 0, floatPHelpWinWidth = 0;
  int sMemWinHeight = 0, sMemWinHeightWithMch = 0, sMemWinHeightWithHelp = 0, sMemWinHeightWithMchAndHelp = 0;
  int sMchWinHeight = 0, sMchWinHeightWithHelp = 0;
  int sHelpWinHeight = 0, sHelpWinHeightWithMch = 0;
  // "Setup"
  int modelType = 0;
  int language = 0;
  // "Password"
  std::string makerReserveMode;
  std::string adjustMode;

  // Docking requests derived at load: a pane that was docked docks at its first show.
  bool mchDockPending = false;
  bool pHelpDockPending = false;

 private:
  bool Load();
  void ApplyDefaults();
  void Save() const;

  InstanceLock lock_;
  std::list<EditFormPosition> positions_;  // newest first
};

// The access words' stored form: two upper-case hexadecimal digits per
// character, "00" for the empty word. Decoding refuses anything malformed.
QString EncodeAccessWord(const std::string& word);
std::optional<std::string> DecodeAccessWord(const QString& stored);
