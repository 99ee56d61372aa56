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
  if (file.tryLock(0)) return true;
  // Only a lock held by another process means another instance. A lock that
  // cannot be made at all (a read-only settings folder) is no proof of one, and
  // leaving silently would look like a start that never happened; this process
  // then runs as the first, and its settings save fails quietly.
  return file.error() != QLockFile::LockFailedError;
}

}  // namespace

InstanceLock::InstanceLock(const QString& path) : file_(WithFolderMade(path)), held_(Acquire(file_)) {}
