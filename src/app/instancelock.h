#pragma once

#include <QLockFile>
#include <QString>

// Tells the first running instance from later ones. The lock is held for the
// life of the object; a lock left by a process that died is taken over. When
// the lock cannot be made at all, the process counts as the first instance.
class InstanceLock {
 public:
  explicit InstanceLock(const QString& path);
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  bool IsFirstInstance() const { return held_; }

 private:
  QLockFile file_;
  bool held_;
};
