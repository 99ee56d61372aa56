#include "app/instancelock.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString WithFolderMade(const QString& path) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  return path;
}

bool Acquire(QLockFile& file) {
  // Only a dead owner makes a lock stale, never its age: an instance may run for days.
  file.setStaleLockTime(0);
  return file.tryLock(0);
}

}  // namespace

InstanceLock::InstanceLock(const QString& path) : file_(WithFolderMade(path)), held_(Acquire(file_)) {}
