#pragma once
// The process's memory as the desktop sees it.

namespace glyphwell::platform {

// Hands memory that was freed back to the system. Loading thousands of fonts leaves megabytes
// of freed blocks that the allocator would otherwise keep for the rest of the run.
void ReturnFreedMemory();

}  // namespace glyphwell::platform
