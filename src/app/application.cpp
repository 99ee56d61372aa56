#include "app/application.h"

#include <QApplication>

#include "app/mainform.h"
#include "app/qtmessagebox.h"
#include "app/signalcloser.h"
#include "platform/loggingmessagebox.h"

int RunApplication(int argc, char** argv) {
  QApplication application(argc, argv);
  std::unique_ptr<platform::MessageBox> box = platform::ChooseMessageBox(std::make_unique<QtMessageBox>());
  platform::InstallMessageBox(box.get());

  int status = 0;
  {
    TForm1 form;
    if (auto* windowBox = dynamic_cast<QtMessageBox*>(box.get())) windowBox->SetOwner(&form);
    SignalCloser closer;
    QObject::connect(&closer, &SignalCloser::closeRequested, &form, &QWidget::close);
    form.show();
    status = application.exec();
  }
  platform::InstallMessageBox(nullptr);
  return status;
}
