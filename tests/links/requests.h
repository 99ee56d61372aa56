#pragma once

// Requests the family tests send: a key, or a text committed in the cell.

#include <string>
#include <utility>

#include "links/cellcapsule.h"

inline cmcCellCapsule Key(int key) {
  cmcCellCapsule request;
  request.key = key;
  return request;
}

inline cmcCellCapsule Typed(std::string text) {
  cmcCellCapsule request;
  request.editResult = kTextCommitted;
  request.editedText = std::move(text);
  return request;
}
