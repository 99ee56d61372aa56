#include "app/dialogbuttons.h"

#include <QDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPushButton>

#include "core/gtex.h"

DialogButtons AddDialogButtons(QDialog& dialog, QBoxLayout& layout, cmcGTex& overlay, std::string_view captionsBlock,
                               std::string_view sizeBlock) {
  const DialogButtons buttons{new QPushButton(QString::fromStdString(overlay.GetLine(captionsBlock, 0)), &dialog),
                              new QPushButton(QString::fromStdString(overlay.GetLine(captionsBlock, 1)), &dialog)};
  const QFontMetrics metrics = dialog.fontMetrics();
  const QSize size(metrics.horizontalAdvance(QString::fromStdString(overlay.GetLine(sizeBlock, 0))),
                   metrics.height() * 2);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  for (QPushButton* button : {buttons.ok, buttons.cancel}) {
    button->setFixedSize(size);
    row->addWidget(button);
  }
  buttons.ok->setDefault(true);
  QObject::connect(buttons.ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(buttons.cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  layout.addLayout(row);
  return buttons;
}
