#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "sheet/cellposition.h"

class QHBoxLayout;
class QPushButton;
class cuiGrid;
class cuiSheet;
class cmcEvMan;
struct Event;
struct cmcCellCapsule;

// The cell a pop-up editor was opened from: where its reply goes back to.
struct EditorOpener {
  QPointer<cuiGrid> grid;
  CellPosition cell;

  // The grid cell showing the request's cell; none when no grid shows it.
  static std::optional<EditorOpener> Of(const cmcCellCapsule& request);
};

// What the bit-field, segment-text and segment character editors share: one
// reply at most, through the opening cell's link as a text reply; Cancel or
// Escape sets the cancelled flag and closes; deactivation (the user clicks
// elsewhere) and the event manager's close request deliver unless cancelled
// (where the editor replies on deactivation); the owner's destruction acts as
// Cancel; a wheel turn over the owner is consumed while it is open. The
// window deletes itself when closed.
class FieldEditor : public QWidget {
  Q_OBJECT

 public:
  ~FieldEditor() override;

  // While any editor is open (help reads it).
  static bool AnyOpen() { return openCount_ > 0; }

  // OK: the reply goes back, the window closes.
  void Commit();
  void Cancel();
  // Another window took the activation; also the seam the tests use.
  void Deactivate();

 protected:
  FieldEditor(EditorOpener opener, cmcEvMan* events, Qt::WindowFlags flags);

  // The reply OK would give now; none while it cannot be accepted.
  virtual std::optional<std::string> Reply() const = 0;
  // False for an editor that delivers only through its OK button.
  virtual bool RepliesOnDeactivation() const { return true; }

  const EditorOpener& Opener() const { return opener_; }
  // Moves the window (already sized) to the opening cell.
  void PlaceAtOpener();
  // The right-aligned OK and Cancel row: OK is the default button and commits,
  // Cancel cancels.
  QHBoxLayout* OkCancelRow(QPushButton* ok, QPushButton* cancel, int gap);
  // Shows `sheet` in `grid`: the shown sheet, or none when it cannot be
  // built, and the editor then cancels itself.
  cuiSheet* ShowSheet(cuiGrid& grid, std::unique_ptr<cuiSheet> sheet);

  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  static void Hear(void* data, const Event& event);
  void Deliver(const std::string& text);

  EditorOpener opener_;
  std::weak_ptr<const int> openerLife_;
  cmcEvMan* events_;
  bool delivered_ = false;
  bool cancelled_ = false;
  bool closing_ = false;
  static int openCount_;
};
