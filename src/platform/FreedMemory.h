#pragma once

// Memory the process has freed but the allocator still holds.
namespace FreedMemory {

// Returns what it can to the system: the heap's free pages and the idle threads painting
// started. Worth it after a burst of drawing and large short-lived buffers (an animation's
// frames, an image write): helpers are many, and each keeps its peak otherwise.
void giveBack();

} // namespace FreedMemory
