#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into an orderly close of a window. The handler only
// writes a byte to a pipe; the work happens in the event loop.
class SignalCloser : public QObject {
  Q_OBJECT
 public:
  explicit SignalCloser(QObject* parent = nullptr);
  ~SignalCloser() override;

 Q_SIGNALS:
  void closeRequested();

 private:
  void OnSignalByte();

  QSocketNotifier* notifier_ = nullptr;
};
