#include "app/portdialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "app/dialogbuttons.h"
#include "app/environ.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "platform/messagebox.h"
#include "runtime/events.h"
#include "runtime/evman.h"

namespace {

// The texts whose widths size the field of each style.
const QString kNumberSample = QStringLiteral("255WWWW");
const QString kNumberListSample = QStringLiteral("9999WW");
const QString kNamedListSample = QStringLiteral("33: Tarn USB-to-Serial Cable (/dev/ttyUSB0)WW");
const QString kDroppedMargin = QStringLiteral("WW");
constexpr int kMaxNumberLength = 4;
constexpr int kMinimumExtraWidth = 100;  // beyond the caption's width

// A drop-down list that refills itself each time it opens.
class RefillingList : public QComboBox {
 public:
  RefillingList(QWidget* parent, std::function<void()> beforeDropDown)
      : QComboBox(parent), beforeDropDown_(std::move(beforeDropDown)) {}
  void showPopup() override {
    beforeDropDown_();
    QComboBox::showPopup();
  }

 private:
  std::function<void()> beforeDropDown_;
};

// The decimal number a text is made of, or none; at most four digits.
std::optional<int> DecimalNumber(const QString& text) {
  if (text.isEmpty() || text.size() > kMaxNumberLength) return std::nullopt;
  int value = 0;
  for (const QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    value = value * 10 + (c.unicode() - '0');
  }
  return value;
}

// The number before the ':' of a list entry.
std::optional<int> LeadingNumber(const QString& entry) { return DecimalNumber(entry.section(QLatin1Char(':'), 0, 0)); }

QString FromOverlay(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

PortDialog::PortDialog(QWidget* owner, cmcGTex& overlay, int currentPort, PortFieldStyle style,
                       platform::PortPaths userPaths, platform::DiscoveryRoots roots)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      overlay_(overlay),
      style_(style),
      userPaths_(std::move(userPaths)),
      roots_(std::move(roots)),
      currentPort_(currentPort) {
  setModal(true);
  const QString caption = FromOverlay(overlay_.GetLine(gi::GI_AppInd_Opt_ComSel_Caption, 0));
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // Plain text: an '&' in the notice is shown, never taken as an accelerator.
  auto* notice = new QLabel(FromOverlay(overlay_.GetBlockText(gi::GI_AppInd_Opt_ComSel_Notice)), this);
  notice->setTextFormat(Qt::PlainText);
  layout->addWidget(notice);
  BuildField(currentPort);
  layout->addWidget(list_ != nullptr ? static_cast<QWidget*>(list_) : numberEdit_, 0, Qt::AlignLeft);
  BuildButtons(*layout);
  setMinimumWidth(fontMetrics().horizontalAdvance(caption) + kMinimumExtraWidth);
}

void PortDialog::BuildField(int currentPort) {
  const QFontMetrics metrics = fontMetrics();
  if (style_ == PortFieldStyle::kNumber) {
    numberEdit_ = new QLineEdit(QString::number(currentPort), this);
    numberEdit_->setMaxLength(kMaxNumberLength);
    numberEdit_->setAttribute(Qt::WA_InputMethodEnabled, false);
    numberEdit_->setFixedWidth(metrics.horizontalAdvance(kNumberSample));
    return;
  }
  list_ = new RefillingList(this, [this] {
    RefillList();
    WidenDroppedList();
  });
  const bool editable = style_ == PortFieldStyle::kNumberList;
  list_->setEditable(editable);
  QStyleOptionComboBox option;
  option.initFrom(list_);
  option.editable = editable;
  const QString sample = editable ? kNumberListSample : kNamedListSample;
  const QSize content(metrics.horizontalAdvance(sample), metrics.height());
  list_->setFixedWidth(list_->style()->sizeFromContents(QStyle::CT_ComboBox, &option, content, list_).width());
  if (editable) {
    numberEdit_ = list_->lineEdit();
    numberEdit_->setMaxLength(kMaxNumberLength);
    numberEdit_->setAttribute(Qt::WA_InputMethodEnabled, false);
  }
  RefillList();
  if (editable) numberEdit_->setText(QString::number(currentPort));
}

void PortDialog::BuildButtons(QVBoxLayout& layout) {
  const DialogButtons buttons = AddDialogButtons(*this, layout, overlay_, gi::GI_AppInd_Opt_ComSel_Buttons,
                                                 gi::GI_AppInd_Opt_ComSel_SizeOfButtons);
  okButton_ = buttons.ok;
  cancelButton_ = buttons.cancel;
}

void PortDialog::RefillList() {
  if (list_ == nullptr) return;
  if (style_ == PortFieldStyle::kNumberList) {
    const QString typed = numberEdit_->text();
    list_->clear();
    for (const int port : platform::ListRegistryPorts(userPaths_, roots_)) list_->addItem(QString::number(port));
    numberEdit_->setText(typed);
    return;
  }
  const int selected =
      list_->currentIndex() >= 0 ? LeadingNumber(list_->currentText()).value_or(currentPort_) : currentPort_;
  ReplaceListItems(platform::ListFriendlyPorts(platform::ListDosDevicePorts(userPaths_, roots_), userPaths_, roots_));
  int index = -1;
  for (int i = 0; i < list_->count() && index < 0; ++i) {
    if (LeadingNumber(list_->itemText(i)) == selected) index = i;
  }
  list_->setCurrentIndex(index);
}

// Items whose text stays are left alone, so an open list does not flicker.
void PortDialog::ReplaceListItems(const std::vector<std::string>& entries) {
  const int count = static_cast<int>(entries.size());
  for (int i = 0; i < count; ++i) {
    const QString text = QString::fromStdString(entries[static_cast<std::size_t>(i)]);
    if (i >= list_->count()) {
      list_->addItem(text);
    } else if (list_->itemText(i) != text) {
      list_->setItemText(i, text);
    }
  }
  while (list_->count() > count) list_->removeItem(list_->count() - 1);
}

void PortDialog::WidenDroppedList() {
  if (style_ != PortFieldStyle::kNamedList) return;
  const QFontMetrics metrics = list_->view()->fontMetrics();
  int widest = 0;
  for (int i = 0; i < list_->count(); ++i) widest = std::max(widest, metrics.horizontalAdvance(list_->itemText(i)));
  int width = widest + metrics.horizontalAdvance(kDroppedMargin);
  if (list_->count() > list_->maxVisibleItems()) width += list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  list_->view()->setMinimumWidth(width);
}

std::optional<int> PortDialog::FieldNumber() const {
  if (style_ == PortFieldStyle::kNamedList) {
    if (list_->currentIndex() < 0) return std::nullopt;
    return LeadingNumber(list_->currentText());
  }
  return DecimalNumber(numberEdit_->text().trimmed());
}

void PortDialog::accept() {
  const std::optional<int> port = FieldNumber();
  if (port && *port >= platform::kFirstPortNumber && *port <= platform::kLastPortNumber) {
    chosen_ = port;
    QDialog::accept();
    return;
  }
  const platform::MsgRequest request{overlay_.GetLine(gi::GI_Sys_AppTitle, 0),
                                     overlay_.GetBlockText(gi::GI_AppInd_Opt_ComSel_OutofRange),
                                     platform::MsgIcon::Error, platform::MsgButtons::Ok, true};
  platform::CurrentMessageBox().Show(request);
  QWidget* field = list_ != nullptr ? static_cast<QWidget*>(list_) : numberEdit_;
  field->setFocus();
}

std::optional<int> ChoosePort(QWidget* owner, cmcGTex& overlay, cmcEvMan& events, int currentPort, PortFieldStyle style,
                              const platform::PortPaths& userPaths) {
  std::optional<int> chosen;
  {
    PortDialog dialog(owner, overlay, currentPort, style, userPaths);
    if (dialog.exec() == QDialog::Accepted) chosen = dialog.ChosenPort();
  }
  // A floating child window the dialog covered comes back to the top.
  events.Send(ev::kWindowOrder, std::string_view());
  return chosen;
}

bool ChooseComPort(QWidget* owner, cmcGTex& overlay, cmcEvMan& events, indEnviron& settings, PortFieldStyle style) {
  const std::optional<int> chosen =
      ChoosePort(owner, overlay, events, settings.comPort, style, settings.ReadPortPaths());
  if (chosen) settings.comPort = *chosen;
  return chosen.has_value();
}
