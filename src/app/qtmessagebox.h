#pragma once

#include "platform/messagebox.h"

class QWidget;

// Message boxes as real windows, owned by the main window once it exists.
class QtMessageBox : public platform::MessageBox {
 public:
  platform::MsgAnswer Show(const platform::MsgRequest& request) override;
  void SetOwner(QWidget* owner) { owner_ = owner; }

 private:
  QWidget* owner_ = nullptr;
};
