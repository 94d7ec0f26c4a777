// Sine, cosine and the natural logarithm worked out the same, bit for bit,
// in every build: natively, for Windows and in WebAssembly, whose
// libraries' own functions may differ in the last place. Only +, -, x and
// / (each rounded to nearest, none fused) and frexp, which is exact. The
// laboratory's pictures, rows and lines go through them, so that the page's
// downloads are the command's bytes and rodadero-trace.exe prints what
// rodadero-trace does. Within a unit or two in the last place of the true
// value.
#ifndef RODADERO_ANALYSIS_SAME_MATH_H
#define RODADERO_ANALYSIS_SAME_MATH_H

// For |x| up to about 10^5 (the laboratory's angles are within 0..2 pi).
double SameSin(double x);
double SameCos(double x);

// For x > 0 and finite.
double SameLog(double x);

#endif
