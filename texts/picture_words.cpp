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

namespace {

// The laboratory's words that every one of its pictures uses.
LabProblemWords LabNames(int l)
{
    LabProblemWords names;
    names.layout[LAB_DEPTH] = Word(l, "lab.depth");
    names.layout[LAB_WIDTH] = Word(l, "lab.width");
    names.rule[LAB_MIDPOINT] = Word(l, "lab.midpoint");
    names.rule[LAB_EXACT] = Word(l, "lab.exact");
    return names;
}

void LabSides(int l, std::string side[3])
{
    side[LAB_ABOVE] = Word(l, "lab.above");
    side[LAB_BELOW] = Word(l, "lab.below");
    side[LAB_BOTH_SIDES] = Word(l, "lab.bothSides");
}

} // namespace

LabStillText LabStillWords(int l)
{
    LabStillText text;
    text.names = LabNames(l);
    text.title = Word(l, "lab.stillTitle");
    text.subtitle = Word(l, "lab.stillSubtitle");
    text.nowChord = Word(l, "lab.nowChord");
    text.nowOneStep = Word(l, "lab.nowOneStep");
    text.nowSteps = Word(l, "lab.nowSteps");
    text.optimum = Word(l, "lab.optimum");
    text.cycloid = Word(l, "lab.cycloid");
    text.split = Word(l, "lab.split");
    text.splitNames = Word(l, "lab.splitNames");
    return text;
}

LabConvergenceText LabConvergenceWords(int l)
{
    LabConvergenceText text;
    text.names = LabNames(l);
    text.title = Word(l, "lab.convergenceTitle");
    text.stepAxis = Word(l, "lab.stepAxis");
    text.distanceAxis = Word(l, "lab.distanceAxis");
    text.optimiserShare = Word(l, "lab.optimiserShare");
    text.polylineShare = Word(l, "lab.polylineShare");
    LabSides(l, text.side);
    text.summary = Word(l, "lab.convergenceSummary");
    return text;
}

LabRefinementText LabRefinementWords(int l)
{
    LabRefinementText text;
    text.names = LabNames(l);
    text.title = Word(l, "lab.refineTitle");
    text.intervalsAxis = Word(l, "lab.intervalsAxis");
    text.gapAxis = Word(l, "lab.gapAxis");
    text.conditionAxis = Word(l, "lab.conditionAxis");
    text.ruleGap = Word(l, "lab.ruleGap");
    text.exactGap = Word(l, "lab.exactGap");
    text.condition = Word(l, "lab.condition");
    LabSides(l, text.side);
    text.fit = Word(l, "lab.fit");
    text.summary = Word(l, "lab.refineSummary");
    return text;
}
