#include "actions/dimensionar.h"
#include "actions/model_accions.h"
#include "actions/model_zones.h"
#include "core/activitat.h"
#include "core/idioma.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace lumi;
using namespace lumi::dimensionar;

namespace {

const zona_rect MARC{64, 64, 217, 145};

// An activity whose zones 1..n are drawn, each with a picture of its own.
Activitat amb_zones(int n) {
    Activitat a;
    a.zones[0] = zona{0, 0, 1024, 768, QStringLiteral("fons.png")};
    for (int k = 1; k <= n; ++k)
        a.zones.push_back(zona{k * 10, k * 10, k * 10 + 40, k * 10 + 30, QStringLiteral("z%1.png").arg(k)});
    a.zones_max = static_cast<int16_t>(n);
    return a;
}

// The rectangle's edges: left, top, right, bottom.
std::array<int, 4> vores(const zona_rect& r) {
    return {r.x, r.y, r.x + r.amplada, r.y + r.alcada};
}

struct TaulaZones : ::testing::Test {
    void SetUp() override { idioma() = IDIOMA_CATALA; }
    void TearDown() override { idioma() = IDIOMA_CATALA; }
};

} // namespace

TEST(NansesZona, HitTestFindsEachHandleTheMarginAndTheInside) {
    // Corner handle 0 spans 57..61; the margin pixel beside it is no handle.
    EXPECT_EQ(nansa_buscar(MARC, 57, 57), 0);
    EXPECT_EQ(nansa_buscar(MARC, 61, 61), 0);
    EXPECT_EQ(nansa_buscar(MARC, 62, 62), NANSA_FORA);
    EXPECT_EQ(nansa_buscar(MARC, 56, 100), NANSA_FORA);
    // Both far edges belong to the inside.
    EXPECT_EQ(nansa_buscar(MARC, 64, 64), NANSA_DINS);
    EXPECT_EQ(nansa_buscar(MARC, 281, 209), NANSA_DINS);
    EXPECT_EQ(nansa_buscar(MARC, 282, 209), NANSA_FORA);
    EXPECT_EQ(nansa_buscar(MARC, 285, 60), 2);
    // cx = 64 + 108.5 - 2 = 170.5 -> 170; cy = 64 + 72.5 - 2 = 134.5 -> 134.
    EXPECT_EQ(nansa_buscar(MARC, 170, 57), 1);
    EXPECT_EQ(nansa_buscar(MARC, 174, 61), 1);
    EXPECT_EQ(nansa_buscar(MARC, 169, 57), NANSA_FORA);
    EXPECT_EQ(nansa_buscar(MARC, 175, 57), NANSA_FORA);
    EXPECT_EQ(nansa_buscar(MARC, 288, 134), 3);
    EXPECT_EQ(nansa_buscar(MARC, 288, 133), NANSA_FORA);
    EXPECT_EQ(nansa_buscar(MARC, 284, 212), 4);
    EXPECT_EQ(nansa_buscar(MARC, 288, 216), 4);
    EXPECT_EQ(nansa_buscar(MARC, 289, 216), NANSA_FORA);
    EXPECT_EQ(nansa_buscar(MARC, 283, 212), NANSA_FORA);
    EXPECT_EQ(nansa_buscar(MARC, 172, 214), 5);
    EXPECT_EQ(nansa_buscar(MARC, 57, 216), 6);
    EXPECT_EQ(nansa_buscar(MARC, 61, 138), 7);
    EXPECT_EQ(nansa_buscar(MARC, 61, 139), NANSA_FORA);

    // The middle handles round halves to the even pixel, below zero too.
    EXPECT_EQ(caixa_nansa({10, 0, 5, 20}, 1).esquerra, 10);   // 10.5
    EXPECT_EQ(caixa_nansa({10, 0, 7, 20}, 1).esquerra, 12);   // 11.5
    EXPECT_EQ(caixa_nansa({-10, 0, 5, 20}, 5).esquerra, -10); // -9.5
    EXPECT_EQ(caixa_nansa({0, 10, 20, 5}, 3).dalt, 10);
    EXPECT_EQ(nansa_buscar({10, 10, 5, 30}, 14, 3), 1);
    EXPECT_EQ(nansa_buscar({10, 10, 5, 30}, 9, 3), NANSA_FORA);

    // Opposite corners share a pointer; the inside moves, the rest points.
    EXPECT_EQ(punter(nansa_buscar(MARC, 57, 57)), Qt::SizeFDiagCursor);
    EXPECT_EQ(punter(nansa_buscar(MARC, 286, 214)), Qt::SizeFDiagCursor);
    EXPECT_EQ(punter(nansa_buscar(MARC, 285, 60)), Qt::SizeBDiagCursor);
    EXPECT_EQ(punter(nansa_buscar(MARC, 59, 214)), Qt::SizeBDiagCursor);
    EXPECT_EQ(punter(nansa_buscar(MARC, 172, 59)), Qt::SizeVerCursor);
    EXPECT_EQ(punter(nansa_buscar(MARC, 59, 136)), Qt::SizeHorCursor);
    EXPECT_EQ(punter(nansa_buscar(MARC, 100, 100)), Qt::SizeAllCursor);
    EXPECT_EQ(punter(nansa_buscar(MARC, 0, 0)), Qt::ArrowCursor);

    // Edge sums are taken wide: a far right edge past 16 bits still counts.
    EXPECT_TRUE(punt_dins_rect({32000, 0, 32000, 10}, 40000, 5));
    EXPECT_FALSE(punt_dins_rect({32000, 0, 32000, 10}, 31999, 5));
}

TEST(NansesZona, PaintedHandlesCoverExactlyTheHitBoxes) {
    for (const zona_rect r : {MARC, zona_rect{20, 30, 7, 5}}) {
        QImage img(400, 300, QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            zona_dibuixar_nanses(r, p);
        }
        const auto negre = [&](int px, int py) { return img.pixel(px, py) == qRgb(0, 0, 0); };
        const int dreta = r.x + r.amplada, baix = r.y + r.alcada;
        int marc_negre = 0;
        for (int py = r.y - 10; py <= baix + 10; ++py) {
            for (int px = r.x - 10; px <= dreta + 10; ++px) {
                const int n = nansa_buscar(r, px, py);
                const bool al_marc = (px == r.x || px == dreta) && py >= r.y && py <= baix;
                const bool al_marc_h = (py == r.y || py == baix) && px >= r.x && px <= dreta;
                if (al_marc || al_marc_h) {
                    marc_negre += negre(px, py);
                    continue;
                }
                EXPECT_EQ(negre(px, py), n >= 0 && n <= 7) << px << "," << py << " handle " << n;
            }
        }
        // The frame is dotted: partly drawn, never solid.
        const int perimetre = 2 * (r.amplada + r.alcada);
        EXPECT_GT(marc_negre, perimetre / 4);
        EXPECT_LT(marc_negre, perimetre);
    }
}

TEST(NansesZona, DragsKeepTheOppositeEdgesAndAtLeastOnePixel) {
    // The right-middle handle: the edge lands one pixel past the pointer.
    EXPECT_EQ(moure(MARC, 3, 300, 120, 0, 0), (zona_rect{64, 64, 237, 145}));
    EXPECT_EQ(moure(MARC, 0, 40, 50, 0, 0), (zona_rect{40, 50, 241, 159}));

    // The top-left corner is held before the bottom-right one.
    const Caixa c0 = retall_arrossegar(MARC, 0, 1024, 768);
    EXPECT_EQ(c0, (Caixa{0, 0, 281, 209}));
    const QPoint p0 = dins_retall(c0, 900, 700);
    EXPECT_EQ(p0, QPoint(280, 208));
    EXPECT_EQ(moure(MARC, 0, p0.x(), p0.y(), 0, 0), (zona_rect{280, 208, 1, 1}));

    // Every handle dragged as far as the pointer can go, each way: only its
    // own edges move, the size stays at least 1 and the edges on screen.
    const int W = 800, H = 600;
    const std::array<std::array<bool, 4>, 8> mou{{{true, true, false, false},
                                                  {false, true, false, false},
                                                  {false, true, true, false},
                                                  {false, false, true, false},
                                                  {false, false, true, true},
                                                  {false, false, false, true},
                                                  {true, false, false, true},
                                                  {true, false, false, false}}};
    for (const zona_rect r :
         {MARC, zona_rect{700, 500, 99, 99}, zona_rect{0, 0, 1, 1}, zona_rect{0, 0, 800, 600},
          zona_rect{700, 500, 300, 200}, zona_rect{-50, -20, 217, 145}}) {
        for (int n = 0; n < 8; ++n) {
            for (const QPoint desti : {QPoint(-5000, -5000), QPoint(5000, 5000), QPoint(-5000, 5000),
                                       QPoint(5000, -5000), QPoint(400, 300)}) {
                const QPoint p = dins_retall(retall_arrossegar(r, n, W, H), desti.x(), desti.y());
                const zona_rect m = moure(r, n, p.x(), p.y(), 0, 0);
                SCOPED_TRACE(::testing::Message() << "handle " << n << " from " << r.x << "," << r.y << " to "
                                                  << desti.x() << "," << desti.y());
                EXPECT_GE(m.amplada, 1);
                EXPECT_GE(m.alcada, 1);
                const auto abans = vores(r), despres = vores(m);
                for (int e = 0; e < 4; ++e) {
                    if (!mou[n][e]) {
                        EXPECT_EQ(despres[e], abans[e]) << "edge " << e;
                    } else {
                        EXPECT_GE(despres[e], 0) << "edge " << e;
                        EXPECT_LE(despres[e], e % 2 ? H : W) << "edge " << e;
                    }
                }
            }
        }
    }
    // Far right and bottom: the edges reach the window's, no further.
    const zona_rect vora{700, 500, 99, 99};
    const QPoint p4 = dins_retall(retall_arrossegar(vora, 4, W, H), 5000, 5000);
    EXPECT_EQ(moure(vora, 4, p4.x(), p4.y(), 0, 0), (zona_rect{700, 500, 100, 100}));

    // A move holds only the pointer: grabbed 50 from the left, the zone goes
    // past the window's left edge; to the far right it leaves the window.
    const Caixa c8 = retall_arrossegar(MARC, NANSA_DINS, W, H);
    EXPECT_EQ(c8, (Caixa{0, 0, W, H}));
    const QPoint esq = dins_retall(c8, -300, -300);
    EXPECT_EQ(moure(MARC, NANSA_DINS, esq.x(), esq.y(), 50, 20), (zona_rect{-50, -20, 217, 145}));
    const QPoint dre = dins_retall(c8, 5000, 5000);
    EXPECT_EQ(moure(MARC, NANSA_DINS, dre.x(), dre.y(), 50, 20), (zona_rect{749, 579, 217, 145}));
    // Results beyond 16 bits are clamped, not wrapped.
    EXPECT_EQ(moure(MARC, NANSA_DINS, -32700, 0, 100, 0).x, -32768);
    EXPECT_EQ(moure({32000, 0, 10, 10}, 3, 40000, 0, 0, 0).amplada, 8001);
    EXPECT_EQ(moure({-32000, 0, 10, 10}, 3, 32000, 0, 0, 0).amplada, 32767);
}

TEST_F(TaulaZones, NewZonesFillTheFirstFreeSlotAndSmallOnesAreNotMade) {
    Activitat buida;
    EXPECT_EQ(busca_zona(buida), 1);
    EXPECT_EQ(zona_nova(buida, 10, 10, 15, 15), 1); // 5 x 5 is enough
    EXPECT_EQ(buida.zones_max, 1);

    Activitat a = amb_zones(3);
    a.zones[2] = zona{0, 0, 0, 0, QStringLiteral("vell.png")};
    EXPECT_EQ(busca_zona(a), 2);
    EXPECT_EQ(zona_nova(a, 100, 100, 160, 140), 2);
    EXPECT_EQ(a.zones_max, 3);
    EXPECT_EQ(a.zones[2], (zona{100, 100, 160, 140, QString()}));
    EXPECT_EQ(zona_nova(a, 100, 100, 160, 140), 4);
    EXPECT_EQ(a.zones_max, 4);
    ASSERT_EQ(a.zones.size(), 5u);

    const Activitat abans = a;
    EXPECT_EQ(zona_nova(a, 10, 10, 14, 60), 0); // 4 wide
    EXPECT_EQ(zona_nova(a, 10, 10, 60, 14), 0); // 4 high
    EXPECT_EQ(zona_nova(a, 60, 60, 10, 10), 0); // drawn up and left
    EXPECT_EQ(zona_nova(a, 10, 60, 60, 10), 0); // drawn up
    EXPECT_EQ(a.zones, abans.zones);
    EXPECT_EQ(a.zones_max, abans.zones_max);

    // A moved zone whose edges cancel out counts as free, as files expect.
    a.zones[3] = zona{-20, -10, 20, 10, {}};
    EXPECT_EQ(busca_zona(a), 3);

    // The rectangle a selection edits, and back; sums taken wide.
    const zona_rect m = marc_de(a.zones[1]);
    EXPECT_EQ(m, (zona_rect{10, 10, 40, 30}));
    zona z;
    desar_marc(z, {32000, -5, 32000, 10});
    EXPECT_EQ(z, (zona{32000, -5, 64000, 5, {}}));
    EXPECT_EQ(marc_de(zona{0, 0, 70000, 40, {}}), (zona_rect{0, 0, 32767, 40}));
}

TEST_F(TaulaZones, DeleteAndWholeScreenKeepTheNumbersItemsUse) {
    Activitat a = amb_zones(4);
    const zona quarta = a.zones[4];
    EXPECT_TRUE(esborrar_zona(a, 3, 2));
    EXPECT_EQ(a.zones_max, 3);
    ASSERT_EQ(a.zones.size(), 4u);
    EXPECT_EQ(a.zones[3], quarta);
    const Activitat abans = a;
    EXPECT_FALSE(esborrar_zona(a, 2, 2));
    EXPECT_FALSE(esborrar_zona(a, 1, 2));
    // No zone selected, or a number past the table: nothing happens.
    EXPECT_FALSE(esborrar_zona(a, 0, -1));
    EXPECT_FALSE(esborrar_zona(a, 4, -1));
    EXPECT_FALSE(esborrar_zona(a, -1, -1));
    EXPECT_EQ(a.zones, abans.zones);
    EXPECT_EQ(a.zones_max, abans.zones_max);

    // No item names a zone: every one can go.
    while (a.zones_max > 0)
        ASSERT_TRUE(esborrar_zona(a, 1, -1));
    EXPECT_EQ(a.zones.size(), 1u);

    EXPECT_EQ(tota_la_pantalla(a), 1);
    EXPECT_EQ(a.zones_max, 1);
    EXPECT_EQ(a.zones[1], a.zones[0]);
}

TEST_F(TaulaZones, SubdivideCutsFloorSizedCellsRowByRow) {
    EXPECT_EQ(compte_barra(15), 1);
    EXPECT_EQ(compte_barra(1), 15);
    EXPECT_EQ(compte_barra(10), 6);

    Activitat a = amb_zones(1);
    a.zones[1] = zona{10, 20, 110, 70, QStringLiteral("z1.png")};
    ASSERT_EQ(subdividir(a, 1, 3, 2, -1), Subdivisio::feta);
    ASSERT_EQ(a.zones_max, 6);
    ASSERT_EQ(a.zones.size(), 7u);
    for (int k = 1; k <= 6; ++k) {
        const int col = (k - 1) % 3, fila = (k - 1) / 3;
        const int l = 10 + col * 33, t = 20 + fila * 25;
        EXPECT_EQ(a.zones[k], (zona{l, t, l + 33, t + 25, {}})) << "cell " << k;
    }

    // Zone 2 of 4 used by an item: it stays zone 2 with its picture, the
    // second cell goes to the end.
    const Activitat quatre = amb_zones(4);
    a = quatre;
    ASSERT_EQ(subdividir(a, 2, 2, 1, 3), Subdivisio::feta);
    EXPECT_EQ(a.zones_max, 5);
    EXPECT_EQ(a.zones[2], (zona{20, 20, 40, 50, QStringLiteral("z2.png")}));
    EXPECT_EQ(a.zones[3], quatre.zones[3]);
    EXPECT_EQ(a.zones[4], quatre.zones[4]);
    EXPECT_EQ(a.zones[5], (zona{40, 20, 60, 50, {}}));

    // Unused: it leaves the table, the later zones move down, the cells follow.
    a = quatre;
    ASSERT_EQ(subdividir(a, 2, 2, 1, 1), Subdivisio::feta);
    EXPECT_EQ(a.zones_max, 5);
    EXPECT_EQ(a.zones[1], quatre.zones[1]);
    EXPECT_EQ(a.zones[2], quatre.zones[3]);
    EXPECT_EQ(a.zones[3], quatre.zones[4]);
    EXPECT_EQ((std::array{a.zones[4].esquerra, a.zones[4].dreta, a.zones[5].esquerra, a.zones[5].dreta}),
              (std::array{20, 40, 40, 60}));

    // One cell of the zone items name last leaves it as it was.
    a = quatre;
    ASSERT_EQ(subdividir(a, 4, 1, 1, 4), Subdivisio::feta);
    EXPECT_EQ(a.zones, quatre.zones);

    // A used zone keeps its number even with a free slot before it.
    a = quatre;
    a.zones[1] = zona{};
    ASSERT_EQ(subdividir(a, 3, 1, 2, 3), Subdivisio::feta);
    EXPECT_EQ(a.zones[3], (zona{30, 30, 70, 45, QStringLiteral("z3.png")}));
    EXPECT_EQ(a.zones[1], (zona{30, 45, 70, 60, {}}));
    EXPECT_EQ(a.zones_max, 4);
}

TEST_F(TaulaZones, SubdivideRefusesNoSelectionEmptyCellsAndAFullTable) {
    Activitat a = amb_zones(2);
    a.zones[2] = zona{10, 10, 12, 40, {}}; // 2 pixels wide
    const Activitat abans = a;
    EXPECT_EQ(subdividir(a, 0, 2, 2, -1), Subdivisio::sense_seleccio);
    EXPECT_EQ(subdividir(a, 3, 2, 2, -1), Subdivisio::sense_seleccio);
    EXPECT_EQ(subdividir(a, 2, 3, 1, -1), Subdivisio::cel_la_buida);
    EXPECT_EQ(subdividir(a, 1, 1, 31, -1), Subdivisio::cel_la_buida); // 30 high
    EXPECT_EQ(a.zones, abans.zones);
    EXPECT_EQ(a.zones_max, abans.zones_max);
    EXPECT_EQ(subdividir(a, 2, 2, 1, -1), Subdivisio::feta);

    // Two hex digits name at most zone 255: no 256th zone, however made.
    Activitat plena = amb_zones(250);
    ASSERT_EQ(subdividir(plena, 250, 3, 2, 250), Subdivisio::feta);
    ASSERT_EQ(plena.zones_max, ZONES_MAXIMES);
    const Activitat tota = plena;
    EXPECT_EQ(zona_nova(plena, 0, 0, 100, 100), -1);
    EXPECT_EQ(tota_la_pantalla(plena), -1);
    EXPECT_EQ(subdividir(plena, 1, 2, 1, 1), Subdivisio::massa_zones);
    EXPECT_EQ(plena.zones, tota.zones);
    EXPECT_EQ(plena.zones_max, ZONES_MAXIMES);
    // A free slot is still taken.
    ASSERT_TRUE(esborrar_zona(plena, 255, 100));
    plena.zones[7] = zona{};
    EXPECT_EQ(zona_nova(plena, 0, 0, 100, 100), 7);
    EXPECT_EQ(zona_nova(plena, 0, 0, 100, 100), 255);
}

TEST_F(TaulaZones, HighestUsedZoneCountsListsAndSeries) {
    Activitat a = amb_zones(20);
    a.nombre_items = 2;
    a.items.assign(3, item{});
    item editat;
    EXPECT_EQ(calcula_zones_ultim(a, editat, {}), -1);

    editat.zones_ratoli = QStringLiteral("H00");
    EXPECT_EQ(calcula_zones_ultim(a, editat, {}), 0);
    a.items[2].zones_web = QStringLiteral("W01W03");
    EXPECT_EQ(calcula_zones_ultim(a, editat, {}), 3);
    // A number past the table names no zone; lower ones still count.
    a.items[1].zones_ratoli = QStringLiteral("H02H1FH05");
    EXPECT_EQ(calcula_zones_ultim(a, editat, {}), 5);

    // Codes in a stored series.
    a.items[1].serie = QStringLiteral("M02Z07H1E");
    EXPECT_EQ(calcula_zones_ultim(a, editat, {}), 7);
    a.items[2].serie = QStringLiteral("W0BM01");
    EXPECT_EQ(calcula_zones_ultim(a, editat, {}), 11);
    // Up, right and left share their codes with zones 10, 13 and 14.
    a.items[2].serie = QStringLiteral("W0E");
    EXPECT_EQ(calcula_zones_ultim(a, editat, {}), 14);
    a.items[2].serie = QStringLiteral("W0A");
    EXPECT_EQ(calcula_zones_ultim(a, editat, {}), 10);
    // Diagonals, down and the click codes are no zones, whatever the table.
    a.zones = amb_zones(250).zones;
    a.zones_max = 250;
    a.items[1].zones_ratoli.clear();
    a.items[2].serie = QStringLiteral("WAEWADWRDWREW0RWC1WC2");
    EXPECT_EQ(calcula_zones_ultim(a, editat, {}), 7);
    QString no_zones;
    for (int i : {1, 2, 3, 5, 7, 8, 9})
        no_zones += token_web(i);
    EXPECT_EQ(calcula_zones_ultim(a, editat, no_zones), 7);
    EXPECT_EQ(calcula_zones_ultim(a, editat, no_zones + token_web(6)), 13);

    // The item being edited holds its series, and the edited text, as
    // action text.
    editat.serie = token_zona(9, false);
    EXPECT_EQ(calcula_zones_ultim(a, editat, {}), 9);
    EXPECT_EQ(calcula_zones_ultim(a, editat, token_zona(200, true) + QStringLiteral("ab")), 200);
}

TEST_F(TaulaZones, ASeriesReferenceBlocksTheDeletionOfItsZone) {
    Activitat a = amb_zones(6);
    a.nombre_items = 1;
    a.items.assign(2, item{});
    a.items[1].serie = QStringLiteral("M02Z05");
    const int ultima = calcula_zones_ultim(a, item{}, {});
    EXPECT_FALSE(esborrar_zona(a, 5, ultima));
    EXPECT_EQ(a.zones_max, 6);
    EXPECT_EQ(subdividir(a, 5, 2, 1, ultima), Subdivisio::feta);
    EXPECT_EQ(a.zones[5].imatge, QStringLiteral("z5.png")); // kept its slot
    EXPECT_TRUE(esborrar_zona(a, 6, ultima));

    // A sound-level code holds any character of its range: level 97 is "ß",
    // which upper-cases to two letters. The zone after it still counts.
    a.items[1].serie = QStringLiteral("S") + QChar(0xDF) + QChar(0xE2) + QStringLiteral("Z04M01");
    EXPECT_EQ(calcula_zones_ultim(a, item{}, {}), 4);

    // The same for a webcam zone that only the edited series text names.
    Activitat b = amb_zones(14);
    const int ultima_web = calcula_zones_ultim(b, item{}, token_zona(12, true));
    EXPECT_FALSE(esborrar_zona(b, 12, ultima_web));
    EXPECT_TRUE(esborrar_zona(b, 13, ultima_web));
    // "Web up" is zone 10's code: zone 10 stays.
    EXPECT_EQ(calcula_zones_ultim(b, item{}, token_web(4)), 10);
}
