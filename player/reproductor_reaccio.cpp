// The reaction player: one entry of a right or wrong reaction list, played
// order by order for the reaction time, then cleared.
#include "player/reproductor_reaccio.h"

#include "player/Form1.h"
#include "core/camins.h"
#include "core/llistes.h"
#include "platform/media.h"
#include "platform/pantalla.h"
#include "player/presentacio.h"
#include "platform/processos.h"
#include "platform/rellotge.h"
#include "core/vb.h"

#include <QSignalBlocker>

namespace lumi {

namespace {

ServeisReaccio serveis_defecte() {
    ServeisReaccio s;
    s.finestra_viva = [](int32_t h) { return h != 0 && plataforma::proces_viu(h); };
    return s;
}

float transcorregut(double t0) {
    return static_cast<float>(plataforma::rellotge().monotonic() - t0);
}

} // namespace

ServeisReaccio& serveis_reaccio() {
    static ServeisReaccio s = serveis_defecte();
    return s;
}

void restaurar_serveis_reaccio() {
    serveis_reaccio() = serveis_defecte();
}

std::vector<std::unique_ptr<QSignalBlocker>> Form1::retenir_temporitzadors() {
    std::vector<std::unique_ptr<QSignalBlocker>> blocs;
    for (QTimer* t : {t_web_control, Timer1, t_web, T_so, t_joystick, t_estimular})
        if (t) blocs.push_back(std::make_unique<QSignalBlocker>(t));
    return blocs;
}

void Form1::esperar_sense_entrada(double segons) {
    // Painting, media and launched programs go on; the learner's input waits
    // in the queue and the player's timers do not tick until the end.
    const auto retinguts = retenir_temporitzadors();
    plataforma::esperar(segons, QEventLoop::ExcludeUserInputEvents);
}

void Form1::fitxer_executa(const QString& entrada, float temps) {
    const Activitat& a = activitat();
    plataforma::Rellotge& rellotge = plataforma::rellotge();
    const uint64_t pantalla = generacio_pregunta;
    // A newer question prepared the screen while this reaction yielded: what
    // is on screen is no longer ours to play over or clear.
    auto superada = [&] { return tancada_per_ordre || generacio_pregunta != pantalla; };

    if (es_entrada_salvapantalles(entrada)) {
        Image1->show();
        const QString fitxer = part_recurs(entrada, 0);
        int32_t finestra = llancar_programa(fitxer, 1);
        const double t0 = rellotge.monotonic();
        do {
            plataforma::esperar(0.05);
            // Started again when it closed before its time; one that never
            // came up (no wine, no such file) is not launched again and again.
            if (finestra != 0 && !serveis_reaccio().finestra_viva(finestra))
                finestra = llancar_programa(fitxer, 1);
        } while (transcorregut(t0) <= temps && !superada());
    } else {
        QString resta = entrada;
        double t0 = rellotge.monotonic();
        // A slide show or a program restarts the clock once it has started
        // and is held for the whole time, with the main picture left hidden.
        auto esperar = [&] {
            t0 = rellotge.monotonic();
            esperar_des_de(t0, temps, superada);
        };
        bool avi = false;
        for (;;) {
            const QString ordre = seguent_ordre(resta);
            const ClasseOrdre classe = ordre_executa(ordre, temps, t0, esperar);
            if (classe == ClasseOrdre::activitat) {
                // Another activity: this run stops and that one starts from
                // here; nothing of this reaction goes on after it.
                exercici_atura();
                carregar_lrq(resoldre_fitxer(part_recurs(ordre, 0)));
                return;
            }
            if (classe == ClasseOrdre::text && !ordre.isEmpty()) {
                QString text = ruta_relativa(ordre);
                text_executa(text);
            }
            avi = avi || (classe == ClasseOrdre::media && tipus_de(ordre) == TipusFitxer::avi);
            // An order that waited has used up the time; the rest is not played.
            const bool esperat = classe == ClasseOrdre::peli || classe == ClasseOrdre::diapositives ||
                                 classe == ClasseOrdre::programa;
            if (esperat || superada()) break;
            if (transcorregut(t0) > temps) break;
            if (resta.isEmpty()) {
                // Orders used up: the rest of the time shows them as they are.
                // The player's timers wait for its end and the keys go to the
                // catching box, as in any answer; Esc stops the run at once,
                // which ends the wait.
                const auto retinguts = retenir_temporitzadors();
                esperar_des_de(t0, temps, superada);
                break;
            }
        }

        if (!superada()) {
            netejar_entrada();
            // The video area goes, whatever name the medium was opened under.
            if (avi) Picture1->hide();
            if (!a.fitxer_imatge_fons.isEmpty()) imatge_fons->show();
        }
    }

    if (!superada()) {
        Image1->show();
        if (a.items[0].ratoli[0] == 1) posar_cursor_client(QPoint(Image1->x() + 2, Image1->y() + 2));
    }
    plataforma::mostrar_cursor();
}

} // namespace lumi
