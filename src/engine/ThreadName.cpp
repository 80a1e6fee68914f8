#include "engine/ThreadName.h"

#include <pthread.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace vantrel {

void setCurrentThreadName(const char* name) {
  // The kernel keeps 15 bytes plus the terminator and refuses longer names.
  std::string cut(name, std::min<size_t>(std::strlen(name), 15));
  pthread_setname_np(pthread_self(), cut.c_str());
}

}  // namespace vantrel
