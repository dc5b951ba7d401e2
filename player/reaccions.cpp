// Reactions to a judged answer: the right and wrong reactions drawn from the
// item's lists, and the growing reward of a series under way.
#include "player/Form1.h"

#include "core/camins.h"
#include "core/idioma.h"
#include "core/informe.h"
#include "core/llistes.h"
#include "platform/pantalla.h"
#include "player/presentacio.h"
#include "platform/rellotge.h"
#include "player/reproductor_reaccio.h"
#include "core/vb.h"

namespace lumi {

namespace {

QString clau_reaccio(int i, int k) {
    return numero_text(i) + u'R' + numero_text(k);
}

// Position (from 0) of the entry drawn for item i, never the previous key's
// when there are two or more; -1 for an empty list.
int triar_posicio(int i, int n, QString& anterior) {
    if (n <= 0) return -1;
    int k = 0;
    int intents = 0;
    do {
        ++intents;
        const float r = static_cast<float>(n) * plataforma::atzar().seguent();
        k = std::clamp(static_cast<int>(part_entera(r)), 0, n - 1);
    } while (!(n < 2 || clau_reaccio(i, k) != anterior || intents > 100));
    anterior = clau_reaccio(i, k);
    return k;
}

QString entrada_llista(const QStringList& llista, int k) {
    return k >= 0 && k + 1 < llista.size() ? retallar(llista[k + 1]) : QString();
}

// A single sound, screen saver or activity file cannot be shown in parts.
bool serveix_per_serie(const QString& entrada) {
    if (entrada.contains(QChar(separador_ordres))) return true;
    const TipusFitxer t = tipus_de_nom(entrada);
    return t != TipusFitxer::scr && t != TipusFitxer::lrq && t != TipusFitxer::wav;
}

// Orders that play something rather than show it.
bool es_reproduccio(TipusFitxer tipus) {
    const ClasseOrdre c = classe_ordre(tipus);
    return (c != ClasseOrdre::imatge && c != ClasseOrdre::text) || tipus == TipusFitxer::scr;
}

int arrodonit(double v) {
    return static_cast<int>(arrodonir_parell(v));
}

void linia_detall(const QString& text) {
    informe_detall() += SALT_INFORME + hora_text(plataforma::rellotge().segons_dia()) + text;
}

} // namespace

void Form1::reaccio_be(int16_t i) {
    Activitat& a = activitat();
    Llistes& l = llistes();
    linia_detall(QStringLiteral("| BE "));
    carregar_llista_be(i);
    if (!plataforma::cursor_amagat()) plataforma::amagar_cursor();
    pantalla_prepara();
    const int k = triar_posicio(i, l.nombre_be, jugador().reaccio_be_anterior);
    const QString entrada = entrada_llista(l.llista_be, k);
    informe_detall() += entrada;
    const float temps = i >= 0 && i < static_cast<int>(a.items.size()) ? a.items[i].retard_be : 0.0f;
    fitxer_executa(entrada, temps);

    // The next question waits for a held key to be let go, but not forever:
    // a release can be lost. A stopped run asks nothing more.
    plataforma::cedir();
    const double t0 = plataforma::rellotge().monotonic();
    while (repeticions_tecla > 0 && exercici_en_marxa &&
           plataforma::rellotge().monotonic() - t0 < ESPERA_MAXIMA_TECLA)
        plataforma::esperar(0.02);
}

void Form1::reaccio_mal(int16_t i) {
    Activitat& a = activitat();
    Llistes& l = llistes();
    linia_detall(QStringLiteral("| mal "));
    carregar_llista_mal(i);
    if (!plataforma::cursor_amagat()) plataforma::amagar_cursor();
    pantalla_prepara();
    const int k = triar_posicio(i, l.nombre_mal, jugador().reaccio_mal_anterior);
    const QString entrada = entrada_llista(l.llista_mal, k);
    informe_detall() += entrada;
    const float temps = i >= 0 && i < static_cast<int>(a.items.size()) ? a.items[i].retard_mal : 0.0f;
    fitxer_executa(entrada, temps);
}

void Form1::reaccio_serie_be(int16_t i) {
    EstatJugador& jg = jugador();
    Llistes& l = llistes();
    linia_detall(QStringLiteral(" SERIE BE "));
    posar_cursor_client(QPoint(arrodonit(Image1->width() / 2.0 + jg.marge_x),
                               arrodonit(Image1->height() / 2.0 + jg.marge_y)));
    if (sequencia_parcial.isEmpty()) Image1->hide();

    QString entrada;
    if (reaccio_serie_pendent.isEmpty()) {
        carregar_llista_be(i);
        const int n = l.nombre_be;
        const int k = triar_posicio(i, n, jg.reaccio_be_anterior);
        if (k >= 0) {
            // From the drawn entry on, then from the first, for one that can
            // be shown in parts.
            int pos = k;
            int finals = 0;
            bool trobada = false;
            for (;;) {
                if (serveix_per_serie(entrada_llista(l.llista_be, pos))) {
                    trobada = true;
                    break;
                }
                if (++pos >= n) {
                    if (++finals == 2) break;
                    pos = 0;
                }
            }
            if (!trobada) return;
            reaccio_serie_pendent = entrada_llista(l.llista_be, pos);
        }
        entrada = reaccio_serie_pendent;
    } else {
        entrada = reaccio_serie_pendent;
    }

    const qsizetype p = entrada.indexOf(QChar(separador_ordres));
    const QString ordre = p >= 0 ? entrada.left(p) : entrada;
    const int P = static_cast<int>(sequencia_parcial.size());
    const int S = static_cast<int>(activitat().items[0].serie.size());
    const float f = S > 0 ? static_cast<float>(P) / static_cast<float>(S) : 0.0f;
    if (classe_ordre(tipus_de(ordre)) == ClasseOrdre::imatge)
        serie_imatge(ordre, f, P);
    else
        serie_text(ordre, P, S, f);
}

void Form1::serie_imatge(const QString& ordre, float f, int P) {
    QWidget* client = centralWidget();
    const int SW = client->width(), SH = client->height();
    const int16_t m = opcio_col_locacio(ordre);
    const QImage im = serveis_presentacio().carregar_imatge(part_recurs(ordre, 0));

    if (m == 1) {
        // The left part of the picture at its natural size, centred.
        Image2->setScaledContents(false);
        Image2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (!im.isNull()) Image2->setPixmap(QPixmap::fromImage(im));
        const QSize natural = Image2->pixmap().isNull() ? QSize(0, 0) : Image2->pixmap().size();
        const int w = arrodonit(natural.width() * static_cast<double>(f));
        const int h = natural.height();
        Image2->setGeometry(arrodonit((SW - w) / 2.0), arrodonit((SH - h) / 2.0), w, h);
        Image2->raise();
        if (!Label_par->isHidden()) Label_par->raise();
        Image2->show();
    } else {
        if (P == 3) {
            // First code: the picture is placed once and a curtain laid over it.
            imatge_mostrar(ordre);
            Label_par->setText(QString());
            Label_par->setGeometry(Image2->geometry());
            Label_par->show();
            Image2->raise();
            Label_par->raise();
            Image2->show();
        } else if (!im.isNull()) {
            // Later steps keep the rectangle of the first one.
            Image2->setScaledContents(true);
            Image2->setPixmap(QPixmap::fromImage(im));
        }
        const QRect caixa = Image2->geometry();
        const double descobert = caixa.width() * static_cast<double>(f);
        Label_par->setGeometry(arrodonit(caixa.x() + descobert), caixa.y(),
                               arrodonit(caixa.width() - descobert), caixa.height());
        Label_par->show();
        Label_par->raise();
    }
    client->update();
}

void Form1::serie_text(const QString& ordre, int P, int S, float f) {
    // Sounds, videos, programs and the like have no part to show; an empty
    // entry (no right reactions) shows nothing either.
    if (ordre.isEmpty() || es_reproduccio(tipus_de(ordre))) return;
    const ComandaText c = separar_comanda(ordre);
    if (c.te_separador && c.clau == text_idioma(10).toUpper()) {
        const std::optional<int32_t> color = a_enter32(valor_inicial(c.valor));
        Label_par->setText(QString());
        if (color) colors_label(*color, -1);
        Label_par->setGeometry(0, 0, arrodonit(width() * static_cast<double>(f)), height());
        Label_par->raise();
        Label_par->show();
        return;
    }
    const int n = S > 0 ? arrodonit(static_cast<double>(c.valor.size() * P) / S) : 0;
    QString tallat = c.te_separador ? c.clau + u'_' + c.valor.left(n) : c.valor.left(n);
    text_executa(tallat);
}

} // namespace lumi
