#include "planner/Finestra2.h"

#include "comuns/dialegs.h"
#include "comuns/encabir.h"
#include "comuns/formulari.h"
#include "core/camins.h"
#include "core/codis.h"
#include "core/idioma.h"
#include "core/vb.h"
#include "planner/model_planificador.h"
#include "planner/paraules.h"

#include <QCursor>
#include <QInputDialog>

namespace lumi {

namespace {

// The order and the player keep an item or a zone number in three digits.
constexpr int ITEMS_MENU = 999;

QString tres_xifres(int n) {
    return QStringLiteral("%1").arg(n, 3, 10, QChar(u'0'));
}

// A text that ends in a file extension ("a_b.png"), not words with a full stop.
bool nom_de_fitxer(const QString& f) {
    const qsizetype punt = f.lastIndexOf(u'.');
    const QString ext = f.mid(punt + 1);
    if (punt <= 0 || ext.isEmpty() || ext.size() > 4) return false;
    for (QChar c : ext)
        if (!c.isLetterOrNumber()) return false;
    return true;
}

} // namespace

TriadorsOrdres& triadors_ordres() {
    static TriadorsOrdres t{[](const QString& actual, QWidget* form, const QString& titol) {
                                return triar_fitxers(actual, form, titol);
                            },
                            [](QWidget* form, const QString& color) { return triar_color(form, color); },
                            [](QWidget* form, font_text& font) { return triar_font(form, font); },
                            [](QWidget* pare, const QString& pregunta, const QString& titol,
                               const QString& valor) -> std::optional<QString> {
                                QInputDialog d(pare);
                                d.setWindowTitle(titol);
                                d.setLabelText(pregunta);
                                d.setTextValue(valor);
                                d.adjustSize();
                                moure_dins_pantalla(&d, QCursor::pos());
                                if (d.exec() != QDialog::Accepted) return std::nullopt;
                                return d.textValue();
                            },
                            [](QDialog& d) { return d.exec(); }};
    return t;
}

QString avis_caracter(const QString& text) {
    const QChar c = caracter_prohibit(text);
    if (c.isNull()) return {};
    return tradueix(QStringLiteral("ordres|caracter_prohibit")).arg(c);
}

Finestra2::Finestra2(QWidget* planificar, const QString& titol, int fila, int columna)
    : QDialog(planificar), planificar_(planificar) {
    setObjectName(QStringLiteral("Finestra2"));
    setWindowTitle(QStringLiteral("Finestra"));
    setModal(true);
    setFixedSize(430, 150);
    Text1 = anomenar(new QLineEdit(this), QStringLiteral("Text1"));
    Text1->setGeometry(10, 10, 410, 24);
    Text1->installEventFilter(this);
    for (int i : {0, 1}) {
        dada[static_cast<size_t>(i)] = anomenar(new QLabel(this), QStringLiteral("dada"), i);
        dada[static_cast<size_t>(i)]->setGeometry(10 + i * 40, 118, 36, 22);
    }
    avis = anomenar(new QLabel(this), QStringLiteral("avis"));
    avis->setGeometry(10, 38, 410, 22);
    avis->setStyleSheet(QStringLiteral("color: #b00000;"));
    const char* textos[] = {"Cancel·lar", "Acceptar", "Ordres", "Fitxers", "Paraules", "Colors", "Netejar"};
    for (int i = 0; i < 7; ++i) {
        auto* b = anomenar(new QPushButton(QString::fromUtf8(textos[i]), this), QStringLiteral("Canc"), i);
        const int x = i < 2 ? 230 + i * 95 : 10 + (i - 2) * 100;
        b->setGeometry(x, i < 2 ? 114 : 66, i < 2 ? 90 : 96, 28);
        b->setAutoDefault(false);
        Canc[static_cast<size_t>(i)] = b;
        if (i != 6) connect(b, &QPushButton::clicked, this, [this, i] { Canc_Click(i); });
    }
    // A button of the design that no command uses.
    Canc[6]->hide();
    Canc[1]->setDefault(true);

    mn_op = anomenar(new QMenu(QStringLiteral("opcions"), this), QStringLiteral("mn_op"));
    const char* ordres[] = {"Canviar fitxer de  fons",    "Canviar tipus de lletra",
                            "Canviar color de la lletra", "Canvia color de fons del text",
                            "Esperar un temps",           "Tancar el programa"};
    for (int i = 0; i < 6; ++i) {
        mn_ord[static_cast<size_t>(i)] =
            anomenar(mn_op->addAction(QString::fromUtf8(ordres[i])), QStringLiteral("mn_ord"), i);
        connect(mn_ord[static_cast<size_t>(i)], &QAction::triggered, this, [this, i] { mn_ord_Click(i); });
    }
    menu_items = mn_op->addMenu(QString::fromUtf8("Saltar a l'item"));
    mn_ord[6] = anomenar(menu_items->menuAction(), QStringLiteral("mn_ord"), 6);
    menu_zones = mn_op->addMenu(QStringLiteral("Canviar imatge zona"));
    mn_ord[7] = anomenar(menu_zones->menuAction(), QStringLiteral("mn_ord"), 7);

    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    Form_Load();
    setWindowTitle(titol);
    dada[0]->setText(numero_text(fila));
    dada[1]->setText(numero_text(columna));
    Text1_Change();
}

void Finestra2::Form_Load() {
    tradueix_formulari(this);
    encabir_captions(this);
    const Activitat& a = activitat();
    for (int z = 1; z <= std::min<int>(a.zones_max, ITEMS_MENU); ++z) {
        QAction* act = anomenar(menu_zones->addAction(QStringLiteral("Zona") + numero_text(z)),
                                QStringLiteral("mn_zona"), z - 1);
        connect(act, &QAction::triggered, this, [this, z] { mn_zona_Click(z - 1); });
        mn_zona.push_back(act);
    }
    if (a.zones_max < 1) {
        QAction* act = anomenar(menu_zones->addAction(text_idioma(75)), QStringLiteral("mn_zona"), 0);
        act->setEnabled(false);
        mn_zona.push_back(act);
    }
    for (int n = 1; n <= std::min<int>(a.nombre_items, ITEMS_MENU); ++n) {
        QAction* act = anomenar(menu_items->addAction(QStringLiteral("Item") + numero_text(n)),
                                QStringLiteral("mn_item"), n - 1);
        connect(act, &QAction::triggered, this, [this, n] { mn_item_Click(n - 1); });
        mn_item.push_back(act);
    }
}

void Finestra2::Text1_Change() {
    const QString a = avis_caracter(Text1->text());
    avis->setText(a);
    Canc[1]->setEnabled(a.isEmpty() && !retallar(Text1->text()).isEmpty());
}

void Finestra2::Canc_Click(int Index) {
    TriadorsOrdres& t = triadors_ordres();
    switch (Index) {
    case 0:
        tancat_ = true;
        reject();
        break;
    case 1:
        // Accept runs once: a type editor that already stored closed the form.
        if (tancat_) return;
        tancat_ = true;
        if (!retallar(Text1->text()).isEmpty() && avis_caracter(Text1->text()).isEmpty())
            desat = Text1->text();
        accept();
        break;
    case 2:
        mn_op->popup(Canc[2]->mapToGlobal(QPoint(0, Canc[2]->height())));
        break;
    case 3: {
        const QString r = t.fitxers(QString(), planificar_, windowTitle());
        if (!r.isEmpty()) {
            Text1->setText(r);
            Canc_Click(1);
        }
        break;
    }
    case 4:
        obrir_paraules(QString(), QString());
        if (!Text1->text().isEmpty()) Canc_Click(1);
        break;
    case 5: {
        const QString c = t.color(planificar_, QStringLiteral("0"));
        if (!c.isEmpty()) {
            Text1->setText(text_idioma(10).toUpper() + u'_' + c);
            Canc_Click(1);
        }
        break;
    }
    default:
        break;
    }
}

void Finestra2::ord(int Index, const QString& valor) {
    TriadorsOrdres& t = triadors_ordres();
    switch (Index) {
    case 0: {
        const QString f = t.fitxers(valor, planificar_, text_idioma(34));
        if (!f.isEmpty()) Text1->setText(text_idioma(64) + u'_' + f + QStringLiteral("___"));
        break;
    }
    case 1:
        ordre_font();
        break;
    case 2:
    case 5: {
        const QString c = t.color(planificar_, double_text(valor_inicial(valor)));
        if (!c.isEmpty()) Text1->setText(text_idioma(Index == 2 ? 63 : 69) + u'_' + c);
        break;
    }
    case 3: {
        const std::optional<QString> r =
            t.entrada(this, text_idioma(67), text_idioma(68), double_text(valor_inicial(valor) / 10));
        if (!r || r->isEmpty()) break;
        // An answer that is no number is refused, saying why: the text stays.
        if (const std::optional<double> segons = numero_escrit(*r))
            Text1->setText(text_idioma(65) + u'_' + double_text(*segons * 10));
        else
            avisar_no_nombre(this, *r);
        break;
    }
    case 4:
        Text1->setText(text_idioma(66) + u'_');
        break;
    default:
        break;
    }
    Canc_Click(1);
}

void Finestra2::mn_ord_Click(int Index) {
    switch (Index) {
    case 0:
        ord(0, QString());
        break;
    case 1:
        ordre_font();
        break;
    case 2:
        ord(2, QString());
        break;
    case 3:
        ord(5, QString());
        break;
    case 4:
        ord(3, QStringLiteral("10"));
        break;
    case 5:
        Text1->setText(text_idioma(66) + u'_');
        break;
    default:
        break;
    }
}

void Finestra2::ordre_font() {
    font_text font;
    if (triadors_ordres().font(planificar_, font))
        Text1->setText(text_idioma(62) + u'_' + font.nom + numero_text(font.mida) +
                       numero_text(font.negreta) + numero_text(font.cursiva));
}

void Finestra2::mn_item_Click(int Index) {
    Text1->setText(text_idioma(79) + u'_' + tres_xifres(Index + 1));
}

void Finestra2::mn_zona_Click(int Index) {
    const QString r = triadors_ordres().fitxers(tres_xifres(Index + 1), planificar_, text_idioma(77));
    if (!r.isEmpty()) Text1->setText(text_idioma(76) + u'_' + r);
    Canc_Click(1);
}

bool Finestra2::obrir_paraules(const QString& lloc, const QString& text) {
    paraules p(this);
    if (!lloc.isEmpty() || !text.isEmpty()) p.posar(lloc, text);
    if (planificar_) centrar_dins_pantalla(&p, planificar_);
    triadors_ordres().modal(p);
    if (!p.resultat) return false;
    Text1->setText(*p.resultat);
    return true;
}

void Finestra2::Text1_DblClick() {
    TriadorsOrdres& t = triadors_ordres();
    const QString text = Text1->text();
    const QString f = part_recurs(text, 0);
    const QString e = f.right(3).toUpper();
    static const QStringList imatges{"BMP", "WMF", "GIF", "JPG"};
    static const QStringList altres{"LRQ", "WAV", "SCR", "MID", "MP3", "SWF", "AVI", "EXE"};
    const qsizetype ratlla = text.indexOf(u'_');
    const QString clau = text.left(ratlla);
    const QString valor = text.mid(ratlla + 1);
    QStringList llocs;
    for (int n : {5, 6, 7, 8})
        llocs << text_idioma(n).toUpper();
    if (imatges.contains(e)) {
        const QString r = t.fitxers(text, planificar_, windowTitle());
        if (!r.isEmpty()) Text1->setText(r);
    } else if (altres.contains(e)) {
        const QString r = t.fitxers(f, planificar_, windowTitle());
        if (!r.isEmpty()) Text1->setText(r);
    } else if (ratlla >= 0 && clau == text_idioma(10).toUpper()) {
        const QString c = t.color(planificar_, double_text(valor_inicial(valor)));
        if (!c.isEmpty()) Text1->setText(text_idioma(10).toUpper() + u'_' + c);
    } else if (ratlla >= 0 && clau == text_idioma(64)) {
        ord(0, valor.left(valor.size() - 3));
    } else if (ratlla >= 0 && (clau == text_idioma(62) || clau == text_idioma(66))) {
        // Nothing to choose.
    } else if (ratlla >= 0 && clau == text_idioma(63)) {
        ord(2, valor);
    } else if (ratlla >= 0 && clau == text_idioma(65)) {
        ord(3, valor);
    } else if (ratlla >= 0 && clau == text_idioma(69)) {
        ord(5, valor);
    } else if (ratlla >= 0 && clau == text_idioma(76)) {
        const QString r = t.fitxers(text.mid(text_idioma(76).size() + 1), planificar_, text_idioma(77));
        if (!r.isEmpty()) Text1->setText(text_idioma(76) + u'_' + r);
    } else if (ratlla >= 0 && clau == text_idioma(79)) {
        menu_items->exec(QCursor::pos());
    } else if (ratlla >= 0 && llocs.contains(clau.toUpper())) {
        obrir_paraules(clau, valor);
    } else if (nom_de_fitxer(f)) {
        // A file of a kind the list above leaves out, "_" in its name or not.
        const QString r = t.fitxers(f, planificar_, windowTitle());
        if (!r.isEmpty()) Text1->setText(r);
    } else {
        // Plain words: the editor on them; Cancel keeps them.
        t.modal(*this);
        return;
    }
    Canc_Click(1);
}

} // namespace lumi
