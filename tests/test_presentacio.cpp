#include "core/camins.h"
#include "platform/pantalla.h"
#include "presentacio_prova.h"

#include <QTimer>

using namespace lumi;
using namespace lumi::proves;

namespace {
using Presentacio = FinestraProva;
const QSize PANTALLA(1024, 768);

// A presentation program that writes down every step it is asked.
struct AppGravadora : plataforma::AplicacioPresentacions {
    QStringList* passos;
    bool falla_tancar = false;
    explicit AppGravadora(QStringList* p) : passos(p) { *passos << QStringLiteral("crear"); }
    ~AppGravadora() override { *passos << QStringLiteral("alliberar"); }
    bool posar_visible(bool v) override {
        *passos << QStringLiteral("Visible %1").arg(v);
        return true;
    }
    bool obrir(const QString& fitxer) override {
        *passos << QStringLiteral("Open ") + fitxer;
        return true;
    }
    bool executar_presentacio(int n) override {
        *passos << QStringLiteral("Run %1").arg(n);
        return true;
    }
    bool tancar_presentacio(int n) override {
        *passos << QStringLiteral("Close %1").arg(n);
        return !falla_tancar;
    }
    bool sortir_finestra_presentacio(int n) override {
        *passos << QStringLiteral("Exit %1").arg(n);
        return true;
    }
    bool sortir() override {
        *passos << QStringLiteral("Quit");
        return true;
    }
};
} // namespace

TEST(ColLocacio, PercentOfTheWindowKeepsProportions) {
    // Width limits, then height limits.
    EXPECT_EQ(col_locacio_imatge(PANTALLA, {400, 200}, 50).caixa, QRect(256, 256, 512, 256));
    EXPECT_EQ(col_locacio_imatge(PANTALLA, {200, 400}, 50).caixa, QRect(416, 192, 192, 384));
    EXPECT_TRUE(col_locacio_imatge(PANTALLA, {200, 400}, 50).estirada);
    // m = 0: an empty box in the middle.
    EXPECT_EQ(col_locacio_imatge(PANTALLA, {400, 200}, 0).caixa, QRect(512, 384, 0, 0));
}

TEST(ColLocacio, NaturalSizeAndWholeWindow) {
    const Col_locacio gran = col_locacio_imatge(PANTALLA, {2000, 100}, 1);
    EXPECT_EQ(gran.caixa, QRect(0, 0, 1024, 768));
    EXPECT_TRUE(gran.estirada);
    const Col_locacio petit = col_locacio_imatge(PANTALLA, {300, 200}, 1);
    EXPECT_EQ(petit.caixa, QRect(362, 284, 300, 200));
    EXPECT_FALSE(petit.estirada);
    EXPECT_EQ(col_locacio_imatge(PANTALLA, {300, 200}, 100).caixa, QRect(0, 0, 1024, 768));
    EXPECT_TRUE(col_locacio_imatge(PANTALLA, {300, 200}, 100).estirada);
}

TEST(ColLocacio, PlacementOptionFromTheOrder) {
    EXPECT_EQ(opcio_col_locacio(QStringLiteral("/a/b.jpg:P0100")), 100);
    EXPECT_EQ(opcio_col_locacio(QStringLiteral("/a/b.jpg:P050")), 50);
    EXPECT_EQ(opcio_col_locacio(QStringLiteral("/a/b.jpg:P01")), 1);
    EXPECT_EQ(opcio_col_locacio(QStringLiteral("/a/b.jpg:P5")), 0);
    EXPECT_EQ(opcio_col_locacio(QStringLiteral("/a/b.jpg:")), 1);
    EXPECT_EQ(opcio_col_locacio(QStringLiteral("/a/b.jpg:X1:Y2")), 1);
    EXPECT_EQ(opcio_col_locacio(QStringLiteral("/a/b.jpg:R1:P050:P0100")), 50);
    EXPECT_EQ(opcio_col_locacio(QStringLiteral("c:\\a\\b.jpg")), 1);
}

TEST(TipusOrdre, FilePartDecidesTheType) {
    EXPECT_EQ(classe_ordre(tipus_de(QStringLiteral("/a/gat.jpeg"))), ClasseOrdre::text);
    EXPECT_EQ(classe_ordre(tipus_de(QStringLiteral("/a/gat.JpG:P050"))), ClasseOrdre::imatge);
    EXPECT_EQ(classe_ordre(tipus_de(QStringLiteral("CENTRAT_Hola"))), ClasseOrdre::text);
    EXPECT_TRUE(es_entrada_salvapantalles(QStringLiteral("/a/b.SCR")));
    EXPECT_TRUE(es_entrada_salvapantalles(QStringLiteral("/a/b.scr")));
    EXPECT_FALSE(es_entrada_salvapantalles(QStringLiteral("/a/b.scr") + sep() + QStringLiteral("/a/c.jpg")));
    EXPECT_FALSE(es_entrada_salvapantalles(QStringLiteral("/a/b.scr:P050")));
}

TEST_F(Presentacio, ArmsTheQuestionBeforeShowing) {
    jugador().velocitat = 0.8f;
    activitat().items[1].retard_accio = 0;
    f->sequencia_parcial = QStringLiteral("AB");
    f->reaccio_serie_pendent = QStringLiteral("x");
    f->estimul_presenta(1);
    EXPECT_FLOAT_EQ(f->temps_pregunta[1], 4.0f);
    EXPECT_EQ(f->temps_pregunta[0], 0.0f);
    EXPECT_EQ(std::fmod(f->temps_pregunta[2], 1.0f), 0.0f);
    EXPECT_NEAR(f->temps_pregunta[2], 36100.0, 1.0);
    EXPECT_TRUE(f->pregunta_activa);
    EXPECT_TRUE(f->sequencia_parcial.isEmpty());
    EXPECT_TRUE(f->reaccio_serie_pendent.isEmpty());
    // No stimulus: no log line, and the label is left alone.
    EXPECT_TRUE(informe_detall().isEmpty());
    EXPECT_TRUE(f->Label_par->isHidden());
}

TEST_F(Presentacio, SoundPictureAndTextWithAStimulusTime) {
    posar_estimul(1,
                  QStringLiteral("/act/so.wav") + sep() + QStringLiteral("/act/gat300x200.jpg") + sep() +
                      QStringLiteral("Hola"),
                  3);
    serveis_presentacio().reproduir_so = [this](const QString& x) {
        crides << QStringLiteral("so ") + x;
        jugador().media_actual = x;
    };
    f->estimul_presenta(1);
    EXPECT_EQ(crides,
              (QStringList{QStringLiteral("so /act/so.wav"), QStringLiteral("imatge /act/gat300x200.jpg")}));
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("Hola"));
    // Cleared after the time: sound closed, picture and text hidden, main picture shown.
    EXPECT_EQ(mci.ordres, QStringList{QStringLiteral("close /act/so.wav")});
    EXPECT_TRUE(jugador().media_actual.isEmpty());
    EXPECT_TRUE(f->Image2->isHidden());
    EXPECT_FALSE(f->Image2->hasScaledContents());
    EXPECT_TRUE(f->Label_par->isHidden());
    EXPECT_FALSE(f->Image1->isHidden());
    EXPECT_TRUE(informe_detall().endsWith(QStringLiteral("| ESTIMUL /act/so.wav") + sep() +
                                          QStringLiteral("/act/gat300x200.jpg") + sep() +
                                          QStringLiteral("Hola")));
    EXPECT_TRUE(informe_detall().startsWith(QStringLiteral("\r\n10:01:")));
}

TEST_F(Presentacio, StimulusTimeIsWaitedFromTheLastOrder) {
    posar_estimul(1, QStringLiteral("/act/gat300x200.jpg") + sep() + QStringLiteral("Hola"), 3);
    double quan_text = -1;
    serveis_presentacio().carregar_imatge = [&](const QString&) {
        // The text comes right after the picture.
        quan_text = rellotge.t;
        return QImage(300, 200, QImage::Format_RGB32);
    };
    f->estimul_presenta(1);
    ASSERT_GT(quan_text, 0);
    EXPECT_GT(rellotge.t - quan_text, 3.0);
    EXPECT_LT(rellotge.t - quan_text, 3.0 + 0.5);
}

TEST_F(Presentacio, NoStimulusTimeLeavesEverythingOnScreen) {
    posar_estimul(1,
                  QStringLiteral("/act/so.wav") + sep() + QStringLiteral("/act/gat300x200.jpg") + sep() +
                      QStringLiteral("Hola"),
                  0);
    jugador().media_actual = QStringLiteral("/act/so.wav");
    const double abans = rellotge.t;
    f->estimul_presenta(1);
    EXPECT_LT(rellotge.t - abans, 0.5);
    EXPECT_TRUE(mci.ordres.isEmpty());
    EXPECT_FALSE(f->Image2->isHidden());
    EXPECT_EQ(f->Image2->geometry(), QRect(362, 284, 300, 200));
    EXPECT_FALSE(f->Label_par->isHidden());
}

TEST_F(Presentacio, PictureOptionsPlaceThePicture) {
    posar_estimul(1, QStringLiteral("/act/p400x200.jpg:P050"), 0);
    f->estimul_presenta(1);
    EXPECT_EQ(f->Image2->geometry(), QRect(256, 256, 512, 256));
    EXPECT_TRUE(f->Image2->hasScaledContents());
    posar_estimul(1, QStringLiteral("/act/p2000x100.bmp"), 0);
    f->estimul_presenta(1);
    EXPECT_EQ(f->Image2->geometry(), QRect(0, 0, 1024, 768));
    // A text shown first stays in front of the picture.
    posar_estimul(1, QStringLiteral("Hola") + sep() + QStringLiteral("/act/p200x400.gif:P050"), 0);
    f->estimul_presenta(1);
    EXPECT_EQ(f->Image2->geometry(), QRect(416, 192, 192, 384));
    const QObjectList& fills = f->centralWidget()->children();
    EXPECT_GT(fills.indexOf(f->Label_par), fills.indexOf(f->Image2));
}

TEST_F(Presentacio, MediaOrdersGetTheirFilePart) {
    posar_estimul(1,
                  QStringLiteral("/act/so.wav:P050") + sep() + QStringLiteral("/act/v.avi:X") + sep() +
                      QStringLiteral("/act/m.mid:P01") + sep() + QStringLiteral("/act/p.exe:Z"),
                  0);
    f->estimul_presenta(1);
    EXPECT_EQ(crides, (QStringList{QStringLiteral("so /act/so.wav"), QStringLiteral("media /act/v.avi"),
                                   QStringLiteral("media /act/m.mid"),
                                   QStringLiteral("executar /act/p.exe 3"), QStringLiteral("tancar 77")}));
    EXPECT_FALSE(f->Image1->isHidden());
}

TEST_F(Presentacio, ClearedVideoHidesItsArea) {
    posar_estimul(1, QStringLiteral("/act/v.avi"), 1);
    serveis_presentacio().reproduir_media = [this](const QString& x) {
        jugador().media_actual = x;
        f->Picture1->show();
    };
    f->estimul_presenta(1);
    EXPECT_EQ(mci.ordres,
              (QStringList{QStringLiteral("close animation"), QStringLiteral("close /act/v.avi")}));
    EXPECT_TRUE(f->Picture1->isHidden());
}

TEST_F(Presentacio, JpegAndListedScreenSaversAreTexts) {
    posar_estimul(1, QStringLiteral("/act/gat.jpeg"), 0);
    f->estimul_presenta(1);
    EXPECT_TRUE(crides.isEmpty());
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("/act/gat.jpeg"));

    posar_estimul(1, QStringLiteral("/act/s.scr") + sep() + QStringLiteral("/act/p300x200.jpg"), 0);
    f->estimul_presenta(1);
    EXPECT_EQ(crides, QStringList{QStringLiteral("imatge /act/p300x200.jpg")});
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("/act/s.scr"));
}

TEST_F(Presentacio, NamesWithoutADotAreTexts) {
    posar_estimul(1, QStringLiteral("/act/payloadexe") + sep() + QStringLiteral("/act/gat300x200jpg"), 0);
    f->estimul_presenta(1);
    EXPECT_TRUE(crides.isEmpty());
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("/act/gat300x200jpg"));
}

TEST_F(Presentacio, TextsLoseTheActivityFolder) {
    carpeta_activitat() = QStringLiteral("/home/m/act");
    posar_estimul(1, QStringLiteral("/home/m/act/Bon dia"), 0);
    f->estimul_presenta(1);
    carpeta_activitat().clear();
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("Bon dia"));
}

TEST_F(Presentacio, ScreenSaverAloneStartsAndReturnsAtOnce) {
    posar_estimul(1, QStringLiteral("/act/s.SCR"), 5);
    const double abans = rellotge.t;
    f->estimul_presenta(1);
    EXPECT_EQ(crides, QStringList{QStringLiteral("executar /act/s.SCR 1")});
    EXPECT_LT(rellotge.t - abans, 0.5);
    EXPECT_FALSE(f->Image1->isHidden());
    EXPECT_TRUE(f->pregunta_activa);
}

TEST_F(Presentacio, FlashWindowShownForTheTimeThenDestroyed) {
    posar_estimul(1, QStringLiteral("/act/peli.swf:P050") + sep() + QStringLiteral("/act/p300x200.jpg"), 5);
    int vista = 0;
    QString pelicula;
    double primer = -1, darrer = -1;
    rellotge.en_llegir = [&] {
        if (Flash::vives() == 1) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* fl = qobject_cast<Flash*>(w); fl && fl->isVisible()) {
                    ++vista;
                    pelicula = fl->peli->text();
                    if (primer < 0) primer = rellotge.t;
                    darrer = rellotge.t;
                }
        }
    };
    f->estimul_presenta(1);
    rellotge.en_llegir = nullptr;
    EXPECT_GT(vista, 0);
    EXPECT_EQ(pelicula, QStringLiteral("/act/peli.swf"));
    EXPECT_NEAR(darrer - primer, 5.0, 0.5);
    EXPECT_EQ(Flash::vives(), 0);
    // The picture after the movie is never shown.
    EXPECT_TRUE(crides.isEmpty());
}

TEST_F(Presentacio, SlideShowStepsInOrderAndAlwaysEnded) {
    QStringList passos;
    AppGravadora* app = nullptr;
    bool falla = false;
    plataforma::posar_fabrica_presentacions([&] {
        auto a = std::make_unique<AppGravadora>(&passos);
        a->falla_tancar = falla;
        app = a.get();
        return a;
    });
    posar_estimul(1, QStringLiteral("/act/show.pps:P050"), 1);
    const double abans = rellotge.t;
    f->estimul_presenta(1);
    EXPECT_GT(rellotge.t - abans, 1.0);
    EXPECT_EQ(passos, (QStringList{QStringLiteral("crear"), QStringLiteral("Visible 1"),
                                   QStringLiteral("Open /act/show.pps"), QStringLiteral("Run 1"),
                                   QStringLiteral("Close 1"), QStringLiteral("Exit 1"),
                                   QStringLiteral("Quit"), QStringLiteral("alliberar")}));
    EXPECT_FALSE(f->Image1->isHidden());

    // A failing close still ends the show and the program.
    passos.clear();
    falla = true;
    f->pps_executa(QStringLiteral("/act/show.ppt"));
    f->pps_atura();
    EXPECT_EQ(passos.mid(4), (QStringList{QStringLiteral("Close 1"), QStringLiteral("Exit 1"),
                                          QStringLiteral("Quit"), QStringLiteral("alliberar")}));
    (void)app;

    // No presentation program: nothing shown, the wait still runs.
    plataforma::posar_fabrica_presentacions(
        [] { return std::unique_ptr<plataforma::AplicacioPresentacions>(); });
    const double abans2 = rellotge.t;
    f->estimul_presenta(1);
    EXPECT_GT(rellotge.t - abans2, 1.0);
}

TEST_F(Presentacio, OvertakenPresentationStopsDrawingItsEntry) {
    posar_estimul(1, QStringLiteral("/act/p.exe") + sep() + QStringLiteral("Vell"), 0);
    posar_estimul(2, QStringLiteral("Nou"), 0);
    // A newer question is presented while the program runs.
    QTimer::singleShot(0, f.get(), [this] { f->estimul_presenta(2); });
    f->estimul_presenta(1);
    EXPECT_EQ(crides, (QStringList{QStringLiteral("executar /act/p.exe 3"), QStringLiteral("tancar 77")}));
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("Nou"));
}

TEST_F(Presentacio, RandomEntryAndItemZeroPointerOption) {
    activitat().items[1].estimuls = QStringLiteral("3\u00bbun|dos|tres");
    atzar.valors = {0.7f};
    f->estimul_presenta(1);
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("tres"));
    EXPECT_TRUE(f->Image1->isHidden());
    activitat().items[0].ratoli[0] = 1;
    atzar.valors = {0.0f};
    f->estimul_presenta(1);
    EXPECT_EQ(f->Label_par->text(), QStringLiteral("un"));
    EXPECT_FALSE(f->Image1->isHidden());
}

TEST_F(Presentacio, PreparedScreenTakesTheActivitySettings) {
    Activitat& a = activitat();
    a.color_fons = 0x0000FF; // red
    a.font.nom = QStringLiteral("Courier");
    a.font.mida = 20;
    a.font.negreta = CERT;
    a.font.color = 0xFF0000; // blue
    a.fitxer_imatge_fons = QStringLiteral("/act/fons640x480.bmp");
    a.zones.resize(3);
    a.zones_max = 2;
    a.zones[1] = zona{10, 10, 100, 100, QStringLiteral("/act/z1_16x16.gif")};
    a.zones[2] = zona{0, 0, 0, 0, QStringLiteral("/act/lliure16x16.gif")};
    f->I_zona->crear_fins(2);
    f->Image2->setPixmap(QPixmap(10, 10));
    f->pantalla_prepara();
    EXPECT_TRUE(f->Image1->isHidden() && f->Image2->isHidden() && f->Label_par->isHidden());
    EXPECT_TRUE(f->Image2->pixmap().isNull());
    EXPECT_EQ(f->centralWidget()->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_TRUE(f->Label_par->font().bold());
    EXPECT_EQ(f->Label_par->font().pointSize(), 20);
    EXPECT_TRUE(f->Label_par->styleSheet().contains(QStringLiteral("color: #0000ff")));
    EXPECT_EQ(f->imatge_fons->geometry(), QRect(0, 0, 1024, 768));
    EXPECT_FALSE(f->imatge_fons->isHidden());
    EXPECT_EQ(crides, (QStringList{QStringLiteral("imatge /act/fons640x480.bmp"),
                                   QStringLiteral("imatge /act/z1_16x16.gif")}));

    // An unreadable background abandons the zone pictures.
    crides.clear();
    a.fitxer_imatge_fons = QStringLiteral("/act/no_hi_es.bmp");
    f->pantalla_prepara();
    EXPECT_EQ(crides, QStringList{QStringLiteral("imatge /act/no_hi_es.bmp")});
}

TEST_F(Presentacio, PreparedScreenCentresThePointerRoundingEachSumOnce) {
    f->show();
    f->Image1->resize(201, 609);
    jugador().marge_x = jugador().marge_y = 1;
    f->pantalla_prepara();
    // 101.5 and 305.5, halves to even.
    EXPECT_EQ(plataforma::cursor_posat(), f->centralWidget()->mapToGlobal(QPoint(102, 306)));
}
