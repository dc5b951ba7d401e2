// One stimulus of an item, presented order by order, and the screen's resting
// state before a stimulus or a reaction.
#include "player/presentacio.h"

#include "player/Flash.h"
#include "player/Form1.h"
#include "comuns/formulari.h"
#include "core/camins.h"
#include "platform/imatges.h"
#include "core/informe.h"
#include "core/llistes.h"
#include "platform/media.h"
#include "comuns/media_jugar.h"
#include "platform/pantalla.h"
#include "comuns/programes.h"
#include "platform/rellotge.h"
#include "core/vb.h"

#include <QColor>
#include <QDateTime>
#include <QFileInfo>
#include <QFont>
#include <QPixmap>
#include <QStringList>
#include <cmath>
#include <deque>
#include <functional>

namespace lumi {

// ---- Pure helpers ----

QString seguent_ordre(QString& resta) {
    QString ordre;
    const qsizetype p = resta.indexOf(QChar(separador_ordres));
    if (p >= 0) {
        ordre = resta.left(p);
        resta = resta.mid(p + 1);
    } else {
        ordre = resta;
        resta.clear();
    }
    return ordre;
}

ClasseOrdre classe_ordre(TipusFitxer t) {
    if (t == TipusFitxer::swf) return ClasseOrdre::peli;
    if (t == TipusFitxer::pps || t == TipusFitxer::ppt) return ClasseOrdre::diapositives;
    if (t == TipusFitxer::exe) return ClasseOrdre::programa;
    if (t == TipusFitxer::lrq) return ClasseOrdre::activitat;
    if (t == TipusFitxer::wav) return ClasseOrdre::so;
    if (t == TipusFitxer::mid || t == TipusFitxer::mp3 || t == TipusFitxer::avi) return ClasseOrdre::media;
    return es_dibuix(t) ? ClasseOrdre::imatge : ClasseOrdre::text;
}

bool es_entrada_salvapantalles(const QString& entrada) {
    return !entrada.contains(QChar(separador_ordres)) && tipus_de_nom(entrada) == TipusFitxer::scr;
}

int16_t opcio_col_locacio(const QString& ordre) {
    const QString opcions = part_recurs(ordre, 1);
    if (opcions.isEmpty()) return 1;
    const QStringList parts = opcions.split(u':');
    for (const QString& o : parts) {
        if (!o.startsWith(u'P')) continue;
        // Only the first "P" option counts; a number that does not fit leaves 1.
        const auto m = a_enter16(valor_inicial(o.mid(2)));
        return m ? *m : int16_t{1};
    }
    return 1;
}

namespace {
int rodo(double v) {
    return static_cast<int>(arrodonir_parell(v));
}
} // namespace

Col_locacio col_locacio_imatge(QSize finestra, QSize natural, int m) {
    const int sw = finestra.width(), sh = finestra.height();
    const int w = natural.width(), h = natural.height();
    if (m == 1) {
        if (w > sw || h > sh) return {QRect(0, 0, sw, sh), true};
        return {QRect(rodo((sw - w) / 2.0), rodo((sh - h) / 2.0), w, h), false};
    }
    if (m == 100) return {QRect(0, 0, sw, sh), true};
    // An empty picture has no proportions: an empty box in the middle.
    if (w <= 0 || h <= 0) return {QRect(rodo(sw / 2.0), rodo(sh / 2.0), 0, 0), true};
    int a = rodo(sw * static_cast<double>(m) / 100.0);
    int b = rodo(h * static_cast<double>(a) / w);
    const float per_alt = static_cast<float>(sh) / static_cast<float>(h);
    const float per_ample = static_cast<float>(sw) / static_cast<float>(w);
    if (per_alt < per_ample) {
        b = rodo(sh * static_cast<double>(m) / 100.0);
        a = rodo(w * static_cast<double>(b) / h);
    }
    return {QRect(rodo((sw - a) / 2.0), rodo((sh - b) / 2.0), std::max(a, 0), std::max(b, 0)), true};
}

QPointF posicio_text(LlocText lloc, QSize finestra, QSize label, float r1, float r2) {
    const double sw = finestra.width(), sh = finestra.height();
    const double w = label.width(), h = label.height();
    switch (lloc) {
    case LlocText::Capcalera:
        return {(sw - w) / 2, sh * 0.1};
    case LlocText::Centrat:
        return {(sw - w) / 2, (sh - h) / 2};
    case LlocText::Peu:
        return {(sw - w) / 2, (sh - h) * 0.9};
    case LlocText::Atzar:
        return {(sw - w) * r1, (sh - h) * r2};
    }
    return {};
}

ComandaText separar_comanda(const QString& ordre) {
    const qsizetype k = ordre.indexOf(u'_');
    if (k < 0) return {QString(), ordre, false};
    return {ordre.left(k), ordre.mid(k + 1), true};
}

namespace {

// A run shows the same few pictures again and again (a question and its
// reactions): the last ones read are kept while their files stay as they
// were, so an answer's reaction is not read from the disk each time.
QImage imatge_recent(const QString& fitxer) {
    struct Recent {
        QString cami;
        QDateTime modificat;
        qint64 mida;
        QImage imatge;
    };
    static std::deque<Recent> recents;
    constexpr size_t MAXIM = 4;
    const QFileInfo fi(fitxer);
    for (const Recent& r : recents)
        if (r.cami == fitxer && r.modificat == fi.lastModified() && r.mida == fi.size()) return r.imatge;
    QImage im = plataforma::carregar_imatge(fitxer);
    if (im.isNull()) return im;
    recents.push_front({fitxer, fi.lastModified(), fi.size(), im});
    if (recents.size() > MAXIM) recents.pop_back();
    return im;
}

} // namespace

ServeisPresentacio serveis_presentacio_reals() {
    ServeisPresentacio s;
    s.reproduir_so = [](const QString& f) { reproduir_so(f); };
    s.reproduir_media = [](const QString& f) {
        QString c = f;
        reproduir_media(c);
    };
    s.executar_programa = [](const QString& f, int16_t mostrar) {
        return executar_programa(f, mostrar).finestra;
    };
    s.tancar_finestra = [](int32_t h) { tancar_finestra(h); };
    s.carregar_imatge = [](const QString& f) { return imatge_recent(resoldre_fitxer(f)); };
    return s;
}

ServeisPresentacio& serveis_presentacio() {
    static ServeisPresentacio s = serveis_presentacio_reals();
    return s;
}

// ---- The player window ----

void esperar_des_de(double t0, double segons, const std::function<bool()>& acabat) {
    plataforma::Rellotge& r = plataforma::rellotge();
    do {
        const double resta = t0 + segons - r.monotonic();
        plataforma::esperar(std::clamp(resta, 0.0, 0.05));
    } while (r.monotonic() < t0 + segons && !(acabat && acabat()));
}

namespace {

QString nom_color(int32_t color_vb) {
    return color_desat(color_vb).name();
}

} // namespace

void Form1::color_finestra(int32_t c) {
    QWidget* client = centralWidget();
    QPalette p = client->palette();
    // Set again at every question and reaction: only a change is applied,
    // as applying restyles the whole window.
    if (p.color(QPalette::Window) != color_desat(c) || !client->autoFillBackground()) {
        p.setColor(QPalette::Window, color_desat(c));
        client->setPalette(p);
        client->setAutoFillBackground(true);
    }
    client->setProperty("color_vb", c);
}

void Form1::colors_label(int32_t fons, int32_t text) {
    if (fons >= 0) Label_par->setProperty("fons_vb", fons);
    if (text >= 0) Label_par->setProperty("text_vb", text);
    const QVariant f = Label_par->property("fons_vb");
    const QVariant t = Label_par->property("text_vb");
    const QString estil =
        QStringLiteral("background-color: %1; color: %2;")
            .arg(nom_color(f.isValid() ? f.toInt() : 0xFFFFFF), nom_color(t.isValid() ? t.toInt() : 0));
    if (Label_par->styleSheet() != estil) Label_par->setStyleSheet(estil);
}

void Form1::fons_mostrar(const QImage& im) {
    QWidget* client = centralWidget();
    imatge_fons->setPixmap(QPixmap::fromImage(im));
    imatge_fons->setScaledContents(true);
    imatge_fons->setGeometry(0, 0, client->width(), client->height());
    imatge_fons->lower();
    imatge_fons->show();
}

void Form1::pantalla_prepara() {
    // A movie of an older question must not cover the new one.
    Flash::amagar_totes();
    const Activitat& a = activitat();
    ServeisPresentacio& s = serveis_presentacio();

    Image1->hide();
    Image2->hide();
    Label_par->hide();
    Image2->clear();

    color_finestra(a.color_fons);
    colors_label(a.color_fons, a.font.color);
    QFont f = Label_par->font();
    if (!a.font.nom.isEmpty()) f.setFamily(a.font.nom);
    if (a.font.mida > 0) f.setPointSize(a.font.mida);
    f.setBold(a.font.negreta != 0);
    f.setItalic(a.font.cursiva != 0);
    Label_par->setFont(f);

    QWidget* client = centralWidget();
    if (!a.fitxer_imatge_fons.isEmpty()) {
        const QImage im = s.carregar_imatge(a.fitxer_imatge_fons);
        // An unreadable background abandons the rest of the preparation.
        if (im.isNull()) return;
        fons_mostrar(im);
    } else {
        imatge_fons->clear();
    }

    ImatgesZones imatges(s.carregar_imatge);
    for (int j = 1; j <= zona_darrera(a); ++j) {
        const zona& z = a.zones[j];
        if (!zona_dibuixada(z)) continue;
        if (j >= I_zona->nombre()) return;
        const QPixmap& im = imatges(z.imatge);
        if (im.isNull() && !z.imatge.isEmpty()) return;
        I_zona->posar_imatge(j, im);
    }

    const EstatJugador& jg = jugador();
    if (isVisible()) {
        plataforma::posar_cursor(client->mapToGlobal(
            QPoint(rodo(Image1->width() / 2.0 + jg.marge_x), rodo(Image1->height() / 2.0 + jg.marge_y))));
    }
}

void Form1::imatge_mostrar(const QString& ordre) {
    const QImage im = serveis_presentacio().carregar_imatge(part_recurs(ordre, 0));
    if (im.isNull())
        Image2->clear();
    else
        Image2->setPixmap(QPixmap::fromImage(im));
    const int16_t m = opcio_col_locacio(ordre);
    const Col_locacio c =
        col_locacio_imatge(centralWidget()->size(), im.isNull() ? QSize(0, 0) : im.size(), m);
    Image2->setScaledContents(c.estirada);
    Image2->setGeometry(c.caixa);
    Image2->raise();
    if (!Label_par->isHidden()) Label_par->raise();
    Image2->show();
    centralWidget()->repaint();
}

double Form1::flash_mostrar(const QString& ordre, float segons) {
    Flash peli_finestra;
    peli_finestra.jugador = this;
    // The movie is the file part: options after ":" are not part of its name.
    peli_finestra.posar_peli(part_recurs(ordre, 0));
    peli_finestra.setGeometry(plataforma::rectangle_escriptori());
    peli_finestra.showFullScreen();
    peli_finestra.raise();
    peli_finestra.activateWindow();
    const double t0 = plataforma::rellotge().monotonic();
    const uint64_t meva = generacio_pregunta;
    esperar_des_de(t0, segons, [&] { return tancada_per_ordre || generacio_pregunta != meva; });
    return t0;
}

ClasseOrdre Form1::ordre_executa(const QString& ordre, float temps, double& t0,
                                 const std::function<void()>& esperar) {
    ServeisPresentacio& s = serveis_presentacio();
    const QString fitxer = part_recurs(ordre, 0);
    const ClasseOrdre classe = classe_ordre(tipus_de(ordre));
    switch (classe) {
    case ClasseOrdre::peli:
        // The movie's clock starts when its window is shown.
        t0 = flash_mostrar(ordre, temps);
        break;
    case ClasseOrdre::diapositives:
        // Ended after its wait, in a reaction as in a stimulus.
        pps_executa(fitxer);
        esperar();
        pps_atura();
        break;
    case ClasseOrdre::programa: {
        const int32_t finestra = llancar_programa(fitxer, 3);
        esperar();
        s.tancar_finestra(finestra);
        break;
    }
    case ClasseOrdre::so:
        s.reproduir_so(fitxer);
        break;
    case ClasseOrdre::media:
        s.reproduir_media(fitxer);
        break;
    case ClasseOrdre::imatge:
        imatge_mostrar(ordre);
        break;
    case ClasseOrdre::activitat:
    case ClasseOrdre::text:
        break;
    }
    return classe;
}

void Form1::netejar_entrada() {
    tancar_media_actual(Picture1);
    Image2->hide();
    Image2->setScaledContents(false);
    Label_par->hide();
    color_finestra(activitat().color_fons);
}

void Form1::estimul_presenta(int16_t i) {
    Activitat& a = activitat();
    if (i < 0 || i >= static_cast<int>(a.items.size())) return;
    EstatJugador& jg = jugador();
    Llistes& l = llistes();
    plataforma::Rellotge& rellotge = plataforma::rellotge();

    // A. The question's two times, armed before anything is shown.
    carregar_llista_estimul(i);
    const item& it = a.items[i];
    temps_pregunta[1] = jg.velocitat * it.retard_accio;
    temps_pregunta[2] = static_cast<float>(arrodonir_parell(rellotge.segons_dia()));
    temps_pregunta[0] = jg.velocitat * it.retard_estimul;
    if (temps_pregunta[1] == 0) temps_pregunta[1] = 5 * jg.velocitat;
    pregunta_activa = true;
    sequencia_parcial.clear();
    reaccio_serie_pendent.clear();
    const uint64_t meva = ++generacio_pregunta;
    pantalla_prepara();
    if (a.items[0].ratoli[0] == 1) {
        Image1->show();
        if (isVisible()) plataforma::posar_cursor(centralWidget()->mapToGlobal(Image1->pos() + QPoint(2, 2)));
    } else {
        Image1->hide();
    }

    // C. One entry drawn from the item's stimuli.
    QString entrada;
    if (l.nombre_estimuls != 0) {
        const auto k = static_cast<int>(part_entera(l.nombre_estimuls * plataforma::atzar().seguent()));
        entrada = retallar(l.llista_estimuls.value(k + 1));
    }
    if (!entrada.isEmpty())
        informe_detall() +=
            SALT_INFORME + hora_text(rellotge.segons_dia()) + QStringLiteral("| ESTIMUL ") + entrada;

    // D. A screen saver alone starts and is left to itself.
    if (es_entrada_salvapantalles(entrada)) {
        Image1->show();
        llancar_programa(entrada, 1);
        return;
    }

    // E. The orders, one after another. A slide show or a program is waited
    // from the order's start and the main picture comes back before it ends.
    const float temps = temps_pregunta[0];
    auto superada = [&] { return tancada_per_ordre || generacio_pregunta != meva; };
    QString resta = entrada;
    double t0 = rellotge.monotonic();
    auto esperar = [&] {
        esperar_des_de(t0, temps, superada);
        if (!superada()) Image1->show();
    };
    for (;;) {
        const QString ordre = seguent_ordre(resta);
        t0 = rellotge.monotonic();
        bool darrera = false;
        const ClasseOrdre classe = ordre_executa(ordre, temps, t0, esperar);
        if (classe == ClasseOrdre::text || classe == ClasseOrdre::activitat) {
            // Texts come from the list with the activity's folder in front;
            // an activity file is only a text here.
            QString text = ruta_relativa(ordre);
            text_executa(text);
            darrera = resta.isEmpty();
        }
        // A newer question or a reaction owns the screen now.
        if (superada()) return;
        if (darrera) break;
        if (temps != 0 && rellotge.monotonic() - t0 > temps) break;
    }

    // H. The rest of the stimulus time, then the clearing.
    esperar_des_de(t0, temps, superada);
    if (superada() || temps == 0) return;
    netejar_entrada();
    Image1->show();
    if (!a.fitxer_imatge_fons.isEmpty()) imatge_fons->show();
}

} // namespace lumi
