#pragma once

#include <QMainWindow>

// The main window. The tree, menu, tool bar and sheets find their places here.
class TForm1 : public QMainWindow {
  Q_OBJECT
public:
  explicit TForm1(QWidget* parent = nullptr);
};
