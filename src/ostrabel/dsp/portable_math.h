// Maths for the coefficient design that gives the same bits on every build
// and whatever x87 or library state the host process has set up: only SSE2
// double + - * / and sqrt are used. Results are the correctly rounded values
// except in vanishingly rare cases (about one unit in the last place at most).
#pragma once

double PortableSin(double x);  // NaN for |x| >= 2^51 or non-finite x
double PortableCos(double x);  // NaN for |x| >= 2^51 or non-finite x
double PortableSinh(double x);
double PortableExp(double x);
double PortablePow10(double x);  // 10 raised to the power x
double PortableSqrt(double x);
