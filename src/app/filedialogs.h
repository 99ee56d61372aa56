#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "control/documentcommands.h"

class QWidget;

// The overlay's filter ("Clone files (*.rwc)|*.rwc|All files (*.*)|*.*", a
// description and its patterns in turn) in Qt's form: one "Description
// (patterns)" per entry, separated by ";;". A description that already shows
// its patterns keeps its text; a pair without patterns is left out.
QString QtFileFilter(std::string_view overlayFilter);

// The open and save dialogs of the document commands, owned by `parent`. The
// save dialog adds the default extension and asks before it names an
// existing file.
std::optional<std::string> AskOpenPath(QWidget* parent, const FileDialogRequest& request);
std::optional<std::string> AskSavePath(QWidget* parent, const FileDialogRequest& request);
