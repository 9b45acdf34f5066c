// The menu runs on one thread of its own: the window's, which also serves every call a screen
// reader makes (they come through its message loop). The C++ runtime still asks for a lock here
// and there (its exception buffers and thread-local data) and for thread-local keys, which would
// bring the whole POSIX thread library into the program, about a seventh of its size. In
// menu.exe only, these are the single-threaded forms of the few functions it asks for.
#include <pthread.h>

#include <cerrno>

namespace {

// Thread-local keys of the one thread: a handful are ever made (the runtime's exception data).
constexpr pthread_key_t kMaxKeys = 64;
void* keyValues[kMaxKeys] = {};
pthread_key_t keysMade = 0;

}  // namespace

extern "C" {

int pthread_mutex_init(pthread_mutex_t*, const pthread_mutexattr_t*) { return 0; }
int pthread_mutex_destroy(pthread_mutex_t*) { return 0; }
// Nothing else can hold a lock, and no code of the runtime takes one twice.
int pthread_mutex_lock(pthread_mutex_t*) { return 0; }
int pthread_mutex_unlock(pthread_mutex_t*) { return 0; }

int pthread_once(pthread_once_t* once, void (*init)(void)) {
  if (*once == PTHREAD_ONCE_INIT) {
    *once = 1;
    init();
  }
  return 0;
}

// The thread's values live as long as the process, so no destructor is ever due.
int pthread_key_create(pthread_key_t* key, void (*)(void*)) {
  if (keysMade == kMaxKeys) return EAGAIN;
  *key = keysMade++;
  return 0;
}

void* pthread_getspecific(pthread_key_t key) { return key < keysMade ? keyValues[key] : nullptr; }

int pthread_setspecific(pthread_key_t key, const void* value) {
  if (key >= keysMade) return EINVAL;
  keyValues[key] = const_cast<void*>(value);
  return 0;
}

}  // extern "C"
