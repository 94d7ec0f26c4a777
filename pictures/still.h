// The still picture of a run: the current polyline (ShownX), the cycloid
// as the window samples it (CycloidPts), the brachistochrone through the
// end point, the frame and target lines, and a caption with the times, as
// SVG text. No file is written here: the caller puts the text where it
// wants.
#ifndef RODADERO_PICTURES_STILL_H
#define RODADERO_PICTURES_STILL_H

#include "curve_state.h"

#include <string>

// The picture of `record` after `steps` steps from the chord.
std::string StillPicture(const CurveStateRecord &record, long steps);

#endif
