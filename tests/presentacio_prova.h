// A player window on a fixed 1024 x 768 client area with recording services,
// an injected clock and random source, for the presentation tests.
#pragma once

#include "player/Flash.h"
#include "player/Form1.h"
#include "core/activitat.h"
#include "core/idioma.h"
#include "core/informe.h"
#include "platform/instancia.h"
#include "platform/media_sintetic.h"
#include "player/presentacio.h"
#include "platform/presentacions.h"
#include "platform/rellotge_sintetic.h"

#include <QApplication>
#include <QMenuBar>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace lumi::proves {

// Advances a little at every reading, so waits end after a few passes.
struct RellotgeFals : plataforma::RellotgeSintetic {
    RellotgeFals() {
        t = 100.0;
        dia = 36000.0 + t;
        pas = 0.05;
    }
};

// Gives the scripted numbers over and over.
struct AtzarFix : plataforma::AtzarSintetic {
    int& usats = demanats;
    AtzarFix() { ciclic = true; }
};

using MciGravadora = plataforma::MciSintetic;

struct FinestraProva : ::testing::Test {
    RellotgeFals rellotge;
    AtzarFix atzar;
    MciGravadora mci;
    QStringList crides; // what the services were asked, in order
    std::unique_ptr<Form1> f;

    void SetUp() override {
        activitat() = Activitat{};
        jugador() = EstatJugador{};
        llistes() = Llistes{};
        informe_detall().clear();
        idioma() = IDIOMA_CATALA;
        plataforma::posar_rellotge(&rellotge);
        plataforma::posar_atzar(&atzar);
        plataforma::posar_mci(&mci);
        ServeisPresentacio& s = serveis_presentacio();
        s.reproduir_so = [this](const QString& x) { crides << QStringLiteral("so ") + x; };
        s.reproduir_media = [this](const QString& x) { crides << QStringLiteral("media ") + x; };
        s.executar_programa = [this](const QString& x, int16_t m) {
            crides << QStringLiteral("executar %1 %2").arg(x).arg(m);
            return 77;
        };
        s.tancar_finestra = [this](int32_t h) { crides << QStringLiteral("tancar %1").arg(h); };
        // "p400x200.jpg" is a 400 x 200 picture; names without a size do not load.
        s.carregar_imatge = [this](const QString& x) {
            crides << QStringLiteral("imatge ") + x;
            const auto m = QRegularExpression(QStringLiteral("(\\d+)x(\\d+)")).match(x);
            if (!m.hasMatch()) return QImage();
            QImage im(m.captured(1).toInt(), m.captured(2).toInt(), QImage::Format_RGB32);
            im.fill(Qt::green);
            return im;
        };
        f = std::make_unique<Form1>();
        ASSERT_TRUE(f->Form_Load());
        jugador().estat_finestra = 1; // already activated: no start dialog
        f->menuBar()->hide();
        f->resize(1024, 768);
        f->show();
        QApplication::processEvents();
        ASSERT_EQ(f->centralWidget()->size(), QSize(1024, 768));
        activitat().items.resize(3);
        activitat().nombre_items = 2;
    }
    void TearDown() override {
        f.reset();
        plataforma::alliberar_instancia_unica();
        serveis_presentacio() = serveis_presentacio_reals();
        plataforma::posar_rellotge(nullptr);
        plataforma::posar_atzar(nullptr);
        plataforma::posar_mci(nullptr);
        plataforma::posar_fabrica_presentacions({});
        idioma() = IDIOMA_CATALA;
        activitat() = Activitat{};
    }

    // Item i with one stimulus entry (orders joined by "»").
    static void posar_estimul(int i, const QString& entrada, float retard) {
        activitat().items[i].estimuls = QStringLiteral("1\u00bb") + entrada;
        activitat().items[i].retard_estimul = retard;
    }
    void text(const QString& o) {
        QString c = o;
        f->text_executa(c);
    }
};

inline QString sep() {
    return QString(QChar(0xBB));
}

} // namespace lumi::proves
