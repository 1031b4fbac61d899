// Maths for the coefficient design that gives the same bits on every build
// and whatever x87 or library state the host process has set up: only SSE2
// double + - * / and sqrt are used. Results are the correctly rounded values
// except in vanishingly rare cases (about one unit in the last place at most).
#pragma once

// NaN for non-finite x and for |x| >= 2^30, far beyond any section's angle
// (that would take a sample rate below 0.0001 Hz).
double PortableSin(double x);
double PortableCos(double x);
double PortableSinh(double x);
double PortableExp(double x);
double PortablePow10(double x);  // 10 raised to the power x
double PortableSqrt(double x);
