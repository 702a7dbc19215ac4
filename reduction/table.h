#pragma once

// The table function of the Q(x) and QQ(x) sight reduction methods and its
// inverse. Table values are computed, never looked up: Q(x) = -1000 ln(sin x),
// and QQ(x) is the same value scaled by 10000/5840.

namespace reduction {

enum class Method { Q, QQ };

// 4 × arctan(1), computed once; every degree/radian conversion uses it.
extern const double pi;

// Table value of an angle, in the given method, rounded to two decimals.
// angleDeg is in decimal degrees; the function has a result for
// 0 <= angleDeg <= 180 (0 itself is taken as 1E-11 degree, so Q(0) is finite).
// Outside that domain, or for a NaN, it returns NaN: the table has no entry.
double Q(double angleDeg, Method method);

// Angle of a table value, in decimal degrees from 0 to 90, rounded to 0.01
// degree. tableValue 0 is taken as 1E-11 so that invQ(0) is 90.00. A negative
// or non-finite tableValue has no angle (its sine would exceed 1): NaN.
double invQ(double tableValue, Method method);

// Q and invQ before their rounding to two decimals (0.01 degree): the
// table's exact entry, for telling which way a value was rounded.
double unroundedQ(double angleDeg, Method method);
double unroundedInvQ(double tableValue, Method method);

} // namespace reduction
