// The pictures' words in every language of the catalogs (texts/*.json),
// made into tables when the build is configured (texts/CMakeLists.txt):
// the tables the pictures take their texts from, for the command, which
// speaks English, and for the page's module, which speaks the page's
// language.
#ifndef RODADERO_TEXTS_PICTURE_WORDS_H
#define RODADERO_TEXTS_PICTURE_WORDS_H

#include "convergence.h"
#include "curve_race_picture.h"
#include "fates_chart.h"
#include "lab_charts.h"
#include "lab_still.h"
#include "method_charts.h"
#include "race.h"

#include <string>

// A word of a picture: its path in the catalog ("race.chord") and its text.
struct PictureWord {
    const char *path;
    const char *text;
};

// A language: its code and its PICTURE_WORD_COUNT words, every language's
// in the same order.
struct WordLanguage {
    const char *code;
    const PictureWord *words;
};

extern const int PICTURE_WORD_COUNT;
extern const int WORD_LANGUAGE_COUNT;
extern const WordLanguage WORD_LANGUAGES[];  // the program's own language first

// The language of a code ("es", "en"); -1 for none.
int WordLanguageOf(const std::string &code);

// The pictures' tables in `language` (an index of WORD_LANGUAGES).
ConvergenceText ConvergenceWords(int language);
FatesChartText FatesChartWords(int language);
RaceText RaceWords(int language);
MethodChartText MethodChartWords(int language);
// The places and the captions of the curve's race are the race's own.
CurveRaceText CurveRaceWords(int language);
LabStillText LabStillWords(int language);
LabConvergenceText LabConvergenceWords(int language);
LabRefinementText LabRefinementWords(int language);

#endif
