// Puts a function into its caller where the compiler's own estimate would keep a call: the run
// loop's instruction and its operand and stack accesses, whose calls cost more than their work.
#pragma once

#if defined(__GNUC__)
#define QUARZEL_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define QUARZEL_ALWAYS_INLINE inline
#endif
