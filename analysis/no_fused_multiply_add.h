#pragma once

// A fused multiply-add rounds once where the transform rounds twice, which changes the
// results; this keeps the compiler from forming them, even where the target has them, in every
// function the including file defines after it. For the transform and its reference in tests.
#if defined(__clang__)
#pragma clang fp contract(off)
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off")
#endif
