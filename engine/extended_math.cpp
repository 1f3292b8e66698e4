#include "extended_math.h"

#if !defined(KESTRIN_SOFT_EXTENDED)

#include "long_double_bits.h"

namespace kestrin {

Extended Exp(Extended x) { return LongDoubleFromSoft(SoftFromLongDouble(x).Exp()); }
Extended Log(Extended x) { return LongDoubleFromSoft(SoftFromLongDouble(x).Log()); }

}  // namespace kestrin

#endif
