// One menu per program file: the first start holds a mutex named after the program's path; a
// later start of the same file brings the open menu to the front and ends.
#pragma once

#include <windows.h>

#include <utility>

#include "Handles.h"

namespace menu {

// A named mutex; CreateMutexW answers "none" with null.
struct MutexTraits : rt::win32::NullEmpty<HANDLE> {
  static void Free(HANDLE h) { CloseHandle(h); }
};
using unique_mutex = rt::win32::UniqueHandle<MutexTraits>;

class OneMenu {
 public:
  // Takes this program file's mutex. When an earlier start holds it, brings that start's menu
  // window to the front, and the caller ends. A mutex that cannot be made never keeps the menu
  // from showing.
  static OneMenu Claim();
  bool IsFirst() const { return first_; }

 private:
  OneMenu(unique_mutex mutex, bool first) : mutex_(std::move(mutex)), first_(first) {}

  unique_mutex mutex_;  // held until the program ends, when the system releases it
  bool first_;
};

}  // namespace menu
