// The problem the model solves, in model units (x to the right, y downward,
// times in seconds): a bead falls under gravity from (0, 0) to
// (END_X, END_DEPTH) along a polyline of 21 nodes at equal depth steps, 20
// intervals of DEPTH_STEP; the 19 inner abscissae are the unknowns. The
// descent starts from the straight chord between the two ends.
#ifndef RODADERO_MODEL_GEOMETRY_H
#define RODADERO_MODEL_GEOMETRY_H

enum { NODE_COUNT = 21, SEGMENT_COUNT = 20, INNER_FIRST = 1, INNER_LAST = 19 };

const double GRAVITY = 10.0;
const double END_X = 1.0;
const double END_DEPTH = 0.92;
// Node k lies at depth k x DEPTH_STEP.
const double DEPTH_STEP = 0.046;
// Its square, as the decimal the fall time holds; not the product
// DEPTH_STEP * DEPTH_STEP, which rounds to another double.
const double DEPTH_STEP_SQUARED = 0.002116;

// Node k of the chord lies at abscissa k x CHORD_STEP, the product rounded
// as it falls: 3 x 0.05 is 0.15000000000000002, and 20 x 0.05 is exactly 1.
const double CHORD_STEP = 0.05;

inline double ChordX(int k)
{
    return static_cast<double>(k) * CHORD_STEP;
}

// The chord's 21 abscissae.
inline void Chord(double x[NODE_COUNT])
{
    for (int k = 0; k < NODE_COUNT; ++k)
        x[k] = ChordX(k);
}

#endif
