#pragma once

#include "core/buff.h"
#include "model/eeprom.h"

// The result record of one clone operation: what the driver hands to the
// operation's completion callback.

// The operation kinds; 4, 5 and 7 belong to the adjustment driver.
enum class CloneKind : int {
  kNone = 0,
  kInformation = 1,
  kRead = 2,
  kWrite = 3,
  kAdjustCommand = 4,
  kAdjustTable = 5,
  kFilterSweep = 7,
};

// Result codes. The driver gives 0 to 10 and 17; the clone manager's checks
// give 11 and above (up to 16).
enum class CloneCode : int {
  kSuccess = 0,
  kRecordAccepted = 1,  // inside the driver only: a data record was taken
  kPortNotOpen = 2,
  kEchoMismatch = 4,        // or a time-out while echo bytes were outstanding
  kTimeout = 5,             // no progress within the current state's limit
  kBadFrame = 6,            // also the refuse byte and a reply that is not packed BCD
  kFrameCountMismatch = 7,  // the end-of-data count differs from the records counted
  kAddressesMissing = 8,    // a read ended with requested addresses not received
  kAddressOutside = 9,      // a record outside the image or the requested ranges
  kWriteNotConfirmed = 10,
  kIdentificationRefused = 11,
  kIdentificationUnread = 12,
  kOperationRefused = 13,
  kIdentificationValue = 14,
  kImageCheckFirst = 15,
  kImageCheckSecond = 16,
  kPortWriteError = 17,
  kCancelled = 18,       // the user stopped the chain (a password not given): no message
  kVerifyMismatch = 19,  // the read-back differs from what was written; its own message names where
};

struct dst_CDrv_Result {
  CloneKind kind = CloneKind::kNone;
  CloneCode code = CloneCode::kPortNotOpen;
  // The frame parameters at the start; after an information operation, the
  // radio's model code (A) and revision word (B).
  int a = 0;
  int b = 0;
  // The identification bytes of the information reply.
  cmcBuff identification;
  // Received data (read), or the copy of the image being sent (write).
  cmcEeprom image;
  // Bit (address mod 8) of byte (address / 8) is set for every address received.
  cmcBuff receivedMap;
};
