#include "planner/planificar.h"

#include "comuns/dialegs.h"
#include "comuns/formulari.h"
#include "comuns/icones.h"
#include "comuns/media_jugar.h"
#include "core/camins.h"
#include "core/fitxer_lrq.h"
#include "core/idioma.h"
#include "core/vb.h"
#include "platform/imatges.h"
#include "platform/motor_veu.h"
#include "platform/pantalla.h"
#include "player/Form1.h"
#include "player/menus.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cmath>

namespace lumi {

namespace {

planificar* instancia_ = nullptr;

constexpr int CELLA = 54;
constexpr int PAS = 56;

void posar_color_fons(QWidget* w, const QColor& c) {
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
}

} // namespace

planificar* planificar::instancia() {
    return instancia_;
}

void planificar::mostrar(QWidget* pare) {
    planificar d(pare);
    d.Form_Load();
    d.exec();
}

planificar::planificar(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("planificar"));
    setWindowTitle(QStringLiteral("Planificar Lumi-Raga"));
    setModal(true);
    instancia_ = this;
    crear_menus();
    crear_controls();

    model.pont.preguntar = [this](int n) {
        if (n == 58)
            return missatge(this, text_idioma(58), QMessageBox::NoIcon,
                            QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
        return missatge(this, text_idioma(n), QMessageBox::Critical, QMessageBox::Ok | QMessageBox::Cancel,
                        QStringLiteral("Atencio")) == QMessageBox::Ok;
    };
    // Until the cell editor comes, OK leads to the SI_BE page and the store
    // ends as Cancel ends it.
    model.pont.primera_reaccio = [this] {
        reaccions_Click(3);
        return false;
    };
    model.pont.avisar = [this](const QString& t) { missatge(this, t, QMessageBox::Critical); };
}

planificar::~planificar() {
    if (instancia_ == this) instancia_ = nullptr;
    planificador().visible = false;
}

// ------------------------------------------------------------------ controls

void planificar::crear_menus() {
    barra = anomenar(new QMenuBar(this), QStringLiteral("barra"));
    mn_d = anomenar(barra->addMenu(QStringLiteral("Fitxer")), QStringLiteral("mn_d"), 0);
    for (const char* t : {"Nou", "Obrir", "Desar", "Engegar"}) {
        const int i = static_cast<int>(mn_disc.size());
        QAction* a = anomenar(mn_d->addAction(QString::fromUtf8(t)), QStringLiteral("mn_disc"), i);
        mn_disc.push_back(a);
        connect(a, &QAction::triggered, this, [this, i] { mn_disc_Click(i); });
    }
    mn_disc[3]->setEnabled(false);

    auto pagina = [this](int i, const QString& t) {
        QAction* a = anomenar(new QAction(t, this), QStringLiteral("menu1"), i);
        barra->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { menu1_Click(i); });
        menu1_accio[static_cast<size_t>(i)] = a;
    };
    auto submenu = [this](int i, const QString& t) {
        QMenu* m = anomenar(barra->addMenu(t), QStringLiteral("menu1"), i);
        connect(m, &QMenu::aboutToShow, this, [this, i] { menu1_Click(i); });
        menu1_menu[static_cast<size_t>(i)] = m;
        return m;
    };
    pagina(0, QStringLiteral("General"));
    QMenu* items_menu = submenu(1, QStringLiteral("Items"));
    for (const char* t : {"Afegir", "Esborrar", "Copiar", "Enganxar"}) {
        const int i = static_cast<int>(mn_acc.size());
        QAction* a = anomenar(items_menu->addAction(QString::fromUtf8(t)), QStringLiteral("mn_acc"), i);
        mn_acc.push_back(a);
        connect(a, &QAction::triggered, this, [this, i] { mn_acc_Click(i); });
    }
    mn_acc[2]->setEnabled(false);
    mn_acc[3]->setEnabled(false);
    pagina(2, QString::fromUtf8("Estímuls"));
    pagina(3, QStringLiteral("Accions"));
    QMenu* r = submenu(4, QStringLiteral("Reaccions"));
    for (int i : {3, 4}) {
        reaccions[static_cast<size_t>(i)] =
            anomenar(r->addAction(i == 3 ? QStringLiteral("Si be") : QStringLiteral("Si malament")),
                     QStringLiteral("reaccions"), i);
        connect(reaccions[static_cast<size_t>(i)], &QAction::triggered, this,
                [this, i] { reaccions_Click(i); });
    }
    QMenu* opcions = submenu(6, QStringLiteral("Opcions"));
    desfer = anomenar(opcions->addAction(QStringLiteral("Desfer")), QStringLiteral("desfer"));
    mn_czones = anomenar(opcions->addAction(QStringLiteral("Crear Zones ")), QStringLiteral("mn_czones"));
    mn_sortir = anomenar(opcions->addAction(QStringLiteral("Sortir")), QStringLiteral("mn_sortir"));
    connect(desfer, &QAction::triggered, this, [this] { desfer_Click(); });
    connect(mn_sortir, &QAction::triggered, this, [this] { mn_sortir_Click(); });

    mn_ajuda = anomenar(barra->addMenu(QStringLiteral("Ajuda")), QStringLiteral("mn_ajuda"));
    ajuda = anomenar(mn_ajuda->addAction(QString::fromUtf8("Índex")), QStringLiteral("ajuda"));
    quant_a = anomenar(mn_ajuda->addAction(QStringLiteral("Quant a..")), QStringLiteral("quant_a"));
    connect(ajuda, &QAction::triggered, this, [this] { ajuda_Click(); });
    connect(quant_a, &QAction::triggered, this, [this] { quant_a_Click(); });

    // The order popup lives in a menu the bar never shows.
    amagat = anomenar(barra->addMenu(QStringLiteral("amagat")), QStringLiteral("amagat"));
    amagat->menuAction()->setVisible(false);
    menu2_menu = anomenar(amagat->addMenu(QStringLiteral("Ordres")), QStringLiteral("menu2"), 0);
    int i = 1;
    for (const char* t : {"Insertar", "Esborrar", "Copiar", "Enganxar"}) {
        menu2_accio[static_cast<size_t>(i)] =
            anomenar(menu2_menu->addAction(QString::fromUtf8(t)), QStringLiteral("menu2"), i);
        ++i;
    }
}

void planificar::crear_graella(int k, QWidget* pare, const QString& nom, int files, int x, int y) {
    static const char* noms_ordre[] = {"", "eti_e", "eti_b", "eti_m"};
    static const char* noms_entrada[] = {"", "eti_fe", "eti_fb", "eti_fm"};
    auto& c = celles[static_cast<size_t>(k)];
    c.resize(static_cast<size_t>(files * 7 + 1));
    if (k <= SI_MAL) {
        numeros_ordre[static_cast<size_t>(k)].resize(29);
        numeros_entrada[static_cast<size_t>(k)].resize(5);
    }
    for (int i = 0; i <= files * 7; ++i) {
        auto* l = anomenar(new QLabel(pare), nom, i);
        const int r = i == 0 ? 1 : (i - 1) / 7 + 1, col = i == 0 ? 1 : (i - 1) % 7 + 1;
        l->setGeometry(x + (col - 1) * PAS, y + (r - 1) * PAS, CELLA, CELLA);
        l->setAlignment(Qt::AlignCenter);
        posar_color_fons(l, QColor(250, 250, 250));
        l->installEventFilter(this);
        l->hide();
        c[static_cast<size_t>(i)] = l;
        if (k <= SI_MAL && i > 0) {
            auto* n = anomenar(new QLabel(pare), QString::fromLatin1(noms_ordre[k]), i);
            n->setGeometry(x + (col - 1) * PAS + CELLA - 22, y + (r - 1) * PAS + CELLA - 14, 22, 14);
            n->setStyleSheet(QStringLiteral("color: white; background: blue; font-size: 9px;"));
            n->setAlignment(Qt::AlignRight);
            n->hide();
            numeros_ordre[static_cast<size_t>(k)][static_cast<size_t>(i)] = n;
        }
    }
    if (k <= SI_MAL) {
        for (int r = 1; r <= 4; ++r) {
            auto* n = anomenar(new QLabel(pare), QString::fromLatin1(noms_entrada[k]), r);
            n->setGeometry(x - 24, y + (r - 1) * PAS + 18, 22, 16);
            n->hide();
            numeros_entrada[static_cast<size_t>(k)][static_cast<size_t>(r)] = n;
        }
    }
}

void planificar::crear_controls() {
    auto* capsa = new QVBoxLayout(this);
    capsa->setContentsMargins(0, 0, 0, 0);
    capsa->setMenuBar(barra);
    auto* client = anomenar(new QWidget(this), QStringLiteral("client"));
    client->setFixedSize(650, 500);
    capsa->addWidget(client);

    etiqueta = anomenar(new QLabel(client), QStringLiteral("etiqueta"));
    etiqueta->setGeometry(10, 4, 440, 22);
    QFont negreta = etiqueta->font();
    negreta.setBold(true);
    etiqueta->setFont(negreta);

    const int nx = 480;
    et_inf[0] = anomenar(new QLabel(QStringLiteral("ITEMS   "), client), QStringLiteral("et_inf"), 0);
    et_inf[0]->setGeometry(nx, 4, 60, 20);
    static const QColor colors[] = {QColor(), QColor(255, 255, 192), QColor(0, 128, 128), QColor(0, 192, 0),
                                    QColor(255, 64, 64)};
    for (int i = 1; i <= 4; ++i) {
        auto* l = anomenar(new QLabel(QStringLiteral("?"), client), QStringLiteral("et_inf"), i);
        l->setGeometry(nx + 60 + (i - 1) * 22, 4, 20, 20);
        l->setAlignment(Qt::AlignCenter);
        posar_color_fons(l, colors[i]);
        l->installEventFilter(this);
        et_inf[static_cast<size_t>(i)] = l;
    }
    HScroll1 = anomenar(new QScrollBar(Qt::Horizontal, client), QStringLiteral("HScroll1"));
    HScroll1->setGeometry(nx, 30, 110, 20);
    HScroll1->setRange(1, 1);
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
    Label2 = anomenar(new QLineEdit(QStringLiteral("1"), client), QStringLiteral("Label2"));
    Label2->setGeometry(nx + 115, 28, 45, 24);
    Label2->setReadOnly(true);
    Label2->setFocusPolicy(Qt::NoFocus);
    for (int i : {4, 5}) {
        auto* b =
            anomenar(new QPushButton(i == 4 ? QStringLiteral("Afegir") : QStringLiteral("Esborrar"), client),
                     QStringLiteral("Command1"), i);
        b->setGeometry(nx + (i - 4) * 82, 58, 78, 26);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1[static_cast<size_t>(i)] = b;
    }

    // The list pages.
    auto pagina_llista = [&](const QString& nom, int index) {
        auto* f = anomenar(new QFrame(client), nom, index);
        f->setGeometry(10, 30, 460, 300);
        f->hide();
        return f;
    };
    Frame3 = pagina_llista(QStringLiteral("Frame3"), -1);
    Frame1 = pagina_llista(QStringLiteral("Frame1"), -1);
    Frame2[0] = pagina_llista(QStringLiteral("Frame2"), 0);
    Frame2[1] = pagina_llista(QStringLiteral("Frame2"), 1);
    const std::array<QFrame*, 5> pagines{nullptr, Frame3, Frame2[0], Frame2[1], Frame1};
    static const char* noms_cella[] = {"", "ord_est", "ord_be", "ord_mal", "ord_acc"};
    static const char* noms_barra[] = {"", "estim_VScroll", "be_VScroll", "mal_VScroll", "accio_VScroll"};
    for (int k = 1; k <= 4; ++k) {
        QFrame* f = pagines[static_cast<size_t>(k)];
        crear_graella(k, f, QString::fromLatin1(noms_cella[k]), 4, 28, 30);
        auto* b = anomenar(new QScrollBar(Qt::Vertical, f), QString::fromLatin1(noms_barra[k]));
        b->setGeometry(28 + 7 * PAS + 4, 30, 18, 4 * PAS);
        b->setRange(1, 1);
        connect(b, &QScrollBar::valueChanged, this, [this, k] { VScroll_Change(k); });
        barres[static_cast<size_t>(k)] = b;
    }
    auto caixa_totes = [this](QFrame* f, const QString& nom, const QString& text, int& valor,
                              void (ModelPlanificador::*clic)()) {
        auto* c = anomenar(new QCheckBox(text, f), nom);
        c->setGeometry(28, 4, 200, 22);
        connect(c, &QCheckBox::toggled, this, [this, &valor, clic](bool b) {
            valor = b ? 1 : 0;
            (model.*clic)();
        });
        return c;
    };
    tots_estimul = caixa_totes(Frame3, QStringLiteral("tots_estimul"), QStringLiteral("Modificar Totes "),
                               model.tots_estimul, &ModelPlanificador::tots_estimul_Click);
    tots_be = caixa_totes(Frame2[0], QStringLiteral("tots_be"), QStringLiteral("Modificar Totes "),
                          model.tots_be, &ModelPlanificador::tots_be_Click);
    tots_mal = caixa_totes(Frame2[1], QStringLiteral("tots_mal"), QStringLiteral("Modificar Totes "),
                           model.tots_mal, &ModelPlanificador::tots_mal_Click);

    // The general page.
    Frame0 = anomenar(new QFrame(client), QStringLiteral("Frame0"));
    Frame0->setGeometry(10, 30, 460, 465);
    QFrame* g = Frame0;
    auto etiq = [g](int index, const QString& t, int x, int y, int w) {
        auto* l = anomenar(new QLabel(t, g), QStringLiteral("Label3"), index);
        l->setGeometry(x, y, w, 22);
        return l;
    };
    Label3[0] = etiq(0, QStringLiteral("Temps total"), 4, 4, 90);
    t_total = anomenar(new QLineEdit(g), QStringLiteral("t_total"));
    t_total->setGeometry(100, 4, 60, 22);
    atzar = anomenar(new QCheckBox(QString::fromUtf8("Estímul Atzar"), g), QStringLiteral("atzar"));
    atzar->setGeometry(180, 4, 130, 22);
    tots_temps =
        anomenar(new QCheckBox(QStringLiteral("Modificar Temps Totes"), g), QStringLiteral("tots_temps"));
    tots_temps->setGeometry(300, 4, 160, 22);
    Label3[4] = etiq(4, QStringLiteral("Finestra"), 4, 30, 90);
    auto* opcions = anomenar(new QFrame(g), QStringLiteral("marc_finestra"));
    opcions->setGeometry(100, 28, 300, 26);
    for (int i : {0, 1}) {
        Option1[static_cast<size_t>(i)] = anomenar(
            new QRadioButton(i == 0 ? QStringLiteral("Maximitzar") : QStringLiteral("Minimitzar"), opcions),
            QStringLiteral("Option1"), i);
        Option1[static_cast<size_t>(i)]->setGeometry(i * 110, 2, 105, 22);
    }
    Label3[2] = etiq(2, QStringLiteral("RECONEIXEMENT DE SONS"), 4, 56, 250);
    fitxer_so = anomenar(new QLineEdit(g), QStringLiteral("fitxer_so"));
    fitxer_so->setGeometry(4, 78, 300, 22);
    fitxer_so->setEnabled(false);
    Label3[2]->setEnabled(false);
    auto boto = [this, g](int index, const QString& t, int x, int y, int w) {
        auto* b = anomenar(new QPushButton(t, g), QStringLiteral("buto"), index);
        b->setGeometry(x, y, w, 26);
        buto[static_cast<size_t>(index)] = b;
    };
    boto(3, QStringLiteral("Fitxer so"), 310, 76, 130);
    buto[3]->setEnabled(false);
    boto(1, QStringLiteral("Color fons"), 4, 106, 105);
    boto(2, QStringLiteral("Tipus de lletra"), 112, 106, 105);
    boto(4, QStringLiteral("Color lletres"), 220, 106, 105);
    boto(5, QStringLiteral("So de fons"), 328, 106, 112);
    boto(6, QStringLiteral("Fitxer fons"), 4, 136, 105);
    boto(7, QStringLiteral("Esborrar"), 112, 136, 105);
    so = anomenar(new QLabel(g), QStringLiteral("so"), 0);
    so->setGeometry(224, 134, 30, 30);
    Label3[3] = etiq(3, QStringLiteral("Intents"), 330, 138, 100);
    Text2 = anomenar(new QLabel(g), QStringLiteral("Text2"));
    Text2->setGeometry(4, 170, 260, 56);
    Text2->setAutoFillBackground(true);
    IMG_fons = anomenar(new QLabel(g), QStringLiteral("IMG_fons"));
    IMG_fons->setGeometry(280, 170, 90, 56);
    IMG_fons->setFrameStyle(QFrame::Box);

    Frame5 = anomenar(new QGroupBox(QString::fromUtf8("SÈRIE D'EXERCICIS"), g), QStringLiteral("Frame5"));
    Frame5->setGeometry(4, 232, 446, 56);
    static const char* seg[] = {"Següent", "Atzar", "Fitxer"};
    for (int i = 0; i < 3; ++i) {
        Exer_seg[static_cast<size_t>(i)] =
            anomenar(new QRadioButton(QString::fromUtf8(seg[i]), Frame5), QStringLiteral("Exer_seg"), i);
        Exer_seg[static_cast<size_t>(i)]->setGeometry(8 + i * 80, 24, 78, 22);
    }
    fit_exer = anomenar(new QLineEdit(Frame5), QStringLiteral("fit_exer"));
    fit_exer->setGeometry(250, 24, 100, 22);
    buto[0] = anomenar(new QPushButton(QStringLiteral("Tria exercici"), Frame5), QStringLiteral("buto"), 0);
    buto[0]->setGeometry(354, 22, 88, 26);

    // Delays: the activity's on the left, the item's on the right.
    struct Retard {
        int caixa, etiqueta, columna, fila;
        const char* text;
    };
    static const Retard retards[] = {
        {2, 0, 0, 0, "Temps de l'estímul"},    {1, 1, 0, 1, "Temps de l'acció"},
        {0, 4, 0, 2, "Temps de reaccions BE"}, {6, 8, 0, 3, "Temps de reaccions MAL"},
        {5, 7, 1, 0, "Temps de l'estímul"},    {3, 5, 1, 1, "Temps de l'acció"},
        {4, 2, 1, 2, "Temps de reforç"},       {7, 3, 1, 3, "Temps de reforç"},
    };
    for (const Retard& r : retards) {
        auto* l = anomenar(new QLabel(QString::fromUtf8(r.text), g), QStringLiteral("Label1"), r.etiqueta);
        l->setGeometry(4 + r.columna * 225, 296 + r.fila * 24, 160, 22);
        Label1[static_cast<size_t>(r.etiqueta)] = l;
        auto* e = anomenar(new QLineEdit(g), QStringLiteral("retard"), r.caixa);
        e->setGeometry(165 + r.columna * 225, 296 + r.fila * 24, 52, 22);
        retard[static_cast<size_t>(r.caixa)] = e;
    }

    inf_con = anomenar(new QLabel(g), QStringLiteral("inf_con"));
    inf_con->setGeometry(4, 412, 112, 22);
    crear_graella(CONSIGNA, g, QStringLiteral("ICO_SER"), 1, 120, 398);
}

// ------------------------------------------------------------------ showing the model

void planificar::mostrar_model() {
    const Activitat& a = activitat();
    for (QObject* o : controls_formulari(this))
        o->blockSignals(true);
    Label2->setText(QString::number(model.item_mostrat));
    HScroll1->setRange(1, std::max(1, model.navegador_max));
    HScroll1->setValue(model.item_mostrat);
    for (int k = 1; k <= 4; ++k) {
        barres[static_cast<size_t>(k)]->setRange(1, model.barra_max[static_cast<size_t>(k)]);
        barres[static_cast<size_t>(k)]->setValue(model.barra_valor[static_cast<size_t>(k)]);
    }
    for (int i = 1; i <= 4; ++i)
        et_inf[static_cast<size_t>(i)]->setText(model.et_inf[static_cast<size_t>(i)]);
    for (int i = 0; i < 8; ++i)
        retard[static_cast<size_t>(i)]->setText(model.retard[static_cast<size_t>(i)]);
    t_total->setText(model.t_total);
    fitxer_so->setText(model.fitxer_so);
    Option1[static_cast<size_t>(model.finestra_opcio == 1 ? 1 : 0)]->setChecked(true);
    for (QRadioButton* b : Exer_seg) {
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
    if (model.exer_seg >= 0 && model.exer_seg <= 2)
        Exer_seg[static_cast<size_t>(model.exer_seg)]->setChecked(true);
    fit_exer->setText(model.fit_exer);
    tots_be->setChecked(model.tots_be != 0);
    tots_mal->setChecked(model.tots_mal != 0);
    tots_estimul->setChecked(model.tots_estimul != 0);
    tots_temps->setChecked(model.tots_temps != 0);
    mn_acc[2]->setEnabled(model.copiar_actiu);
    mn_acc[3]->setEnabled(model.enganxar_actiu);

    // The font preview and the background.
    const font_text& f = planificador().font_editada;
    Text2->setText(f.nom + numero_text(f.mida));
    QFont lletra(f.nom);
    if (f.mida > 0) lletra.setPointSizeF(f.mida / 2.0);
    lletra.setBold(f.negreta != 0);
    lletra.setItalic(f.cursiva != 0);
    Text2->setFont(lletra);
    QPalette p = Text2->palette();
    p.setColor(QPalette::WindowText, color_desat(f.color));
    p.setColor(QPalette::Window, color_desat(a.color_fons));
    Text2->setPalette(p);
    const QImage fons = a.fitxer_imatge_fons.isEmpty()
                            ? QImage()
                            : plataforma::carregar_imatge(resoldre_fitxer(a.fitxer_imatge_fons));
    if (fons.isNull())
        IMG_fons->clear();
    else
        IMG_fons->setPixmap(QPixmap::fromImage(fons).scaled(IMG_fons->size(), Qt::KeepAspectRatio));
    if (a.fitxer_so_fons.isEmpty())
        so->clear();
    else
        icona_recurs(QStringLiteral("so.wav"), so);
    inf_con->setText(text_idioma(16));

    for (QObject* o : controls_formulari(this))
        o->blockSignals(false);
    for (int k = 1; k <= 5; ++k)
        ordres_repinta(k);
}

void planificar::ordres_repinta(int k) {
    const VistaGraella v = model.ordres_repinta(k);
    const auto& c = celles[static_cast<size_t>(k)];
    for (size_t i = 1; i < c.size(); ++i) {
        const auto& cella = v.celles[i];
        if (k == ACCIO)
            icona_accio(cella.text, c[i]);
        else
            icona_recurs(cella.text, c[i]);
        c[i]->setToolTip(cella.text);
        c[i]->setVisible(cella.visible);
        if (k <= SI_MAL) {
            QLabel* n = numeros_ordre[static_cast<size_t>(k)][i];
            n->setText(v.numeros_ordre[i].value_or(QString()));
            n->setVisible(cella.visible && v.numeros_ordre[i].has_value());
            if (n->isVisible()) n->raise();
        }
    }
    if (k <= SI_MAL) {
        for (size_t r = 1; r <= 4; ++r) {
            QLabel* n = numeros_entrada[static_cast<size_t>(k)][r];
            n->setText(v.numeros_entrada[r].value_or(QString()));
            n->setVisible(v.numeros_entrada[r].has_value());
        }
    }
}

void planificar::capturar() {
    model.t_total = t_total->text();
    model.fitxer_so = fitxer_so->text();
    model.finestra_opcio = Option1[1]->isChecked() ? 1 : 0;
}

// ------------------------------------------------------------------ load and unload

void planificar::Form_Load() {
    EstatPlanificador& p = planificador();
    p.item_editat.resize(1);
    tradueix_formulari(this);
    model.escriure_desfer();
    model.item_ultim_mostrar();
    if (plataforma::motor_veu().present()) {
        fitxer_so->setEnabled(true);
        Label3[2]->setEnabled(true);
        if (activitat().carpeta_veu.isEmpty()) buto[3]->setEnabled(true);
    }
    const Activitat& a = activitat();
    model.tots_mal = a.tots_mal_global != 0 ? 1 : 0;
    p.sel_mal = false;
    model.tots_be = a.tots_be_global != 0 ? 1 : 0;
    p.sel_be = false;
    model.tots_estimul = a.tots_estimul_global != 0 ? 1 : 0;
    p.sel_est = false;
    {
        const QSignalBlocker b(atzar);
        atzar->setChecked(valor_inicial(a.mode_estimul) == 0);
    }
    p.visible = true;
    mostrar_model();
    menu1_Click(0);
}

void planificar::Form_Unload() {
    if (descarregat_) return;
    descarregat_ = true;
    descarregar_formularis({this});
    EstatJugador& j = jugador();
    if (!j.media_actual.isEmpty()) {
        QString buit;
        reproduir_media(buit);
    }
    if (model.pont.retards_confirmar) model.pont.retards_confirmar();
    capturar();
    model.item_desar(model.item_mostrat);
    if (Form1* f = Form1::instancia(); f && f->Image1 && f->centralWidget()) {
        const auto x = static_cast<int>(arrodonir_parell(f->Image1->width() / 2.0)) + j.marge_x;
        const auto y = static_cast<int>(arrodonir_parell(f->Image1->height() / 2.0)) + j.marge_y;
        plataforma::posar_cursor(f->centralWidget()->mapToGlobal(QPoint(x, y)));
    }
    j.estat_finestra = 2;
    planificador().visible = false;
    planificador().item_editat.resize(1);
}

void planificar::closeEvent(QCloseEvent* e) {
    Form_Unload();
    QDialog::closeEvent(e);
}

bool planificar::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::MouseButtonPress) {
        const int index = index_control(o);
        if (o->objectName() == QLatin1String("et_inf")) {
            et_inf_Click(index);
            return true;
        }
        for (int k = 1; k <= 5; ++k) {
            const auto& c = celles[static_cast<size_t>(k)];
            if (index < 1 || index >= static_cast<int>(c.size()) || c[static_cast<size_t>(index)] != o)
                continue;
            const int fila = (index - 1) / 7 + 1, columna = (index - 1) % 7 + 1;
            const QString& text = activitat().graella_celles[k][fila][columna];
            // The row's markers scroll it; the other cell commands come with
            // the cell editor.
            if (text == marca_seguent()) ord_seguent(fila, k);
            if (text == marca_anterior()) ord_anterior(fila, k);
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

// ------------------------------------------------------------------ pages

void planificar::mostrar_pagina(QFrame* pagina, int missatge) {
    etiqueta->setText(text_idioma(missatge));
    for (QFrame* f : {Frame0, Frame3, Frame1, Frame2[0], Frame2[1]})
        f->setVisible(f == pagina);
    Label2->show();
}

void planificar::mostrar_general() {
    for (QWidget* w :
         {static_cast<QWidget*>(Label2), static_cast<QWidget*>(HScroll1), static_cast<QWidget*>(etiqueta),
          static_cast<QWidget*>(Command1[5]), static_cast<QWidget*>(Command1[4])})
        w->show();
    for (QLabel* l : et_inf)
        l->show();
}

void planificar::menu1_Click(int Index) {
    mostrar_general();
    switch (Index) {
    case 0:
        mostrar_pagina(Frame0, 4);
        for (QLabel* l : et_inf)
            l->hide();
        break;
    case 2:
        mostrar_pagina(Frame3, 1);
        break;
    case 3:
        mostrar_pagina(Frame1, 2);
        break;
    default:
        break;
    }
}

void planificar::reaccions_Click(int Index) {
    if (Index == 3) mostrar_pagina(Frame2[0], 0);
    if (Index == 4) mostrar_pagina(Frame2[1], 3);
}

void planificar::et_inf_Click(int Index) {
    if (Index == 1 || Index == 2) menu1_Click(Index + 1);
    if (Index == 3 || Index == 4) reaccions_Click(Index);
}

void planificar::VScroll_Change(int k) {
    model.barra_canviada(k, barres[static_cast<size_t>(k)]->value());
    ordres_repinta(k);
}

void planificar::ord_seguent(int fila, int k) {
    model.ord_seguent(fila, k);
    ordres_repinta(k);
}

void planificar::ord_anterior(int fila, int k) {
    model.ord_anterior(fila, k);
    ordres_repinta(k);
}

void planificar::HScroll1_Change() {
    capturar();
    model.navegar(HScroll1->value());
    mostrar_model();
}

// ------------------------------------------------------------------ commands

void planificar::Command1_Click(int Index) {
    capturar();
    if (Index == 4) model.afegir();
    if (Index == 5) model.esborrar();
    mostrar_model();
}

void planificar::mn_acc_Click(int Index) {
    switch (Index) {
    case 0:
        Command1_Click(4);
        break;
    case 1:
        Command1_Click(5);
        break;
    case 2:
        model.copiar();
        mostrar_model();
        break;
    case 3:
        capturar();
        model.enganxar();
        mostrar_model();
        break;
    default:
        break;
    }
}

void planificar::amagar_si_sols_dos() {
    int formularis = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->objectName().isEmpty()) continue;
        if (qobject_cast<QDialog*>(w) || qobject_cast<QMainWindow*>(w)) ++formularis;
    }
    if (formularis == 2) planificador().visible = false;
}

void planificar::mn_disc_Click(int Index) {
    Activitat& a = activitat();
    amagar_si_sols_dos();
    switch (Index) {
    case 0:
        if (confirmar_descartar(this)) break;
        exercici_nou();
        model.item_ultim_mostrar();
        model.escriure_desfer();
        break;
    case 1: {
        if (confirmar_descartar(this)) break;
        const std::optional<QString> tria = triador_fitxer()(this, eleccio_activitat());
        if (!tria) break;
        // Older files take what they lack from a new activity.
        exercici_nou();
        carregar_exercici(QFileInfo(*tria).absoluteFilePath());
        if (Form1* f = Form1::instancia()) f->setWindowTitle(QStringLiteral("LUMIRAGA - ") + a.fitxer_actual);
        model.item_ultim_mostrar();
        model.escriure_desfer();
        break;
    }
    case 2:
        if (model.pont.retards_confirmar) model.pont.retards_confirmar();
        capturar();
        model.item_desar(model.item_mostrat);
        desar_activitat(this, Form1::instancia(), eleccio_activitat());
        break;
    default:
        break;
    }
    planificador().visible = true;
    mostrar_model();
}

void planificar::desfer_Click() {
    model.desfer();
    mostrar_model();
}

void planificar::mn_sortir_Click() {
    close();
}

void planificar::ajuda_Click() {
    obrir_ajuda();
}

void planificar::quant_a_Click() {
    mostrar_quant_a(this);
}

} // namespace lumi
