// The page's panel beside the window: the live convergence curve of the
// descent the page runs, the fates chart, and the race of the current
// polyline, all drawn by the pictures room. The page's entry points tell
// it every window event and whether the event took a step.
#ifndef RODADERO_WEB_PANEL_H
#define RODADERO_WEB_PANEL_H

#include "controls.h"
#include "fates.h"
#include "recorder.h"

// After every event the page's model has run: a reset starts the curve
// again from the chord, and a step is counted and, where the curve keeps
// it, sampled.
void NoteWindowEvent(WindowEvent event, bool stepped);

// The same for the card of the other methods: a reset starts the
// program's curve again, and a step of the window's, its `steps`-th since
// the chord, is one of the compared method's too.
void NoteMethodsStep(bool reset, bool stepped, long steps);

// The window's own run after `step` steps, as a recorder is handed it.
RunStep WindowStep(long step);

// What a worker's searches keep, from one position or cell to the next.
extern FateMemory WorkerMemory;

#endif
