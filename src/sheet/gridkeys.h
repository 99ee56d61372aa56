#pragma once

#include <cstdint>
#include <optional>

#include "sheet/autorepeat.h"
#include "sheet/cellposition.h"

class cuiSheet;

// Virtual key codes of the keys the grid knows.
namespace vkey {
constexpr int kPageUp = 0x21;
constexpr int kPageDown = 0x22;
constexpr int kEnd = 0x23;
constexpr int kHome = 0x24;
constexpr int kLeft = 0x25;
constexpr int kUp = 0x26;
constexpr int kRight = 0x27;
constexpr int kDown = 0x28;
constexpr int kF1 = 0x70;
constexpr int kF12 = 0x7B;
}  // namespace vkey

struct KeyModifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// Turns the grid's keys into moves of the current cell and cell actions:
// page and arrow keys move, F1 to F12 (and an arrow that cannot move) reach
// the cell as key code × 256, typed characters reach it as their code.
class GridKeys {
 public:
  // The key code a key reaches a cell with.
  static constexpr std::int32_t CellCode(int virtualKey) { return virtualKey * 256; }

  explicit GridKeys(cuiSheet& sheet) : sheet_(sheet) {}

  // A key press; false when the grid leaves it to others (the pop-up menu's shortcuts).
  bool KeyDown(int virtualKey, KeyModifiers modifiers);
  // A typed character (1 to 255; Enter 13, space 32, backspace 8).
  bool Character(int code);
  // The mouse wheel would select `target`: it becomes current when it may,
  // else the current cell steps one row, down when turned toward the user.
  bool Wheel(CellPosition target, bool towardUser);
  // Sends a code to the current cell when it is selectable; a link that asks
  // to repeat the action starts (or goes on with) the auto-repeat.
  void SendToCurrent(std::int32_t code);

  // The wait before the next repetition, counting it; none when no repeat is due.
  std::optional<int> RepeatWait() { return repeat_.Next(); }
  // Runs the due repetition; it goes on only while the link asks again.
  void Repeat();
  void StopRepeat() { repeat_.Stop(); }
  bool Repeating() const { return repeat_.Active(); }

 private:
  cuiSheet& sheet_;
  AutoRepeat repeat_;
};
