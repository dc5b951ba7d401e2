#include "actions/ACCIONS.h"
#include "actions/ganxos_accions.h"
#include "actions/tela_zones.h"
#include "actions/visor_zones.h"
#include "ajudes.h"
#include "core/camins.h"
#include "core/idioma.h"
#include "planner/planificar.h"
#include "platform/cursor_confinament.h"
#include "platform/pantalla.h"
#include "player/Form1.h"
#include "player/menus.h"

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace lumi;
using namespace lumi::proves;

namespace {

struct EditorZones : ::testing::Test {
    QTemporaryDir tmp;
    Activitat a;
    EstatDispositius d;
    item it;
    std::unique_ptr<ACCIONS> f;

    void SetUp() override {
        idioma() = IDIOMA_CATALA;
        a.nombre_items = 1;
        a.items.assign(2, item{});
        const QRect e = plataforma::rectangle_escriptori();
        a.zones.assign(1, zona{e.left(), e.top(), e.right() + 1, e.bottom() + 1, {}});
        a.zones_max = 0;
    }
    void TearDown() override {
        f.reset();
        plataforma::alliberar_cursor();
        interficie_zones() = {};
    }
    void afegir(int l, int t, int r, int b, const QString& imatge = {}) {
        a.zones.push_back(zona{l, t, r, b, imatge});
        a.zones_max = static_cast<int16_t>(a.zones.size() - 1);
    }
    // The editor entered from the mouse page's button, as a teacher does,
    // after typing `serie` into the series text.
    TelaZones* obrir(const QString& serie = {}) {
        f = std::make_unique<ACCIONS>(it, a, d, nullptr);
        f->obrir_pagina(0, text_idioma(33) + u' ' + tradueix(QStringLiteral("Ratolí")));
        f->show();
        if (!serie.isEmpty()) QTest::keyClicks(f->Paraula, serie);
        auto* boto = f->findChild<QPushButton*>(QStringLiteral("CREAR_ZONES"));
        EXPECT_TRUE(boto);
        if (boto) boto->click();
        return f->tela;
    }
    static void arrossegar(QWidget* w, QPoint de, QPoint a, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mousePress(w, b, {}, de);
        QTest::mouseMove(w, a);
        QTest::mouseRelease(w, b, {}, a);
    }
    // Inside the number label of zone k.
    QPoint etiqueta(int k) const {
        return f->tela->rect_etiqueta(k, f->tela->fontMetrics()).topLeft() + QPoint(1, 1);
    }
    static void clic(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mousePress(w, b, {}, p);
        QTest::mouseRelease(w, b, {}, p);
    }
    QString png(const QString& nom, QColor c) const {
        QImage im(40, 30, QImage::Format_RGB32);
        im.fill(c);
        const QString cami = tmp.filePath(nom);
        im.save(cami);
        return cami;
    }
};

} // namespace

TEST_F(EditorZones, DrawSelectMoveAndResizeInTheScreensOwnPixels) {
    TelaZones* t = obrir();
    ASSERT_TRUE(t && t->isVisible());
    // Full screen at the desktop's origin; the menu bar lies over it.
    const QRect e = plataforma::rectangle_escriptori();
    EXPECT_EQ(t->geometry(), e);
    EXPECT_EQ(t->mapToGlobal(QPoint(0, 0)), e.topLeft());
    EXPECT_EQ(f->barra_zones->parentWidget(), t);
    EXPECT_TRUE(f->mn_zona[1]->isEnabled());

    // The rectangle comes from the last move, not from the release.
    QTest::mousePress(t, Qt::LeftButton, {}, QPoint(100, 80));
    QTest::mouseMove(t, QPoint(300, 200));
    QTest::mouseRelease(t, Qt::LeftButton, {}, QPoint(310, 215));
    ASSERT_EQ(a.zones_max, 1);
    EXPECT_EQ(a.zones[1], (zona{100, 80, 300, 200, {}}));
    EXPECT_EQ(f->zona_seleccionada(), 1);
    EXPECT_EQ(f->marc, (zona_rect{100, 80, 200, 120}));
    EXPECT_FALSE(f->mn_zona[1]->isEnabled());

    // A press beyond the handles ends the selection; too small, or drawn up
    // and left, makes no zone.
    clic(t, QPoint(600, 500));
    EXPECT_EQ(f->zona_seleccionada(), 0);
    arrossegar(t, QPoint(400, 400), QPoint(404, 430));
    arrossegar(t, QPoint(500, 500), QPoint(450, 450));
    EXPECT_EQ(a.zones_max, 1);

    // By its label, then a move inside: stored when the selection ends.
    EXPECT_EQ(t->rect_etiqueta(1, t->fontMetrics()).topLeft(), QPoint(200, 140)); // the zone's centre
    clic(t, etiqueta(1));
    EXPECT_EQ(f->zona_seleccionada(), 1);
    arrossegar(t, QPoint(150, 100), QPoint(170, 130));
    EXPECT_EQ(f->marc, (zona_rect{120, 110, 200, 120}));
    EXPECT_EQ(a.zones[1], (zona{100, 80, 300, 200, {}}));
    clic(t, QPoint(700, 550));
    EXPECT_EQ(a.zones[1], (zona{120, 110, 320, 230, {}}));

    // By its picture, then the right-middle handle: the right edge lands one
    // past the pointer, and the pointer box keeps the width at least 1.
    clic(t, QPoint(200, 150));
    ASSERT_EQ(f->zona_seleccionada(), 1);
    arrossegar(t, QPoint(325, 170), QPoint(400, 170));
    EXPECT_EQ(f->marc, (zona_rect{120, 110, 281, 120}));
    // A pointer the window system lets past the box (the fallback here
    // swallows such moves): clamped all the same.
    QTest::mousePress(t, Qt::LeftButton, {}, QPoint(404, 170));
    f->Form_MouseMove(Qt::LeftButton, QPointF(30, 170));
    QTest::mouseRelease(t, Qt::LeftButton, {}, QPoint(120, 170));
    EXPECT_EQ(f->marc, (zona_rect{120, 110, 1, 120}));
    arrossegar(t, QPoint(124, 170), QPoint(250, 170));
    clic(t, QPoint(700, 550));
    EXPECT_EQ(a.zones[1], (zona{120, 110, 251, 230, {}}));
}

TEST_F(EditorZones, ZoneMenuOnRightClickDeletesAndSubdividesWhatWasMovedLast) {
    afegir(10, 10, 110, 60);
    afegir(200, 100, 300, 150);
    afegir(400, 300, 403 + 2, 306);
    it.zones_ratoli = QStringLiteral("H01");
    TelaZones* t = obrir();
    ASSERT_TRUE(t);
    EXPECT_EQ(f->model.zona_ultima_usada, 1);

    // A right click on a label selects the zone and pops the menu up.
    QMenu* vist = nullptr;
    bool subdividir_actiu = false;
    QTimer::singleShot(0, [&] {
        vist = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!vist) return;
        subdividir_actiu = f->mn_zona[2]->isEnabled();
        vist->close();
    });
    clic(f->tela, etiqueta(3), Qt::RightButton);
    EXPECT_EQ(vist, f->mn_opcions);
    EXPECT_TRUE(subdividir_actiu);
    EXPECT_EQ(f->zona_seleccionada(), 3);

    // Zone 3 is 5 x 6: fifteen columns would give empty cells; the box says so.
    f->mn_zona_Click(2);
    ASSERT_TRUE(f->Frame1[4]->isVisible());
    EXPECT_EQ(f->TxH->text(), "1");
    EXPECT_EQ(f->TxV->text(), "1");
    f->ScrollH->setValue(1);
    EXPECT_EQ(f->TxH->text(), "15");
    f->quadric_Click(1);
    EXPECT_TRUE(f->Frame1[4]->isVisible());
    EXPECT_EQ(f->avis_subdividir->text(), tradueix(QStringLiteral("zones|cel_la_buida")));
    EXPECT_FALSE(f->avis_subdividir->text().isEmpty());
    EXPECT_EQ(a.zones_max, 3);
    f->quadric_Click(0);
    EXPECT_FALSE(f->Frame1[4]->isVisible());

    // Delete with nothing selected does nothing; a zone an item uses stays.
    clic(t, QPoint(700, 550));
    ASSERT_EQ(f->zona_seleccionada(), 0);
    f->mn_zona_Click(0);
    f->mn_zona_Click(2);
    EXPECT_FALSE(f->Frame1[4]->isVisible());
    EXPECT_EQ(a.zones_max, 3);
    clic(f->tela, etiqueta(1));
    f->mn_zona_Click(0);
    EXPECT_EQ(a.zones_max, 3);

    // Zone 2 moved, then the menu from a right click inside it, then
    // subdivide 2 x 1: the cells come from the moved rectangle.
    clic(f->tela, etiqueta(2));
    arrossegar(t, QPoint(250, 120), QPoint(260, 140));
    EXPECT_EQ(a.zones[2], (zona{200, 100, 300, 150, {}}));
    QTimer::singleShot(0, [&] {
        if (auto* m = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            f->mn_zona[2]->trigger();
            m->close();
        }
    });
    clic(t, QPoint(250, 130), Qt::RightButton);
    ASSERT_TRUE(f->Frame1[4]->isVisible());
    // Counts outside 1..15 are ignored and the box keeps the text.
    f->TxH->setText(QStringLiteral("2"));
    f->TxH_LostFocus();
    f->TxH->setText(QStringLiteral("20"));
    f->TxH_LostFocus();
    EXPECT_EQ(f->TxH->text(), "20");
    f->TxV->setText(QStringLiteral("0"));
    EXPECT_EQ(f->TxV->text(), "0");
    EXPECT_EQ(f->ScrollH->value(), 14); // two columns
    EXPECT_EQ(f->ScrollV->value(), 15); // one row
    f->quadric_Click(1);
    EXPECT_FALSE(f->Frame1[4]->isVisible());
    // Zone 2 is above every used zone: it leaves, zone 3 moves down, the
    // cells come last; the last one is selected.
    ASSERT_EQ(a.zones_max, 4);
    EXPECT_EQ(a.zones[2], (zona{400, 300, 405, 306, {}}));
    EXPECT_EQ(a.zones[3], (zona{210, 120, 260, 170, {}}));
    EXPECT_EQ(a.zones[4], (zona{260, 120, 310, 170, {}}));
    EXPECT_EQ(f->zona_seleccionada(), 4);

    // Delete the selected zone: it goes, nothing is selected.
    f->mn_zona_Click(0);
    EXPECT_EQ(a.zones_max, 3);
    EXPECT_EQ(f->zona_seleccionada(), 0);
}

TEST_F(EditorZones, LeavingStoresTheMoveRefillsThePageAndShowsTheSeriesBoxAgain) {
    afegir(40, 40, 240, 140);
    TelaZones* t = obrir();
    ASSERT_TRUE(t);
    EXPECT_FALSE(f->Paraula->isVisibleTo(f.get()));
    arrossegar(t, QPoint(300, 300), QPoint(500, 400)); // zone 2
    ASSERT_EQ(f->zona_seleccionada(), 2);
    arrossegar(t, QPoint(350, 330), QPoint(340, 320)); // away from its label
    f->mn_zona_Click(4);
    EXPECT_EQ(a.zones[2], (zona{290, 290, 490, 390, {}}));
    EXPECT_FALSE(t->isVisible());
    EXPECT_EQ(f->estat_zones, 0);
    for (QWidget* w : std::initializer_list<QWidget*>{f->Paraula, f->Canc[0], f->Canc[1], f->teclat[10],
                                                      f->Frame1[0], f->ICO_SER[1]})
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_FALSE(f->Frame1[6]->isVisible());
    // The combos and the previews know the new zone.
    ASSERT_EQ(f->tria_zones_mouse->count(), 3);
    EXPECT_EQ(f->tria_zones_mouse->itemText(2), text_idioma(35) + QStringLiteral("002"));
    const QRect z2 = f->zm->rect_etiqueta(2);
    const QRect e = plataforma::rectangle_escriptori();
    const double sx = double(f->visor_zones[0]->width()) / e.width();
    EXPECT_NEAR(z2.x(), 290 * sx, 1.0);
    EXPECT_NEAR(z2.width(), 200 * sx, 1.0);
    // A click on a preview's label chooses that zone for the item.
    QTest::mouseClick(f->zm, Qt::LeftButton, {}, z2.center());
    EXPECT_EQ(it.zones_ratoli, "H02");
}

TEST_F(EditorZones, DragHoldsThePointerUntilReleaseFocusLossOrClose) {
    afegir(100, 100, 300, 200);
    TelaZones* t = obrir();
    ASSERT_TRUE(t);
    clic(f->tela, etiqueta(1));
    // The bottom-right handle: the box runs from the zone's corner to the
    // screen's, right and bottom exclusive.
    QTest::mousePress(t, Qt::LeftButton, {}, QPoint(305, 205));
    const QRect e = plataforma::rectangle_escriptori();
    EXPECT_EQ(plataforma::cursor_confinat(),
              QRect(QPoint(100, 100) + e.topLeft(), QPoint(e.width() - 1, e.height() - 1) + e.topLeft()));
    // Pointer positions the window system did not hold are clamped too.
    f->Form_MouseMove(Qt::LeftButton, QPointF(50, 60));
    EXPECT_EQ(f->marc, (zona_rect{100, 100, 1, 1}));
    QEvent fora(QEvent::WindowDeactivate);
    QApplication::sendEvent(t, &fora);
    EXPECT_TRUE(plataforma::cursor_confinat().isEmpty());
    EXPECT_EQ(f->arrossegant, 0);
    QTest::mouseRelease(t, Qt::LeftButton, {}, QPoint(50, 60));

    // A drag, then the canvas is closed (the window manager's close key):
    // the pointer is freed and the editor left; entering again works.
    QTest::mousePress(t, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_FALSE(plataforma::cursor_confinat().isEmpty());
    t->close();
    EXPECT_TRUE(plataforma::cursor_confinat().isEmpty());
    EXPECT_EQ(f->arrossegant, 0);
    EXPECT_EQ(f->estat_zones, 0);
    EXPECT_FALSE(t->isVisible());
    QTest::mouseRelease(t, Qt::LeftButton, {}, QPoint(100, 100));
    f->CREAR_ZONES_Click(0);
    clic(f->tela, etiqueta(1));
    ASSERT_EQ(f->zona_seleccionada(), 1);

    // Another drag, by the top handle (the 1 x 1 zone lies under its
    // label), then the window closes: freed, and the move stored.
    const dimensionar::Caixa dalt = dimensionar::caixa_nansa(f->marc, 1);
    QTest::mousePress(t, Qt::LeftButton, {}, QPoint(dalt.esquerra + 2, dalt.dalt + 2));
    QTest::mouseMove(t, QPoint(120, 80));
    EXPECT_FALSE(plataforma::cursor_confinat().isEmpty());
    f->reject();
    EXPECT_TRUE(plataforma::cursor_confinat().isEmpty());
    EXPECT_EQ(a.zones[1], (zona{100, 80, 101, 101, {}}));
}

TEST_F(EditorZones, AZoneTheSeriesBeingTypedNamesIsNotDeleted) {
    afegir(10, 10, 110, 60);
    afegir(200, 100, 300, 150);
    afegir(400, 300, 500, 350);
    // Typed after the editor opened: no stored item names a zone yet.
    TelaZones* t = obrir(token_zona(2, false));
    ASSERT_TRUE(t);
    EXPECT_EQ(f->model.paraula, token_zona(2, false));
    clic(f->tela, etiqueta(2));
    ASSERT_EQ(f->zona_seleccionada(), 2);
    f->mn_zona_Click(0);
    EXPECT_EQ(a.zones_max, 3);
    EXPECT_EQ(a.zones[2], (zona{200, 100, 300, 150, {}}));
    // Zone 3 is above it: it can go.
    clic(f->tela, etiqueta(3));
    f->mn_zona_Click(0);
    EXPECT_EQ(a.zones_max, 2);
}

TEST_F(EditorZones, MissingPicturesAreDrawnEmptyAndTheSelectionShowsTheStandIn) {
    afegir(20, 40, 120, 140, tmp.filePath(QStringLiteral("no_hi_es.png")));
    afegir(200, 40, 300, 140, png(QStringLiteral("vermell.png"), Qt::red));
    a.fitxer_imatge_fons = tmp.filePath(QStringLiteral("tampoc.jpg"));
    TelaZones* t = obrir();
    ASSERT_TRUE(t);
    QImage vista = t->grab().toImage();
    EXPECT_EQ(QColor(vista.pixel(250, 120)), QColor(Qt::red));
    const QColor fons = t->palette().color(QPalette::Window);
    EXPECT_EQ(QColor(vista.pixel(100, 120)), fons);
    EXPECT_EQ(QColor(vista.pixel(500, 400)), fons);

    ASSERT_FALSE(TelaZones::comodi().isNull());
    clic(t, QPoint(100, 120));
    ASSERT_EQ(f->zona_seleccionada(), 1);
    EXPECT_EQ(f->picFlag, TelaZones::comodi());
    vista = t->grab().toImage();
    EXPECT_NE(QColor(vista.pixel(100, 120)), fons);

    // "Imatge àrea" cancelled stores "" and keeps the stand-in.
    auto tancat = tancar_dialeg_modal();
    f->mn_zona_Click(3);
    EXPECT_TRUE(a.zones[1].imatge.isEmpty());
    EXPECT_EQ(f->picFlag, TelaZones::comodi());
}

TEST_F(EditorZones, AZoneFarBeyondTheScreenIsDrawnAndSelectedWithoutOverflow) {
    // A file may hold any 32-bit coordinates: this zone is wider than an int
    // can say, and covers the screen's middle band.
    afegir(-1500000000, 100, 1500000000, 300, png(QStringLiteral("vermell.png"), Qt::red));
    TelaZones* t = obrir();
    ASSERT_TRUE(t);
    const QImage vista = t->grab().toImage();
    EXPECT_EQ(QColor(vista.pixel(500, 200)), QColor(Qt::red));
    EXPECT_NE(QColor(vista.pixel(500, 400)), QColor(Qt::red));
    clic(t, QPoint(500, 200));
    ASSERT_EQ(f->zona_seleccionada(), 1);
    EXPECT_EQ(a.zones_max, 1);
    EXPECT_EQ(f->marc, (zona_rect{-32768, 100, 32767, 200}));
}

TEST_F(EditorZones, AFullZoneTableOpensWithTheWidgetsOfTwoZonesAndItsTopLabelAnswers) {
    afegir(100, 100, 300, 200);
    afegir(100, 100, 300, 200);
    auto widgets = [&] { return f->findChildren<QWidget*>().size(); };
    obrir();
    const auto editor = widgets();
    f->mn_zona_Click(4);
    const auto pagina = widgets();
    f.reset();
    // A file may hold 32,767 zones: half never drawn, the rest piled up.
    const zona pila = a.zones[1];
    a.zones.resize(32768, pila);
    std::fill(a.zones.begin() + 1, a.zones.begin() + 16384, zona{});
    a.zones_max = 32767;
    TelaZones* t = obrir();
    EXPECT_EQ(widgets(), editor);
    clic(t, etiqueta(32767));
    ASSERT_EQ(f->zona_seleccionada(), 32767);
    EXPECT_EQ(QColor(t->grab().toImage().pixel(etiqueta(32767) + QPoint(1, 1))), QColor(Qt::yellow));
    f->mn_zona_Click(4);
    EXPECT_EQ(widgets(), pagina);
}

TEST_F(EditorZones, A256thZoneIsRefusedWithAMessage) {
    for (int k = 1; k <= 255; ++k)
        afegir(k, 0, k + 6, 6);
    TelaZones* t = obrir();
    ASSERT_TRUE(t);
    auto resposta = respondre_missatge(QMessageBox::Ok);
    arrossegar(t, QPoint(100, 300), QPoint(200, 400));
    EXPECT_EQ(a.zones_max, 255);
    EXPECT_TRUE(resposta->vist);
    EXPECT_EQ(resposta->text, tradueix(QStringLiteral("zones|massa_zones")));
    EXPECT_FALSE(resposta->text.isEmpty());
}

TEST(EditorZonesPlanificador, CrearZonesOpensTheZoneEditorAndAcceptCloses) {
    idioma() = IDIOMA_CATALA;
    activitat() = Activitat{};
    planificador() = EstatPlanificador{};
    exercici_nou();
    auto f1 = std::make_unique<Form1>();
    ASSERT_TRUE(f1->Form_Load());
    planificar p(f1.get());
    p.Form_Load();
    bool vist = false;
    QTimer::singleShot(0, [&] {
        auto* f = qobject_cast<ACCIONS*>(QApplication::activeModalWidget());
        if (!f) return;
        vist = f->windowTitle() == text_idioma(78) && f->tela->isVisible() && !f->Frame1[5]->isVisible();
        EditorZones::arrossegar(f->tela, QPoint(50, 50), QPoint(150, 100));
        EditorZones::arrossegar(f->tela, QPoint(60, 60), QPoint(70, 75)); // moved, still selected
        f->mn_zona_Click(4);
    });
    p.mn_czones->trigger();
    EXPECT_TRUE(vist);
    ASSERT_EQ(activitat().zones_max, 1);
    EXPECT_EQ(activitat().zones[1], (zona{60, 65, 160, 115, {}}));
    EXPECT_EQ(activitat().exercici_modificat, CERT);
    EXPECT_FALSE(QApplication::activeModalWidget());
    p.close();
}
