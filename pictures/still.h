// The still picture of a run: the current polyline (ShownX), the cycloid
// as the window samples it (CycloidPts), the brachistochrone through the
// end point, the frame and target lines, and a caption with the times, as
// SVG text. No file is written here: the caller puts the text where it
// wants.
#ifndef RODADERO_PICTURES_STILL_H
#define RODADERO_PICTURES_STILL_H

#include <string>

// The picture of CurveState after `steps` steps from the chord.
std::string StillPicture(long steps);

#endif
