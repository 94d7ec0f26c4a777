// The pictures' words of every language of the catalogs, as the pictures
// ask for them: every text of every table there, the languages by their
// codes, and the bytes of the catalog's text kept as they are, whatever a
// compiler takes its sources' encoding to be.
#include "picture_words.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every text of the pictures' tables in `language`, with a name for each.
std::vector<std::pair<std::string, std::string>> TablesOf(int language)
{
    const ConvergenceText c = ConvergenceWords(language);
    const FatesChartText f = FatesChartWords(language);
    const RaceText r = RaceWords(language);
    const MethodChartText m = MethodChartWords(language);
    const CurveRaceText v = CurveRaceWords(language);
    std::vector<std::pair<std::string, std::string>> texts = {
        {"convergence.titleAtStart", c.titleAtStart}, {"convergence.titleAtPosition", c.titleAtPosition},
        {"convergence.titleOfMethod", c.titleOfMethod}, {"convergence.stepAxis", c.stepAxis},
        {"convergence.timeAxis", c.timeAxis}, {"convergence.printed", c.printed},
        {"convergence.exact", c.exact}, {"convergence.brachistochrone", c.brachistochrone},
        {"fates.title", f.title}, {"fates.positionAxis", f.positionAxis},
        {"fates.timeAxis", f.timeAxis}, {"fates.cycleAxis", f.cycleAxis},
        {"fates.settles", f.settles}, {"fates.swings", f.swings}, {"fates.noCycle", f.noCycle},
        {"fates.limit", f.limit}, {"fates.marked", f.marked}, {"race.title", r.title},
        {"race.chord", r.chord}, {"race.polylineOneStep", r.polylineOneStep},
        {"race.polylineSteps", r.polylineSteps}, {"race.brachistochrone", r.brachistochrone},
        {"race.first", r.place[0]}, {"race.second", r.place[1]}, {"race.third", r.place[2]},
        {"race.realSpeed", r.realSpeed}, {"race.slowed", r.slowed},
        {"methods.compareTitle", m.compareTitle}, {"methods.stepAxis", m.stepAxis},
        {"methods.distanceAxis", m.distanceAxis}, {"methods.setting", m.setting},
        {"methods.positionOnly", m.positionOnly}, {"methods.mapTitle", m.mapTitle},
        {"methods.positionAxis", m.positionAxis}, {"methods.betaAxis", m.betaAxis},
        {"methods.settles", m.settles}, {"methods.swings", m.swings},
        {"methods.noCycle", m.noCycle}, {"methods.limit", m.limit}, {"methods.best", m.best},
        {"curveRace.title", v.title}, {"curveRace.curve", v.name[CURVE_BEAD]},
        {"curveRace.cycloid", v.name[CYCLOID_BEAD]}, {"curveRace.line", v.name[LINE_BEAD]},
        {"curveRace.neverArrives", v.neverArrives}, {"curveRace.stops", v.stops},
        {"curveRace.neverMoves", v.neverMoves},
    };
    for (int k = 0; k < METHOD_COUNT; ++k)
        texts.push_back({std::string("methods.") + METHOD_NAME[k], m.method[k]});
    // The laboratory's: the names of its layouts, rules and sides are one
    // word each, whichever of its tables carries them.
    const LabStillText s = LabStillWords(language);
    const LabConvergenceText lc = LabConvergenceWords(language);
    const LabRefinementText lr = LabRefinementWords(language);
    std::vector<std::pair<std::string, std::string>> lab = {
        {"lab.depth", s.names.layout[LAB_DEPTH]}, {"lab.width", s.names.layout[LAB_WIDTH]},
        {"lab.midpoint", s.names.rule[LAB_MIDPOINT]}, {"lab.exact", s.names.rule[LAB_EXACT]},
        {"lab.above", lc.side[LAB_ABOVE]}, {"lab.below", lc.side[LAB_BELOW]},
        {"lab.bothSides", lc.side[LAB_BOTH_SIDES]}, {"lab.stillTitle", s.title},
        {"lab.stillSubtitle", s.subtitle}, {"lab.nowChord", s.nowChord},
        {"lab.nowOneStep", s.nowOneStep}, {"lab.nowSteps", s.nowSteps},
        {"lab.optimum", s.optimum}, {"lab.cycloid", s.cycloid}, {"lab.split", s.split},
        {"lab.splitNames", s.splitNames}, {"lab.convergenceTitle", lc.title},
        {"lab.stepAxis", lc.stepAxis}, {"lab.distanceAxis", lc.distanceAxis},
        {"lab.optimiserShare", lc.optimiserShare}, {"lab.polylineShare", lc.polylineShare},
        {"lab.convergenceSummary", lc.summary}, {"lab.refineTitle", lr.title},
        {"lab.intervalsAxis", lr.intervalsAxis}, {"lab.gapAxis", lr.gapAxis},
        {"lab.conditionAxis", lr.conditionAxis}, {"lab.ruleGap", lr.ruleGap},
        {"lab.exactGap", lr.exactGap}, {"lab.condition", lr.condition}, {"lab.fit", lr.fit},
        {"lab.refineSummary", lr.summary},
    };
    texts.insert(texts.end(), lab.begin(), lab.end());
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(lc.names.layout[k], s.names.layout[k]);
        EXPECT_EQ(lr.names.rule[k], s.names.rule[k]);
    }
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(lr.side[k], lc.side[k]);
    return texts;
}

} // namespace

TEST(PictureWords, EveryLanguageHasEveryTextThePicturesAskFor)
{
    ASSERT_GE(WORD_LANGUAGE_COUNT, 2);
    for (int l = 0; l < WORD_LANGUAGE_COUNT; ++l) {
        std::vector<std::pair<std::string, std::string>> texts = TablesOf(l);
        // Every word the catalogs give is one the pictures take.
        EXPECT_EQ(texts.size(), static_cast<std::size_t>(PICTURE_WORD_COUNT))
            << WORD_LANGUAGES[l].code;
        for (const auto &t : texts)
            EXPECT_FALSE(t.second.empty()) << WORD_LANGUAGES[l].code << ": " << t.first;
    }
}

TEST(PictureWords, LanguagesByTheirCodes)
{
    EXPECT_EQ(WordLanguageOf("es"), 0);  // the program's own, first
    EXPECT_STREQ(WORD_LANGUAGES[WordLanguageOf("en")].code, "en");
    EXPECT_EQ(WORD_LANGUAGE_COUNT, 7);
    for (const char *code : {"pt", "ca", "fr", "it", "de"})
        EXPECT_STREQ(WORD_LANGUAGES[WordLanguageOf(code)].code, code);
    EXPECT_EQ(WordLanguageOf("xx"), -1);
    EXPECT_EQ(WordLanguageOf(""), -1);
}

// Texts as the catalogs write them, bytes and all (UTF-8 of accents and
// signs), each a literal here.
TEST(PictureWords, TheCatalogsTextsByteForByte)
{
    const int es = WordLanguageOf("es"), en = WordLanguageOf("en");
    EXPECT_EQ(FatesChartWords(es).title,
              "En qu\xC3\xA9 termina la bajada desde la cuerda, posici\xC3\xB3n por posici\xC3\xB3n");
    EXPECT_EQ(FatesChartWords(en).limit,
              "limit of the linear theory, 2/(299 \xCE\xBB" "max): position {position}");
    EXPECT_EQ(MethodChartWords(es).swings, "oscila: tiempos distintos, hasta {spread} \xC2\xB5s");
    EXPECT_EQ(RaceWords(en).slowed, "Released together at rest from (0, 0), g = 10; shown {slow} "
                                    "times slower, times in real seconds.");
    EXPECT_EQ(MethodChartWords(en).method[METHOD_HEAVY_BALL], "heavy ball");
    EXPECT_EQ(CurveRaceWords(es).stops, "En ({x}, 0), a la altura de la salida, la cuenta de la "
                                        "curva se detiene a los {time} s y vuelve atr\xC3\xA1s.");
    // The curve's race takes its places from the race's table.
    EXPECT_EQ(CurveRaceWords(es).place[0], RaceWords(es).place[0]);
    EXPECT_EQ(LabStillWords(es).title, "Laboratorio: fin ({x}, {y}), {intervals} intervalos");
    // The other languages' letters and spaces: a sharp s and an umlaut, a
    // French no-break space (written \u00a0 in the catalog), a Catalan
    // middle dot.
    EXPECT_EQ(FatesChartWords(WordLanguageOf("de")).swings,
              "pendelt: kleinste und gr\xC3\xB6\xC3\x9Fte gezeigte Zeit");
    EXPECT_EQ(ConvergenceWords(WordLanguageOf("fr")).brachistochrone,
              "brachistochrone par (1, 0.92)\xC2\xA0: {time} s");
    EXPECT_EQ(MethodChartWords(WordLanguageOf("ca")).swings,
              "oscil\xC2\xB7la: temps diferents, fins a {spread} \xC2\xB5s");
    EXPECT_EQ(LabStillWords(es).splitNames,
              "ahora \xE2\x88\x92 cicloide = (ahora \xE2\x88\x92 \xC3\xB3ptimo: la parte del "
              "optimizador) + (\xC3\xB3ptimo \xE2\x88\x92 cicloide: la parte de la aproximante)");
}
