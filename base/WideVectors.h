#pragma once

// The sample loops are compiled twice on x86-64: in the base form every such processor runs, and
// in a wide form for processors with AVX2, chosen when the program starts. AVX2 has twice the
// lanes and reverses bytes in one instruction. Both forms give the same samples; sums taken over
// them may differ in the last bits between the forms, as a sum taken in another order does.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define OBR_WIDE_VECTORS 1
// Compiles a function, with every call inside it that can be inlined, for AVX2.
#define OBR_WIDE_VECTOR_LOOPS __attribute__((target("avx2"), flatten))
#else
#define OBR_WIDE_VECTOR_LOOPS
#endif

#include <utility>

namespace WideVectors {

// Whether the wide form runs: the processor has AVX2, and OBR_VECTORS=base is not set in the
// environment (to compare the forms, or to rule out the wide one on a doubtful machine).
bool inUse();

// wide(arguments) when the wide form runs, else base(arguments): the same function compiled
// plainly and with OBR_WIDE_VECTOR_LOOPS.
template <class Function, class... Arguments>
auto call(Function* base, Function* wide, Arguments&&... arguments)
{
    return (inUse() ? wide : base)(std::forward<Arguments>(arguments)...);
}

} // namespace WideVectors
