#include "engine/MallocArenas.h"

#include <malloc.h>

namespace vantrel {

void shareMallocArenas() {
  mallopt(M_ARENA_MAX, 2);
}

}  // namespace vantrel
