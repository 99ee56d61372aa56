#pragma once

#include <QDialog>
#include <cstdint>
#include <span>

class QPushButton;
class cmcGTex;

// The clone information dialog: what the radio said about itself, one labelled
// read-only line per field, with one button that closes it.
class CloneInfoDialog : public QDialog {
 public:
  CloneInfoDialog(QWidget* owner, cmcGTex& overlay, std::span<const std::uint8_t> identification);

  // The value shown for the field in row `row` (as the labels block orders them).
  QString Value(int row) const;
  int RowCount() const;
  QPushButton* OkButton() const { return okButton_; }

 private:
  QPushButton* okButton_;
};
