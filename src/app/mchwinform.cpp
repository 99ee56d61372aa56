#include "app/mchwinform.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/environ.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "grid/grid.h"
#include "grid/sheetframe.h"
#include "runtime/events.h"
#include "runtime/evman.h"

namespace {

// The lines of the button texts.
enum ButtonLine { kCloseLine = 0, kNextLine = 1, kPreviousLine = 2, kFollowLine = 3 };

QString Line(cmcGTex& overlay, std::string_view block, int line) {
  return QString::fromStdString(overlay.GetLine(block, line));
}

}  // namespace

MchWinForm::MchWinForm(const Setup& setup, QWidget* parent)
    : QWidget(parent),
      events_(setup.events),
      settings_(setup.settings),
      frame_(new cuiSheetFrame(this)),
      close_(new QPushButton(this)),
      next_(new QPushButton(this)),
      previous_(new QPushButton(this)),
      follow_(new QCheckBox(this)) {
  cmcGTex& overlay = setup.overlay;
  setWindowTitle(Line(overlay, gi::GI_Sys_AppTitle, 0));
  close_->setText(Line(overlay, gi::GI_AppInd_MchWin_Button, kCloseLine));
  next_->setText(Line(overlay, gi::GI_AppInd_MchWin_Button, kNextLine));
  previous_->setText(Line(overlay, gi::GI_AppInd_MchWin_Button, kPreviousLine));
  follow_->setText(Line(overlay, gi::GI_AppInd_MchWin_Button, kFollowLine));
  follow_->setChecked(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(close_);
  buttons->addWidget(previous_);
  buttons->addWidget(next_);
  buttons->addWidget(follow_);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(frame_, 1);
  layout->addLayout(buttons);

  cuiGrid& grid = frame_->Grid();
  grid.SetMenuOverlays(&overlay, &overlay);
  grid.SetEvents(setup.events);
  SheetServices services{overlay, overlay, setup.image, grid.Measurer()};
  services.links = setup.links;
  services.events = setup.events;
  services.view = &grid;
  services.widths = setup.widths;
  services.charset = setup.charset;
  services.segchar = setup.segchar;
  services.modes = setup.modes;
  logic_ = std::make_unique<iuiMchWin>(services, setup.environment);
  logic_->SetModesSource(setup.currentModes);
  logic_->SetSheetHost([this](std::unique_ptr<cuiSheet> sheet) {
    if (sheet) {
      frame_->Attach(std::move(sheet));
    } else {
      frame_->Detach();
    }
  });

  connect(close_, &QPushButton::clicked, this, &QWidget::close);
  connect(next_, &QPushButton::clicked, this, [this] { logic_->Next(); });
  connect(previous_, &QPushButton::clicked, this, [this] { logic_->Previous(); });
  connect(follow_, &QCheckBox::toggled, this, [this](bool on) { logic_->SetFollow(on); });
  if (events_) events_->AddListener(&MchWinForm::Listen, this);
  RestoreBounds();
}

MchWinForm::~MchWinForm() {
  if (events_) events_->RemoveListener(&MchWinForm::Listen, this);
  // The sheet goes before the logic that points at it.
  logic_->SetSheetHost({});
  frame_->Detach();
}

bool MchWinForm::Open(int bank, int channel) { return logic_->Open(bank, channel); }

void MchWinForm::closeEvent(QCloseEvent* event) {
  StoreBounds();
  // The View menu's tick and the tool bar follow.
  if (events_) events_->Send(ev::kRefresh, nullptr, 0);
  QWidget::closeEvent(event);
}

void MchWinForm::StoreBounds() const {
  if (!settings_ || !isWindow()) return;
  const QRect bounds = normalGeometry();
  if (!bounds.isValid()) return;
  settings_->dockMchWinLeft = bounds.left();
  settings_->dockMchWinTop = bounds.top();
  settings_->dockMchWinWidth = bounds.width();
  settings_->dockMchWinHeight = bounds.height();
}

// Stored bounds of no size count as none; a window in the area takes the area's.
void MchWinForm::RestoreBounds() {
  if (!settings_ || !isWindow() || settings_->dockMchWinWidth <= 0 || settings_->dockMchWinHeight <= 0) return;
  setGeometry(settings_->dockMchWinLeft, settings_->dockMchWinTop, settings_->dockMchWinWidth,
              settings_->dockMchWinHeight);
}

void MchWinForm::Listen(void* data, const Event& event) { static_cast<MchWinForm*>(data)->OnEvent(event); }

void MchWinForm::OnEvent(const Event& event) {
  switch (event.code) {
  case ev::kCloseMchWindow: close(); return;
  case ev::kShowMchWindow: show(); return;
  case ev::kHideMchWindow: hide(); return;
  default: return;
  }
}
