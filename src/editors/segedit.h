#pragma once

#include <QPushButton>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>

#include "editors/fieldeditor.h"
#include "sheet/segchar.h"

class cmcGTex;

// The drawing box of the segment character editor: the editable segments of
// one character, black when on and white when off; a click switches the
// first editable segment under the mouse.
class SegmentBox : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kSide = 200;
  static constexpr double kExtent = 180;
  static constexpr double kMargin = 10;

  SegmentBox(Segchar& segments, QWidget* parent = nullptr);

  // The box pixels at the centre of a segment's first triangle (for tests and tools).
  std::optional<QPoint> CentreOf(int segment) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  Segchar& segments_;
  SegmentScale scale_;
};

// The segment character editor: a dialog at the opening cell that holds the
// main window while it is open; OK replies the 16-bit pattern in decimal,
// Cancel and the window's close reply nothing.
class cuiSegEdit : public FieldEditor {
  Q_OBJECT

 public:
  cuiSegEdit(EditorOpener opener, cmcGTex& mainOverlay, cmcEvMan* events, const Segchar& shapes, std::uint16_t pattern);
  ~cuiSegEdit() override;

  const Segchar& Segments() const { return segments_; }
  SegmentBox& Box() const { return *box_; }
  QPushButton& OkButton() const { return *ok_; }
  QPushButton& CancelButton() const { return *cancel_; }

 protected:
  std::optional<std::string> Reply() const override { return std::to_string(segments_.Pattern()); }
  bool RepliesOnDeactivation() const override { return false; }

 private:
  Segchar segments_;
  SegmentBox* box_;
  QPushButton* ok_;
  QPushButton* cancel_;
};
