// Puts a function into its caller where the compiler's own estimate would keep a call: the run
// loop's instruction and its operand and stack accesses, whose calls cost more than their work.
// Natively that halves the memory loop's time; as WebAssembly it helps once the loop is compiled
// optimised (see the run loop's kStepsPerEntry).
#pragma once

#if defined(__GNUC__)
#define QUARZEL_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define QUARZEL_ALWAYS_INLINE inline
#endif
