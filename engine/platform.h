#pragma once

// What the target offers besides arithmetic (for that, see extended_math.h). WebAssembly
// built without shared memory has no threads and no signals: every multi-threaded piece then
// runs on the calling thread alone, which gives the same results by design.

namespace kestrin {

#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
inline constexpr bool kHasThreads = false;
#else
inline constexpr bool kHasThreads = true;
#endif

}  // namespace kestrin
