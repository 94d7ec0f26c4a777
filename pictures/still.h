// The still picture of a run: the polyline it ended on, the cycloid as the
// window samples it (CycloidPts of the record window creation leaves), the brachistochrone through the
// end point, the frame and target lines, and a caption with the times, as
// SVG text. No file is written here: the caller puts the text where it
// wants.
#ifndef RODADERO_PICTURES_STILL_H
#define RODADERO_PICTURES_STILL_H

#include "recorded_run.h"

#include <string>

// The picture of where `run` ended.
std::string StillPicture(const RunResult &run);

#endif
