#include "player/linia_ordres.h"

#include <gtest/gtest.h>

using namespace lumi;

TEST(LiniaOrdres, RelativePathsHangFromTheProgramFolder) {
    const QString p = QStringLiteral("/opt/lumiraga");
    EXPECT_EQ(cami_linia_ordres(QStringLiteral("a.lrq"), p), QStringLiteral("/opt/lumiraga/a.lrq"));
    EXPECT_EQ(cami_linia_ordres(QStringLiteral("act\\a.lrq"), p), QStringLiteral("/opt/lumiraga/act/a.lrq"));
    // A leading "\" is the separator the folder is joined with, not the root.
    EXPECT_EQ(cami_linia_ordres(QStringLiteral("\\act\\a.lrq"), p),
              QStringLiteral("/opt/lumiraga/act/a.lrq"));
    EXPECT_EQ(cami_linia_ordres(QStringLiteral("act/a.lrq"), QStringLiteral("/opt/lumiraga/")),
              QStringLiteral("/opt/lumiraga/act/a.lrq"));
    // A colon further in is no drive: still relative.
    EXPECT_EQ(cami_linia_ordres(QStringLiteral("act:1.lrq"), p), QStringLiteral("/opt/lumiraga/act:1.lrq"));
}

TEST(LiniaOrdres, AbsolutePathsAndTheProgramDrive) {
    const QString p = QStringLiteral("/opt/lumiraga");
    EXPECT_EQ(cami_linia_ordres(QStringLiteral("/home/anna/a.lrq"), p), QStringLiteral("/home/anna/a.lrq"));
    EXPECT_EQ(cami_linia_ordres(QStringLiteral("C:\\x\\a.lrq"), p), QStringLiteral("C:\\x\\a.lrq"));
    // ":" names the program's own drive; here every folder hangs from "/".
    EXPECT_EQ(cami_linia_ordres(QStringLiteral(":\\x\\a.lrq"), p), QStringLiteral("/x/a.lrq"));
}

TEST(LiniaOrdres, QuotesAndBlanksAroundThePathGo) {
    const QString p = QStringLiteral("/opt/lumiraga");
    EXPECT_EQ(cami_linia_ordres(QStringLiteral("\"act\\el meu.lrq\""), p),
              QStringLiteral("/opt/lumiraga/act/el meu.lrq"));
    EXPECT_EQ(cami_linia_ordres(QStringLiteral("  \"/tmp/a b.lrq\" "), p), QStringLiteral("/tmp/a b.lrq"));
    EXPECT_EQ(cami_linia_ordres(QString(), p), QString());
    EXPECT_EQ(cami_linia_ordres(QStringLiteral("\"\""), p), QString());
}
