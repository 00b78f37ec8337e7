#pragma once

// A disk that stalls now and then, as a slow stick, a network folder or a busy disk does: the
// test program's fdatasync passes through here, and the chosen call takes longer.
namespace stalling_sync {

// From now on, the `nth` call of fdatasync (1 = the next one) waits `ms` before it syncs.
void stallCall(int nth, int ms);
// Calls since the last stallCall.
int calls();

} // namespace stalling_sync
