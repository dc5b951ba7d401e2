// Text orders: a placed text in Label_par, or a command that changes the
// screen's colours and pictures, forces the next item, waits or closes.
#include "player/Form1.h"
#include "core/idioma.h"
#include "core/llistes.h"
#include "player/presentacio.h"
#include "platform/rellotge.h"
#include "core/vb.h"

#include <QFontMetrics>
#include <QPixmap>
#include <optional>

namespace lumi {

namespace {

// The command keywords, in the order they are tried.
enum class Comanda {
    Color,
    Font,
    CFont,
    CTFons,
    GFons,
    ZFons,
    Item,
    Espera,
    Tancar,
    Capcalera,
    Centrat,
    Peu,
    Atzar
};

struct Clau {
    int missatge;
    Comanda comanda;
};
constexpr Clau CLAUS[] = {
    {10, Comanda::Color},  {62, Comanda::Font},     {63, Comanda::CFont},  {69, Comanda::CTFons},
    {64, Comanda::GFons},  {76, Comanda::ZFons},    {79, Comanda::Item},   {65, Comanda::Espera},
    {66, Comanda::Tancar}, {5, Comanda::Capcalera}, {6, Comanda::Centrat}, {7, Comanda::Peu},
    {8, Comanda::Atzar},
};

std::optional<Comanda> comanda_de(const QString& clau) {
    if (clau.isEmpty()) return std::nullopt;
    for (const Clau& c : CLAUS) {
        // ITEM is in capitals in every language and compared as it stands.
        const QString text = c.missatge == 79 ? text_idioma(79) : text_idioma(c.missatge).toUpper();
        if (!text.isEmpty() && text == clau) return c.comanda;
    }
    return std::nullopt;
}

// A colour number; nullopt when it does not fit 32 bits.
std::optional<int32_t> numero_color(const QString& valor) {
    const auto c = a_enter32(valor_inicial(valor));
    if (!c) return std::nullopt;
    return *c & 0xFFFFFF;
}

LlocText lloc_de(Comanda c) {
    switch (c) {
    case Comanda::Centrat:
        return LlocText::Centrat;
    case Comanda::Peu:
        return LlocText::Peu;
    case Comanda::Atzar:
        return LlocText::Atzar;
    default:
        return LlocText::Capcalera;
    }
}

} // namespace

void Form1::text_executa(QString& ordre) {
    if (ordre.isEmpty()) return;
    QWidget* client = centralWidget();
    ServeisPresentacio& s = serveis_presentacio();
    const ComandaText parts = separar_comanda(ordre);
    const std::optional<Comanda> comanda = comanda_de(parts.clau);
    const QString& valor = parts.valor;

    if (comanda) {
        switch (*comanda) {
        case Comanda::Color: {
            // The background picture goes first, even when the number is bad.
            imatge_fons->hide();
            const auto c = numero_color(valor);
            if (!c) return;
            color_finestra(*c);
            colors_label(*c, -1);
            client->repaint();
            return;
        }
        case Comanda::Font:
            // Recognised so it is not shown; the label keeps the activity's font.
            return;
        case Comanda::CFont: {
            const auto c = numero_color(valor);
            if (c) colors_label(-1, *c);
            return;
        }
        case Comanda::CTFons: {
            const auto c = numero_color(valor);
            if (!c) return;
            colors_label(*c, -1);
            client->repaint();
            return;
        }
        case Comanda::GFons: {
            if (valor.size() < 3) return;
            const QImage im = s.carregar_imatge(valor.left(valor.size() - 3));
            if (im.isNull()) return;
            fons_mostrar(im);
            client->repaint();
            return;
        }
        case Comanda::ZFons: {
            if (valor.size() < 3) return;
            const auto z = a_enter16(valor_inicial(valor.right(3)));
            if (!z || *z < 0 || *z >= I_zona->nombre()) return;
            const QString fitxer = valor.left(valor.size() - 3);
            if (fitxer.isEmpty()) {
                I_zona->posar_imatge(*z, QPixmap());
            } else {
                const QImage im = s.carregar_imatge(fitxer);
                if (im.isNull()) return;
                I_zona->posar_imatge(*z, QPixmap::fromImage(im));
            }
            client->repaint();
            return;
        }
        case Comanda::Item:
            jugador().item_salt = valor.right(3);
            return;
        case Comanda::Espera: {
            // Tenths of a second in units of the question timer's period.
            const double segons = valor_inicial(valor) * t_estimular->interval() / 1000.0;
            // A stop during the wait ends it with the run.
            const uint64_t pantalla = generacio_pregunta;
            if (segons > 0)
                esperar_des_de(plataforma::rellotge().monotonic(), segons,
                               [&] { return tancada_per_ordre || generacio_pregunta != pantalla; });
            return;
        }
        case Comanda::Tancar:
            // The exercise stops, then the window closes as its own close
            // does (asking before unsaved changes are lost; restoring the
            // screen-saver entry; deleting the undo snapshot). Cancel keeps
            // the program running with the exercise stopped.
            exercici_atura();
            if (close()) tancada_per_ordre = true;
            return;
        default:
            break;
        }
    }

    // A placed text. An unknown keyword is no command: the whole order is
    // shown at the top, as typed.
    LlocText lloc = LlocText::Capcalera;
    QString text = valor;
    if (comanda)
        lloc = lloc_de(*comanda);
    else if (!parts.clau.isEmpty())
        text = ordre;

    Label_par->setTextFormat(Qt::PlainText);
    Label_par->setWordWrap(false);
    const QFontMetrics fm(Label_par->font());
    // Lines past the window's height are never seen: a text of any length
    // costs no more than a screenful to wrap and show.
    const qsizetype linies_visibles = client->height() / std::max(fm.lineSpacing(), 1) + 1;
    QString ajustat = text_ajustar(
        text, client->width(), [&fm](const QString& t) { return fm.horizontalAdvance(t); }, linies_visibles);
    ajustat.replace(QChar(13), QChar(10));
    Label_par->setText(ajustat);
    Label_par->adjustSize();

    float r1 = 0, r2 = 0;
    if (lloc == LlocText::Atzar) {
        r1 = plataforma::atzar().seguent();
        r2 = plataforma::atzar().seguent();
    }
    const QPointF p = posicio_text(lloc, client->size(), Label_par->size(), r1, r2);
    Label_par->move(static_cast<int>(arrodonir_parell(p.x())), static_cast<int>(arrodonir_parell(p.y())));

    const QVariant fons = client->property("color_vb");
    colors_label(fons.isValid() ? fons.toInt() : activitat().color_fons, -1);
    Label_par->raise();
    Label_par->show();
    client->repaint();
}

} // namespace lumi
