#include "app/mainform.h"

#include <QWidget>

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setCentralWidget(new QWidget(this));
  setMinimumSize(400, 380);
}
