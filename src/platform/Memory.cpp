#include "platform/Memory.h"

#include <malloc.h>

namespace glyphwell::platform {

void ReturnFreedMemory() {
    malloc_trim(0);
}

}  // namespace glyphwell::platform
