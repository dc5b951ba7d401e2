#include "core/activitat.h"
#include "core/camins.h"
#include "core/idioma.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumi;

namespace {
const QString CARPETA = QStringLiteral("/home/u/act");
const QString SO = QString(QChar(0xBB)); // »

struct Camins : ::testing::Test {
    QString carpeta_abans;
    void SetUp() override {
        idioma() = IDIOMA_CATALA;
        carpeta_abans = carpeta_activitat();
        carpeta_activitat() = CARPETA;
    }
    void TearDown() override {
        idioma() = IDIOMA_CATALA;
        carpeta_activitat() = carpeta_abans;
    }
};

QString llista(std::initializer_list<const char*> parts) {
    QString s;
    for (const char* p : parts)
        s += QString::fromUtf8(p);
    return s;
}
} // namespace

TEST_F(Camins, AbsoluteMeansRootOrDrive) {
    EXPECT_TRUE(es_absoluta(QStringLiteral("/home/u/gat.bmp")));
    EXPECT_TRUE(es_absoluta(QStringLiteral("C:\\imatges\\gat.bmp")));
    EXPECT_TRUE(es_absoluta(QStringLiteral("d:gat.bmp")));
    EXPECT_FALSE(es_absoluta(QStringLiteral("imatges\\gat.bmp")));
    EXPECT_FALSE(es_absoluta(QStringLiteral("gat.bmp:P50")));
    EXPECT_FALSE(es_absoluta(QString()));
}

TEST_F(Camins, RelativeRemovesTheFolderOnlyBeforeASeparator) {
    EXPECT_EQ(ruta_relativa(QStringLiteral("/home/u/act/gat.bmp")), QStringLiteral("gat.bmp"));
    // A sibling folder whose name starts like the activity's is not inside it.
    EXPECT_EQ(ruta_relativa(QStringLiteral("/home/u/activitats/gat.bmp")),
              QStringLiteral("/home/u/activitats/gat.bmp"));
    // Nor is a folder that merely ends with the same path.
    EXPECT_EQ(ruta_relativa(QStringLiteral("/x/home/u/act/gat.bmp")),
              QStringLiteral("/x/home/u/act/gat.bmp"));
    // Sub-folders go back to the stored separator; options keep theirs.
    EXPECT_EQ(ruta_relativa(QStringLiteral("/home/u/act/imatges/gat.bmp:P50")),
              QStringLiteral("imatges\\gat.bmp:P50"));
    // Every reference of an order text, wherever it stands.
    const QString text = llista({"2", "\xC2\xBB", "/home/u/act/a.wav", "\xC2\xBB",
                                 "GFONS_/home/u/act/f/fons.bmp___|", "/home/u/act/b.bmp"});
    EXPECT_EQ(ruta_relativa(text),
              llista({"2", "\xC2\xBB", "a.wav", "\xC2\xBB", "GFONS_f\\fons.bmp___|", "b.bmp"}));
    // A folder given with a trailing separator, or none at all.
    EXPECT_EQ(ruta_relativa(QStringLiteral("/home/u/act/gat.bmp"), QStringLiteral("/home/u/act/")),
              QStringLiteral("gat.bmp"));
    EXPECT_EQ(ruta_relativa(QStringLiteral("/home/u/act/gat.bmp"), QString()),
              QStringLiteral("/home/u/act/gat.bmp"));
    // The root folder.
    EXPECT_EQ(ruta_relativa(QStringLiteral("/gat.bmp"), QStringLiteral("/")), QStringLiteral("gat.bmp"));
}

TEST_F(Camins, AbsoluteLeavesKeywordsOptionsAndDrivesAlone) {
    const QString text = llista({"6", "\xC2\xBB", "gat.bmp", "\xC2\xBB", "COLOR_255|", "ESPERA_2|",
                                 "so.wav:P50|", "C:\\fons\\x.bmp|", "COLORS.BMP|", "imatges\\gos.gif"});
    EXPECT_EQ(ruta_absoluta(text),
              llista({"6", "\xC2\xBB", "/home/u/act/gat.bmp", "\xC2\xBB", "COLOR_255|", "ESPERA_2|",
                      "so.wav:P50|", "C:\\fons\\x.bmp|", "COLORS.BMP|", "/home/u/act/imatges/gos.gif"}));
    // A single reference with no list head.
    EXPECT_EQ(ruta_absoluta(QStringLiteral("gat.bmp")), QStringLiteral("/home/u/act/gat.bmp"));
    // The Catalan placement keyword PEU is in PEUS.WAV: it stays relative.
    EXPECT_EQ(ruta_absoluta(QStringLiteral("PEUS.WAV")), QStringLiteral("PEUS.WAV"));
    EXPECT_EQ(ruta_absoluta(QStringLiteral("   ")), QString());
    // Text orders are no references: they stay as they are.
    EXPECT_EQ(ruta_absoluta(QStringLiteral("2") + SO + QStringLiteral("Hola/adéu|TEXT_diu a/b")),
              QStringLiteral("2") + SO + QStringLiteral("Hola/adéu|TEXT_diu a/b"));
    EXPECT_EQ(ruta_absoluta(QStringLiteral("jocs\\joc.exe")), QStringLiteral("/home/u/act/jocs/joc.exe"));
    // A lone reference may name a folder; a lone sentence is a text order.
    EXPECT_EQ(ruta_absoluta(QStringLiteral("veus\\joc")), QStringLiteral("/home/u/act/veus/joc"));
    EXPECT_EQ(ruta_absoluta(QStringLiteral("TEXT_diu hola")), QStringLiteral("TEXT_diu hola"));
    // Empty entries name no file.
    EXPECT_EQ(ruta_absoluta(QStringLiteral("2") + SO + QStringLiteral("|b.bmp")),
              QStringLiteral("2") + SO + QStringLiteral("|/home/u/act/b.bmp"));
}

TEST_F(Camins, BackgroundCommandsGetTheFolderBeforeTheirFile) {
    EXPECT_EQ(ruta_absoluta(QStringLiteral("1") + SO + QStringLiteral("GFONS_fons.bmp___")),
              QStringLiteral("1") + SO + QStringLiteral("GFONS_/home/u/act/fons.bmp___"));
    EXPECT_EQ(ruta_absoluta(QStringLiteral("ZFONS_z.gif007")), QStringLiteral("ZFONS_/home/u/act/z.gif007"));
    EXPECT_EQ(ruta_absoluta(QStringLiteral("GFONS_c:\\fons.bmp___")),
              QStringLiteral("GFONS_c:\\fons.bmp___"));
    // In Spanish the command word is the interface language's.
    idioma() = IDIOMA_ESPANOL;
    EXPECT_EQ(ruta_absoluta(QStringLiteral("GFONDO_fons.bmp___")),
              QStringLiteral("GFONDO_/home/u/act/fons.bmp___"));
}

TEST_F(Camins, AbsoluteIsIdempotentAndRelativeUndoesIt) {
    const QString stored = llista({"3", "\xC2\xBB", "imatges\\gat.bmp", "\xC2\xBB", "so.wav|",
                                   "GFONS_fons.bmp___|", "CENTRAT_Hola|", "x.bmp:P100"});
    const QString memoria = ruta_absoluta(stored);
    EXPECT_TRUE(memoria.contains(QStringLiteral("/home/u/act/imatges/gat.bmp")));
    EXPECT_EQ(ruta_absoluta(memoria), memoria);
    EXPECT_EQ(ruta_relativa(memoria), stored);
    // Saving and loading again and again never grows a reference.
    QString s = stored;
    for (int i = 0; i < 3; ++i)
        s = ruta_relativa(ruta_absoluta(ruta_absoluta(s)));
    EXPECT_EQ(s, stored);
}

TEST_F(Camins, ResourcePartsSplitFileAndOptions) {
    EXPECT_EQ(part_recurs(QStringLiteral("C:\\imatges\\gat.bmp"), 0), QStringLiteral("C:\\imatges\\gat.bmp"));
    EXPECT_EQ(part_recurs(QStringLiteral("C:\\imatges\\gat.bmp"), 1), QString());
    EXPECT_EQ(part_recurs(QStringLiteral(" gat.bmp :P50 "), 0), QStringLiteral("gat.bmp"));
    EXPECT_EQ(part_recurs(QStringLiteral("C:\\gat.bmp:P50"), 1), QStringLiteral("P50"));
    EXPECT_EQ(part_recurs(QStringLiteral("gat.bmp:P50:no"), 1), QStringLiteral("P50:no"));
    // Options on a name without an extension are still found.
    EXPECT_EQ(part_recurs(QStringLiteral("imatge:P50"), 1), QStringLiteral("P50"));
    EXPECT_EQ(part_recurs(QStringLiteral("imatge:P50"), 0), QStringLiteral("imatge"));
    // A dotted folder before the options' colon.
    EXPECT_EQ(part_recurs(QStringLiteral("/home/u/v1.2/gat:P50"), 1), QStringLiteral("P50"));
    EXPECT_EQ(part_recurs(QStringLiteral("gat.bmp:P50"), 2), QString());
    EXPECT_EQ(part_recurs(QString(), 0), QString());
}

TEST_F(Camins, FilesAreFoundWhateverTheirCase) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Imatges")));
    QFile f(dir.path() + QStringLiteral("/Imatges/gat.bmp"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString real = dir.path() + QStringLiteral("/Imatges/gat.bmp");
    carpeta_activitat() = dir.path();

    EXPECT_EQ(resoldre_fitxer(real), real);
    EXPECT_EQ(resoldre_fitxer(dir.path() + QStringLiteral("/IMATGES/GAT.BMP")), real);
    EXPECT_EQ(resoldre_fitxer(QStringLiteral("imatges\\GAT.BMP")), real);
    EXPECT_EQ(resoldre_fitxer(QStringLiteral("./imatges/../Imatges/gat.BMP")), real);
    // Nothing matches: the input comes back as it was.
    EXPECT_EQ(resoldre_fitxer(QStringLiteral("imatges\\gos.bmp")), QStringLiteral("imatges\\gos.bmp"));
    EXPECT_EQ(resoldre_fitxer(QStringLiteral("C:\\imatges\\gat.bmp")),
              QStringLiteral("C:\\imatges\\gat.bmp"));
    EXPECT_EQ(resoldre_fitxer(QString()), QString());
}
