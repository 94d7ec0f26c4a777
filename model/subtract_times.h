// The same rounded subtraction applied many times over, without doing it
// one application at a time.
#ifndef RODADERO_MODEL_SUBTRACT_TIMES_H
#define RODADERO_MODEL_SUBTRACT_TIMES_H

// x after `times` applications of x = x - s, each rounded to nearest on its
// own: bit for bit what the plain loop gives, signs of zero, infinities and
// NaNs included. times >= 0.
double SubtractTimes(double x, double s, int times);

#endif
