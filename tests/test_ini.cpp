#include "platform/ini.h"
#include "core/text_codec.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumi;
using namespace lumi::plataforma;

namespace {
struct Ini : ::testing::Test {
    QTemporaryDir dir;
    QString fitxer = dir.filePath(QStringLiteral("lumiraga.ini"));
    void escriure(const QByteArray& b) {
        QFile f(fitxer);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b);
    }
    QByteArray llegir() {
        QFile f(fitxer);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
};
} // namespace

TEST_F(Ini, NamesCompareWithoutCaseAndValuesAreTrimmed) {
    escriure("[Inici]\r\nIDIOMA =  galego  \r\n[joystick]\r\nnum_joy_button=2\r\n1=\"3\"\r\n");
    EXPECT_EQ(ini_llegir(fitxer, QStringLiteral("inici"), QStringLiteral("idioma")),
              QStringLiteral("galego"));
    EXPECT_EQ(ini_llegir(fitxer, QStringLiteral("Joystick"), QStringLiteral("NUM_JOY_BUTTON")),
              QStringLiteral("2"));
    EXPECT_EQ(ini_llegir(fitxer, QStringLiteral("Joystick"), QStringLiteral("1")), QStringLiteral("3"));
    // A key of another section is not found.
    EXPECT_EQ(ini_llegir(fitxer, QStringLiteral("inici"), QStringLiteral("1"), QStringLiteral("d")),
              QStringLiteral("d"));
}

TEST_F(Ini, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(ini_llegir(fitxer, QStringLiteral("inici"), QStringLiteral("idioma"), QStringLiteral("x")),
              QStringLiteral("x"));
    escriure("[inici]\r\n");
    EXPECT_EQ(ini_llegir(fitxer, QStringLiteral("inici"), QStringLiteral("idioma")), QString());
    EXPECT_EQ(ini_llegir(fitxer, QStringLiteral("WEBCAM"), QStringLiteral("x1"), QStringLiteral("0")),
              QStringLiteral("0"));
}

TEST_F(Ini, AWriteChangesOneLineAndKeepsTheRest) {
    escriure("; comment\r\n[inici]\r\nidioma=catala\r\nAltre = 1\r\n\r\n[WEBCAM]\r\nx1=5\r\n");
    ASSERT_TRUE(
        ini_escriure(fitxer, QStringLiteral("INICI"), QStringLiteral("Idioma"), QStringLiteral("español")));
    EXPECT_EQ(
        llegir(),
        QByteArray("; comment\r\n[inici]\r\nIdioma=espa\xf1ol\r\nAltre = 1\r\n\r\n[WEBCAM]\r\nx1=5\r\n"));
    // A new key goes to the end of its section, a new section to the end of the file.
    ASSERT_TRUE(ini_escriure(fitxer, QStringLiteral("inici"), QStringLiteral("nou"), QStringLiteral("2")));
    ASSERT_TRUE(ini_escriure(fitxer, QStringLiteral("boot"), QStringLiteral("SCRNSAVE.EXE"), QString()));
    EXPECT_EQ(llegir(),
              QByteArray("; comment\r\n[inici]\r\nIdioma=espa\xf1ol\r\nAltre = 1\r\nnou=2\r\n\r\n[WEBCAM]\r\n"
                         "x1=5\r\n[boot]\r\nSCRNSAVE.EXE=\r\n"));
    EXPECT_EQ(ini_llegir(fitxer, QStringLiteral("inici"), QStringLiteral("idioma")),
              QStringLiteral("español"));
}

TEST_F(Ini, CreatesAMissingFileAndReportsAnUnwritableOne) {
    ASSERT_TRUE(ini_escriure(fitxer, QStringLiteral("boot"), QStringLiteral("SCRNSAVE.EXE"),
                             QStringLiteral("a.scr")));
    EXPECT_EQ(llegir(), QByteArray("[boot]\r\nSCRNSAVE.EXE=a.scr\r\n"));
    EXPECT_FALSE(ini_escriure(dir.filePath(QStringLiteral("no/such/dir/x.ini")), QStringLiteral("a"),
                              QStringLiteral("b"), QStringLiteral("c")));
}

TEST_F(Ini, ReadsWindows1252AndUtf8AndKeepsTextThatDoesNotFit) {
    escriure("[inici]\nidioma=espa\xf1ol\n");
    EXPECT_EQ(ini_llegir(fitxer, QStringLiteral("inici"), QStringLiteral("idioma")),
              QStringLiteral("español"));
    escriure("\xEF\xBB\xBF[inici]\nidioma=espa\xc3\xb1ol\n");
    EXPECT_EQ(ini_llegir(fitxer, QStringLiteral("inici"), QStringLiteral("idioma")),
              QStringLiteral("español"));
    ASSERT_TRUE(
        ini_escriure(fitxer, QStringLiteral("inici"), QStringLiteral("nom"), QStringLiteral("Ελένη")));
    EXPECT_EQ(ini_llegir(fitxer, QStringLiteral("inici"), QStringLiteral("nom")), QStringLiteral("Ελένη"));
    EXPECT_EQ(ini_llegir(fitxer, QStringLiteral("inici"), QStringLiteral("idioma")),
              QStringLiteral("español"));
    EXPECT_TRUE(llegir().startsWith("\xEF\xBB\xBF"));
}

TEST(TextCodec, EveryByteSurvivesWindows1252BothWays) {
    QByteArray tots;
    for (int b = 1; b < 256; ++b)
        tots.append(static_cast<char>(b));
    // Leading 0x81 cannot start valid UTF-8, so this reads as Windows-1252.
    const QString s = descodificar_text(tots);
    EXPECT_EQ(s.at(0x80 - 1), QChar(0x20AC));
    EXPECT_EQ(s.at(0xE9 - 1), QChar(0xE9));
    bool utf8 = true;
    EXPECT_EQ(codificar_text(s, &utf8), tots);
    EXPECT_FALSE(utf8);
}

TEST_F(Ini, Windows1252ValuesThatLookLikeUtf8ReadBackAsWritten) {
    // "Ã©" is C3 A9 in Windows-1252, which is also "é" in UTF-8.
    const QString valor = QStringLiteral("/home/Ã©s");
    ASSERT_TRUE(ini_escriure(fitxer, QStringLiteral("inici"), QStringLiteral("carpeta"), valor));
    EXPECT_EQ(ini_llegir(fitxer, QStringLiteral("inici"), QStringLiteral("carpeta")), valor);
    ASSERT_TRUE(
        ini_escriure(fitxer, QStringLiteral("inici"), QStringLiteral("idioma"), QStringLiteral("català")));
    EXPECT_EQ(ini_llegir(fitxer, QStringLiteral("inici"), QStringLiteral("carpeta")), valor);
    EXPECT_EQ(ini_llegir(fitxer, QStringLiteral("inici"), QStringLiteral("idioma")),
              QStringLiteral("català"));
    // Other accented values stay in Windows-1252.
    escriure("");
    ASSERT_TRUE(
        ini_escriure(fitxer, QStringLiteral("inici"), QStringLiteral("idioma"), QStringLiteral("català")));
    EXPECT_EQ(llegir(), QByteArray("[inici]\r\nidioma=catal\xE0\r\n"));
}
