#include "app/cloneinfodialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "links/cloneinfotext.h"
#include "markup/ids.h"

namespace {

// The fields in the order of the labels block.
constexpr std::array<int, 8> kFieldLinks = {
    cl::CL_CloneInfo_Model, cl::CL_CloneInfo_Revision, cl::CL_CloneInfo_Comment1, cl::CL_CloneInfo_Comment2,
    cl::CL_CloneInfo_Esn,   cl::CL_CloneInfo_StunKill, cl::CL_CloneInfo_OverVolt, cl::CL_CloneInfo_CheckSum,
};
constexpr int kButtonMargin = 5;

}  // namespace

CloneInfoDialog::CloneInfoDialog(QWidget* owner, cmcGTex& overlay, std::span<const std::uint8_t> identification)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint),
      okButton_(new QPushButton(QString::fromStdString(overlay.GetLine(gi::GI_AppInd_Button_OkCancel, 0)), this)) {
  setWindowTitle(QString::fromStdString(overlay.GetLine(gi::GI_Sys_AppTitle, 0)));
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  auto* form = new QFormLayout;
  for (std::size_t row = 0; row < kFieldLinks.size(); ++row) {
    auto* label = new QLabel(QString::fromStdString(overlay.GetLine(gi::GI_AppInd_CloneInfo_Labels, row)), this);
    label->setTextFormat(Qt::PlainText);
    // The model's text has two lines; the others one.
    auto* value = new QLabel(QString::fromStdString(CloneInfoText(overlay, identification, kFieldLinks[row])), this);
    value->setTextFormat(Qt::PlainText);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setObjectName(QStringLiteral("value%1").arg(row));
    form->addRow(label, value);
  }
  layout->addLayout(form);
  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(0, kButtonMargin, 0, 0);
  buttons->addStretch();
  buttons->addWidget(okButton_);
  layout->addLayout(buttons);
  okButton_->setDefault(true);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
}

int CloneInfoDialog::RowCount() const { return static_cast<int>(kFieldLinks.size()); }

QString CloneInfoDialog::Value(int row) const {
  const auto* value = findChild<QLabel*>(QStringLiteral("value%1").arg(row));
  return value != nullptr ? value->text() : QString();
}
