// The pictures' tables from the words of a language.
#include "picture_words.h"

#include <cstring>

int WordLanguageOf(const std::string &code)
{
    for (int l = 0; l < WORD_LANGUAGE_COUNT; ++l)
        if (code == WORD_LANGUAGES[l].code)
            return l;
    return -1;
}

namespace {

// The word at `path`; empty where the catalogs have none (the tests see to
// it that every word asked for here is there).
std::string Word(int language, const char *path)
{
    const PictureWord *words = WORD_LANGUAGES[language].words;
    for (int w = 0; w < PICTURE_WORD_COUNT; ++w)
        if (std::strcmp(words[w].path, path) == 0)
            return words[w].text;
    return std::string();
}

} // namespace

ConvergenceText ConvergenceWords(int l)
{
    return {Word(l, "convergence.titleAtStart"), Word(l, "convergence.titleAtPosition"),
            Word(l, "convergence.titleOfMethod"), Word(l, "convergence.stepAxis"),
            Word(l, "convergence.timeAxis"),      Word(l, "convergence.printed"),
            Word(l, "convergence.exact"),         Word(l, "convergence.brachistochrone")};
}

FatesChartText FatesChartWords(int l)
{
    return {Word(l, "fates.title"),    Word(l, "fates.positionAxis"), Word(l, "fates.timeAxis"),
            Word(l, "fates.cycleAxis"), Word(l, "fates.settles"),     Word(l, "fates.swings"),
            Word(l, "fates.noCycle"),   Word(l, "fates.limit"),       Word(l, "fates.marked")};
}

RaceText RaceWords(int l)
{
    return {Word(l, "race.title"),
            Word(l, "race.chord"),
            Word(l, "race.polylineOneStep"),
            Word(l, "race.polylineSteps"),
            Word(l, "race.brachistochrone"),
            {Word(l, "race.first"), Word(l, "race.second"), Word(l, "race.third")},
            Word(l, "race.realSpeed"),
            Word(l, "race.slowed")};
}

MethodChartText MethodChartWords(int l)
{
    MethodChartText text;
    for (int m = 0; m < METHOD_COUNT; ++m)
        text.method[m] = Word(l, (std::string("methods.") + METHOD_NAME[m]).c_str());
    text.compareTitle = Word(l, "methods.compareTitle");
    text.stepAxis = Word(l, "methods.stepAxis");
    text.distanceAxis = Word(l, "methods.distanceAxis");
    text.setting = Word(l, "methods.setting");
    text.positionOnly = Word(l, "methods.positionOnly");
    text.mapTitle = Word(l, "methods.mapTitle");
    text.positionAxis = Word(l, "methods.positionAxis");
    text.betaAxis = Word(l, "methods.betaAxis");
    text.settles = Word(l, "methods.settles");
    text.swings = Word(l, "methods.swings");
    text.noCycle = Word(l, "methods.noCycle");
    text.limit = Word(l, "methods.limit");
    text.best = Word(l, "methods.best");
    return text;
}

CurveRaceText CurveRaceWords(int l)
{
    return {Word(l, "curveRace.title"),
            {Word(l, "curveRace.curve"), Word(l, "curveRace.cycloid"), Word(l, "curveRace.line")},
            {Word(l, "race.first"), Word(l, "race.second"), Word(l, "race.third")},
            Word(l, "curveRace.neverArrives"),
            Word(l, "race.realSpeed"),
            Word(l, "race.slowed"),
            Word(l, "curveRace.stops"),
            Word(l, "curveRace.neverMoves")};
}
