// Unevaluated sums hi + lo of two doubles, carrying about 106 significant
// bits with nothing but IEEE double + - * /. The portable maths routines use
// them so that rounding the final sum once gives the correctly rounded
// result in all but vanishingly rare cases.
#pragma once

#if defined(__FAST_MATH__)
#error "The error-free transformations below need strict IEEE arithmetic."
#endif

struct DoubleDouble {
  double hi;
  double lo;
};

// a + b exactly, for any a and b.
inline DoubleDouble TwoSum(double a, double b) {
  double s = a + b;
  double bPart = s - a;
  double err = (a - (s - bPart)) + (b - bPart);
  return {s, err};
}

// a + b exactly, when |a| >= |b| or a is zero.
inline DoubleDouble QuickTwoSum(double a, double b) {
  double s = a + b;
  return {s, b - (s - a)};
}

// Splits a into two halves of at most 26 significant bits each.
inline DoubleDouble SplitHalves(double a) {
  constexpr double kSplitter = 134217729.0;  // 2^27 + 1
  double t = kSplitter * a;
  double hi = t - (t - a);
  return {hi, a - hi};
}

// a * b exactly (Dekker); needs |a|, |b| well below 2^996.
inline DoubleDouble TwoProduct(double a, double b) {
  double p = a * b;
  DoubleDouble as = SplitHalves(a);
  DoubleDouble bs = SplitHalves(b);
  double err = (((as.hi * bs.hi - p) + as.hi * bs.lo) + as.lo * bs.hi) + as.lo * bs.lo;
  return {p, err};
}

inline DoubleDouble Negate(DoubleDouble a) { return {-a.hi, -a.lo}; }

inline DoubleDouble Add(DoubleDouble a, DoubleDouble b) {
  DoubleDouble s = TwoSum(a.hi, b.hi);
  DoubleDouble t = TwoSum(a.lo, b.lo);
  s.lo += t.hi;
  s = QuickTwoSum(s.hi, s.lo);
  s.lo += t.lo;
  return QuickTwoSum(s.hi, s.lo);
}

inline DoubleDouble Multiply(DoubleDouble a, DoubleDouble b) {
  DoubleDouble p = TwoProduct(a.hi, b.hi);
  p.lo += a.hi * b.lo + a.lo * b.hi;
  return QuickTwoSum(p.hi, p.lo);
}

inline DoubleDouble Divide(DoubleDouble a, double b) {
  double q1 = a.hi / b;
  DoubleDouble p = TwoProduct(q1, b);
  DoubleDouble r = TwoSum(a.hi, -p.hi);
  r.lo -= p.lo;
  r.lo += a.lo;
  double q2 = (r.hi + r.lo) / b;
  return QuickTwoSum(q1, q2);
}
