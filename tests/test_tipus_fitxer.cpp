#include "core/tipus_fitxer.h"

#include <gtest/gtest.h>

using namespace lumi;

TEST(TipusFitxer, TheTextAfterTheLastDotInAnyCase) {
    EXPECT_EQ(tipus_de_nom(u"gat.Jpg"), TipusFitxer::jpg);
    EXPECT_EQ(tipus_de_nom(u"/a.b/so.x.WAV"), TipusFitxer::wav);
    EXPECT_EQ(tipus_de_nom(u".lrq"), TipusFitxer::lrq);
    EXPECT_EQ(tipus_de_nom(u"gat.jpeg"), TipusFitxer::jpeg);
    // Only the whole extension counts, not how it ends.
    EXPECT_EQ(tipus_de_nom(u"gat.xjpg"), TipusFitxer::cap);
    EXPECT_EQ(tipus_de_nom(u"/a.bmp/gat"), TipusFitxer::cap);
    EXPECT_EQ(tipus_de_nom(u"gat.bmp."), TipusFitxer::cap);
    // A letter outside ASCII whose capital is one of these.
    EXPECT_EQ(tipus_extensio(u"\u017Fcr"), TipusFitxer::scr);
}

TEST(TipusFitxer, ANameWithoutADotHasNoKind) {
    EXPECT_EQ(tipus_de_nom(u"payloadexe"), TipusFitxer::cap);
    EXPECT_EQ(tipus_de_nom(u"exe"), TipusFitxer::cap);
    EXPECT_EQ(tipus_de_nom(u""), TipusFitxer::cap);
    EXPECT_EQ(tipus_de(QStringLiteral("CENTRAT_Hola gif")), TipusFitxer::cap);
}

TEST(TipusFitxer, AnOrderLeavesItsOptionsOut) {
    EXPECT_EQ(tipus_de(QStringLiteral("gat.jpg:P050")), TipusFitxer::jpg);
    EXPECT_EQ(tipus_de(QStringLiteral("so.wav:P0.5")), TipusFitxer::wav);
    EXPECT_EQ(tipus_de(QStringLiteral(" so.MP3 :001")), TipusFitxer::mp3);
    // A drive letter's colon begins no options.
    EXPECT_EQ(tipus_de(QStringLiteral("C:\\jocs\\joc.bat")), TipusFitxer::bat);
    // A plain name keeps what follows its dot.
    EXPECT_EQ(tipus_de_nom(u"gat.jpg:P050"), TipusFitxer::cap);
}
