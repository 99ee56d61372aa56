#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QPushButton;

// The painted bar of the progress window: 32 equal segments, each followed by
// a one-pixel gap; the first n filled with the highlight colour.
class ProgressSegmentsBox : public QWidget {
 public:
  static constexpr int kWidth = 256;
  static constexpr int kHeight = 16;

  explicit ProgressSegmentsBox(QWidget* parent = nullptr);
  void SetFilled(int segments);
  int Filled() const { return filled_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int filled_ = 0;
};

// The progress window of a read or write: a tool window the user cannot
// close, centred on its owner, with the segment bar and a Cancel button that
// asks the owner to stop the transfer.
class CloneProgressWindow : public QDialog {
 public:
  CloneProgressWindow(QWidget* owner, const QString& cancelText, std::function<void()> cancel);

  // Shows the window with a caption and an empty bar.
  void Open(const std::string& caption);
  void SetSegments(int segments) { box_->SetFilled(segments); }
  int Segments() const { return box_->Filled(); }
  void Finish();
  QPushButton* CancelButton() const { return cancelButton_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  ProgressSegmentsBox* box_;
  QPushButton* cancelButton_;
  std::function<void()> cancel_;
};
