#pragma once

#include <string>

// What the navigation tree asks of the controller when a node is chosen:
// open the sheet that the node's reference names.
class SheetOpener {
 public:
  virtual ~SheetOpener() = default;
  virtual void OpenSheet(const std::string& reference) = 0;
};
