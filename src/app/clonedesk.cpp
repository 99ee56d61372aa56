#include "app/clonedesk.h"

#include "app/environ.h"

namespace {

const QString kCloneGroup = QStringLiteral("Clone");
const QString kVerifyValue = QStringLiteral("VerifyAfterWrite");
const QString kBackupRadioValue = QStringLiteral("BackupRadioBeforeWrite");

// On unless the user turned it off.
int StoredVerify(const indEnviron& settings) { return settings.ReadInteger(kCloneGroup, kVerifyValue) == 0 ? 0 : 1; }

}  // namespace

CloneDesk::CloneDesk(TaskScheduler& scheduler, cmcGTex& overlay, cmcEvMan& events, Document& document,
                     indEnviron& settings, QWidget* mainWindow, CloneControllerHooks hooks)
    : settings_(settings),
      verifyAfterWrite_(StoredVerify(settings)),
      // Off unless the user turned it on (an absent value reads as -1).
      backupRadioFirst_(settings.ReadInteger(kCloneGroup, kBackupRadioValue) == 1 ? 1 : 0),
      manager_(scheduler, overlay),
      windows_(mainWindow, overlay, events, [&settings] { return settings.ReadPortPaths(); }) {
  if (!hooks.portPaths) hooks.portPaths = [&settings] { return settings.ReadPortPaths(); };
  commands_ = std::make_unique<CloneCommands>(
      document, manager_, overlay, events,
      CloneSettings{settings.comPort, settings.comSpeedHigh, verifyAfterWrite_, backupRadioFirst_}, windows_,
      std::move(hooks));
  windows_.SetCancel([this] { commands_->Cancel(); });
}

CloneDesk::~CloneDesk() {
  settings_.WriteInteger(kCloneGroup, kVerifyValue, verifyAfterWrite_);
  settings_.WriteInteger(kCloneGroup, kBackupRadioValue, backupRadioFirst_);
}
