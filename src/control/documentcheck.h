#pragma once

#include "control/warningcheck.h"

class Document;
class cmcGTex;

// The warning check over a document without a window (the command line):
// the cell links read its edit image with no editors and no special mode.
WarningMarks CheckDocument(cmcGTex& overlay, Document& document);
