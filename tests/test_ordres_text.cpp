#include "ajudes.h"
#include "platform/carpetes.h"
#include "platform/ini.h"
#include "presentacio_prova.h"
#include "core/vb.h"

#include <QFile>
#include <QTimer>

using namespace lumi;
using namespace lumi::proves;

namespace {
using OrdresText = FinestraProva;

QColor fons_finestra(Form1& f) {
    return f.centralWidget()->palette().color(QPalette::Window);
}
} // namespace

TEST(PosicioText, PlacementsWithTheWindowAndLabelSizes) {
    const QSize w(1024, 768), l(200, 50);
    EXPECT_EQ(posicio_text(LlocText::Centrat, w, l), QPointF(412, 359));
    const QPointF peu = posicio_text(LlocText::Peu, w, l);
    EXPECT_DOUBLE_EQ(peu.x(), 412);
    EXPECT_NEAR(peu.y(), 646.2, 1e-9);
    EXPECT_NEAR(posicio_text(LlocText::Capcalera, w, l).y(), 76.8, 1e-9);
    EXPECT_EQ(posicio_text(LlocText::Atzar, w, l, 0.5f, 0.25f), QPointF(412, 179.5));
}

TEST(SepararComanda, SplitsAtTheFirstUnderscore) {
    const ComandaText a = separar_comanda(QStringLiteral("Hola"));
    EXPECT_TRUE(a.clau.isEmpty());
    EXPECT_EQ(a.valor, QStringLiteral("Hola"));
    EXPECT_FALSE(a.te_separador);
    const ComandaText b = separar_comanda(QStringLiteral("_Hola"));
    EXPECT_TRUE(b.clau.isEmpty() && b.te_separador);
    EXPECT_EQ(b.valor, QStringLiteral("Hola"));
    const ComandaText c = separar_comanda(QStringLiteral("GFONS_/a_b/f.bmp___"));
    EXPECT_EQ(c.clau, QStringLiteral("GFONS"));
    EXPECT_EQ(c.valor, QStringLiteral("/a_b/f.bmp___"));
}

TEST_F(OrdresText, PlacedTextsInCatalan) {
    const QSize sw = f->centralWidget()->size();
    auto lloc = [&](LlocText l, float r1 = 0, float r2 = 0) {
        const QPointF p = posicio_text(l, sw, f->Label_par->size(), r1, r2);
        // Halves go to the even pixel.
        return QPoint(static_cast<int>(arrodonir_parell(p.x())), static_cast<int>(arrodonir_parell(p.y())));
    };
    text(QStringLiteral("CENTRAT_Hola"));
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("Hola"));
    EXPECT_TRUE(f->Label_par->isVisible());
    EXPECT_EQ(f->Label_par->pos(), lloc(LlocText::Centrat));
    text(QStringLiteral("PEU_Adéu"));
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("Adéu"));
    EXPECT_EQ(f->Label_par->pos(), lloc(LlocText::Peu));
    text(QStringLiteral("CAPÇALERA_Hola"));
    EXPECT_EQ(f->Label_par->pos(), lloc(LlocText::Capcalera));
    EXPECT_EQ(f->Label_par->y(), 77); // 76.8

    // No keyword, and an empty keyword: at the top.
    text(QStringLiteral("Bon dia"));
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("Bon dia"));
    EXPECT_EQ(f->Label_par->pos(), lloc(LlocText::Capcalera));
    text(QStringLiteral("_Hola"));
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("Hola"));
    // TANCAR without "_" is a text.
    text(QStringLiteral("TANCAR"));
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("TANCAR"));
    EXPECT_TRUE(f->isVisible());

    atzar.valors = {0.5f, 0.25f};
    text(QStringLiteral("ATZAR_Hola"));
    EXPECT_EQ(atzar.usats, 2);
    EXPECT_EQ(f->Label_par->pos(), lloc(LlocText::Atzar, 0.5f, 0.25f));
}

TEST_F(OrdresText, UnknownOrLowerCaseKeywordShowsTheWholeOrderAtTheTop) {
    text(QStringLiteral("CENTRAT_Abans"));
    text(QStringLiteral("color_255"));
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("color_255"));
    EXPECT_EQ(f->Label_par->y(), 77);
    EXPECT_NE(fons_finestra(*f), QColor(Qt::red));
    text(QStringLiteral("XYZ_abc"));
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("XYZ_abc"));
}

TEST_F(OrdresText, GalicianKeywords) {
    idioma() = IDIOMA_GALEGO;
    text(QStringLiteral("CENTRADO_Ola"));
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("Ola"));
    EXPECT_EQ(f->Label_par->y(), qRound((768 - f->Label_par->height()) / 2.0));
    // The Catalan keyword is no command in Galician.
    text(QStringLiteral("CAPÇALERA_Hola"));
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("CAPÇALERA_Hola"));
    text(QStringLiteral("COR_255"));
    EXPECT_EQ(fons_finestra(*f), QColor(255, 0, 0));
    text(QStringLiteral("ITEM_004"));
    EXPECT_EQ(jugador().item_salt, QStringLiteral("004"));
}

TEST_F(OrdresText, ATextTallerThanTheWindowShowsOnlyWhatFits) {
    QFont gran = f->Label_par->font();
    gran.setPointSize(100);
    f->Label_par->setFont(gran);
    const QFontMetrics fm(gran);
    QString t;
    for (int k = 0; k < 60; ++k)
        t += QStringLiteral("gat%1 ").arg(k % 10);
    text(QStringLiteral("CENTRAT_") + t);
    const QString mostrat = f->Label_par->text();
    const qsizetype linies = mostrat.count(u'\n') + 1;
    const int alt = f->centralWidget()->height();
    ASSERT_GT(fm.horizontalAdvance(t) / f->centralWidget()->width(), 2 * alt / fm.lineSpacing());
    EXPECT_LE(linies, alt / fm.lineSpacing() + 1);
    EXPECT_GE(linies, alt / fm.lineSpacing());
    // The lines shown are the first ones, each narrower than the window.
    EXPECT_TRUE(mostrat.startsWith(QStringLiteral("gat0 gat1 ")));
    for (const QString& l : mostrat.split(u'\n'))
        EXPECT_LT(fm.horizontalAdvance(l), f->centralWidget()->width());
    QString sense_salts = mostrat;
    sense_salts.remove(u'\n');
    EXPECT_TRUE(t.startsWith(sense_salts));
}

TEST_F(OrdresText, ColourCommandsAndTheTextThatFollows) {
    f->imatge_fons->show();
    text(QStringLiteral("COLOR_255"));
    EXPECT_TRUE(f->imatge_fons->isHidden());
    EXPECT_EQ(fons_finestra(*f), QColor(255, 0, 0));
    text(QStringLiteral("CFONT_65280"));
    text(QStringLiteral("Hola"));
    // The text takes the window's colour as its background.
    EXPECT_TRUE(f->Label_par->styleSheet().contains(QStringLiteral("background-color: #ff0000")));
    EXPECT_TRUE(f->Label_par->styleSheet().contains(QStringLiteral("color: #00ff00")));
    text(QStringLiteral("CTFONS_16711680"));
    EXPECT_TRUE(f->Label_par->styleSheet().contains(QStringLiteral("background-color: #0000ff")));
    // A colour that is not a number is black; the picture still goes.
    f->imatge_fons->show();
    text(QStringLiteral("COLOR_blau"));
    EXPECT_TRUE(f->imatge_fons->isHidden());
    EXPECT_EQ(fons_finestra(*f), QColor(0, 0, 0));
    // Beyond 32 bits the order is abandoned after hiding the picture.
    f->imatge_fons->show();
    text(QStringLiteral("COLOR_99999999999"));
    EXPECT_TRUE(f->imatge_fons->isHidden());
    EXPECT_EQ(fons_finestra(*f), QColor(0, 0, 0));
}

TEST_F(OrdresText, BackgroundAndZonePictures) {
    text(QStringLiteral("GFONS_/act/fons800x600.bmp___"));
    EXPECT_EQ(crides.last(), QStringLiteral("imatge /act/fons800x600.bmp"));
    EXPECT_TRUE(f->imatge_fons->isVisible());
    EXPECT_TRUE(f->imatge_fons->hasScaledContents());
    EXPECT_EQ(f->imatge_fons->geometry(), QRect(0, 0, 1024, 768));
    // Too short: nothing is loaded.
    crides.clear();
    text(QStringLiteral("GFONS_ab"));
    EXPECT_TRUE(crides.isEmpty());

    f->I_zona->crear_fins(7);
    text(QStringLiteral("ZFONS_/act/z32x32.gif007"));
    EXPECT_EQ(crides.last(), QStringLiteral("imatge /act/z32x32.gif"));
    EXPECT_EQ(f->I_zona->imatge(7).size(), QSize(32, 32));
    EXPECT_TRUE(f->I_zona->imatge(6).isNull());
    // A zone with no picture control is left alone.
    crides.clear();
    text(QStringLiteral("ZFONS_/act/z32x32.gif009"));
    EXPECT_TRUE(crides.isEmpty());
}

TEST_F(OrdresText, ItemFontAndEmptyOrders) {
    text(QStringLiteral("ITEM_005"));
    EXPECT_EQ(jugador().item_salt, QStringLiteral("005"));
    text(QStringLiteral("ITEM_5"));
    EXPECT_EQ(jugador().item_salt, QStringLiteral("5"));
    text(QStringLiteral("ITEM_a012"));
    EXPECT_EQ(jugador().item_salt, QStringLiteral("012"));

    f->Label_par->setText(QStringLiteral("abans"));
    f->Label_par->hide();
    const QString estil = f->Label_par->styleSheet();
    text(QStringLiteral("FONT_Arial 14-1 0"));
    text(QString());
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("abans"));
    EXPECT_TRUE(f->Label_par->isHidden());
    EXPECT_EQ(f->Label_par->styleSheet(), estil);
}

TEST_F(OrdresText, EsperaWaitsTenthsWhileTimersRun) {
    bool tic = false;
    QTimer::singleShot(0, [&] { tic = true; });
    const double abans = rellotge.t;
    text(QStringLiteral("ESPERA_15"));
    const double passat = rellotge.t - abans;
    EXPECT_GE(passat, 1.5);
    EXPECT_LT(passat, 1.5 + 4 * rellotge.pas);
    EXPECT_TRUE(tic);

    // 0 and non-numbers neither wait nor yield.
    bool tic2 = false;
    QTimer::singleShot(0, [&] { tic2 = true; });
    const double abans2 = rellotge.t;
    text(QStringLiteral("ESPERA_0"));
    text(QStringLiteral("ESPERA_x"));
    EXPECT_EQ(rellotge.t, abans2);
    EXPECT_FALSE(tic2);
    QApplication::processEvents();
}

TEST_F(OrdresText, TancarStopsAndClosesThroughTheCloseSteps) {
    const QString desfer = plataforma::fitxer_desfer();
    QFile fd(desfer);
    ASSERT_TRUE(fd.open(QIODevice::WriteOnly));
    fd.close();
    f->estalvi_pantalla = QStringLiteral("salva.scr");

    // Unsaved changes: message 30 first; Cancel keeps the program.
    activitat().exercici_modificat = CERT;
    auto r = respondre_missatge(QMessageBox::Cancel);
    text(QStringLiteral("TANCAR_"));
    EXPECT_TRUE(r->vist);
    EXPECT_EQ(r->text, text_idioma(30));
    EXPECT_TRUE(f->isVisible());
    EXPECT_FALSE(f->tancada_per_ordre);
    EXPECT_TRUE(QFile::exists(desfer));

    auto r2 = respondre_missatge(QMessageBox::Ok);
    text(QStringLiteral("TANCAR_"));
    EXPECT_TRUE(r2->vist);
    EXPECT_TRUE(f->tancada_per_ordre);
    EXPECT_FALSE(f->isVisible());
    EXPECT_FALSE(QFile::exists(desfer));
    EXPECT_EQ(plataforma::ini_llegir(plataforma::fitxer_system_ini(), QStringLiteral("boot"),
                                     QStringLiteral("SCRNSAVE.EXE")),
              QStringLiteral("salva.scr"));
}
