#include "planner/planificar.h"

#include "comuns/dialegs.h"
#include "comuns/encabir.h"
#include "comuns/formulari.h"
#include "comuns/icones.h"
#include "comuns/media_jugar.h"
#include "core/camins.h"
#include "core/fitxer_lrq.h"
#include "core/idioma.h"
#include "core/tipus_fitxer.h"
#include "core/vb.h"
#include "actions/ganxos_accions.h"
#include "planner/Finestra2.h"
#include "platform/imatges.h"
#include "platform/motor_veu.h"
#include "platform/pantalla.h"
#include "player/Form1.h"
#include "player/menus.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QCloseEvent>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QToolTip>
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
                        tradueix(QStringLiteral("Atencio"))) == QMessageBox::Ok;
    };
    // OK leads to the first SI_BE cell: a press and a double click on it, as
    // the user would; the check then asks again while the list is empty.
    model.pont.primera_reaccio = [this] {
        reaccions_Click(3);
        etiqueta->setText(text_idioma(0));
        model.ordres_repinta(SI_BE);
        cella_MouseDown(SI_BE, 1, Qt::LeftButton);
        cella_DblClick(SI_BE, 1);
        return true;
    };
    model.pont.retards_confirmar = [this] {
        for (size_t i = 0; i < 8; ++i)
            model.retard[i] = retard[i]->text();
        retard_LostFocus(7);
        // A file name still being typed is committed as its box's leaving would.
        if (fit_exer->hasFocus() && fit_exer->text() != model.fit_exer) fit_exer_LostFocus();
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
    connect(mn_czones, &QAction::triggered, this, [this] { mn_czones_Click(); });
    connect(mn_sortir, &QAction::triggered, this, [this] { mn_sortir_Click(); });

    mn_ajuda = anomenar(barra->addMenu(QStringLiteral("Ajuda")), QStringLiteral("mn_ajuda"));
    ajuda = anomenar(mn_ajuda->addAction(QString::fromUtf8("Índex")), QStringLiteral("ajuda"));
    quant_a = anomenar(mn_ajuda->addAction(QStringLiteral("Quant a..")), QStringLiteral("quant_a"));
    connect(ajuda, &QAction::triggered, this, [this] { ajuda_Click(); });
    connect(quant_a, &QAction::triggered, this, [this] { quant_a_Click(); });

    // The order popup lives in a menu the bar never shows.
    amagat = anomenar(barra->addMenu(QStringLiteral("amagat")), QStringLiteral("amagat"));
    amagat->menuAction()->setVisible(false);
    int i = 0;
    for (const char* t : {"Ordres", "Insertar", "Esborrar", "Copiar", "Enganxar"}) {
        QAction* a = anomenar(amagat->addAction(QString::fromUtf8(t)), QStringLiteral("menu2"), i);
        connect(a, &QAction::triggered, this, [this, i] { menu2_Click(i); });
        menu2[static_cast<size_t>(i)] = a;
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
    static const char* noms_inf[] = {"", "INFORMACIO", "inf_be", "inf_mal", "inf_accio"};
    for (int k = 1; k <= 4; ++k) {
        auto* l = anomenar(new QLabel(pagines[static_cast<size_t>(k)]), QString::fromLatin1(noms_inf[k]));
        l->setStyleSheet(QStringLiteral("background: #ffffe0; border: 1px solid gray;"));
        l->hide();
        inf[static_cast<size_t>(k)] = l;
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
    Label3[3] = etiq(3, QStringLiteral("Intents"), 330, 138, 60);
    intents = anomenar(new QLineEdit(g), QStringLiteral("intents"));
    intents->setGeometry(392, 138, 48, 22);
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

    titol_consigna = anomenar(new QLabel(g), QStringLiteral("titol_consigna"));
    titol_consigna->setGeometry(4, 412, 112, 22);
    // The hover label of the instruction row and of the background's picture and sound.
    inf_con = anomenar(new QLabel(g), QStringLiteral("inf_con"));
    inf_con->setStyleSheet(QStringLiteral("background: #ffffe0; border: 1px solid gray;"));
    inf_con->hide();
    crear_graella(CONSIGNA, g, QStringLiteral("ICO_SER"), 1, 120, 398);
    inf[CONSIGNA] = inf_con;
    connectar_general();
}

void planificar::connectar_general() {
    auto modificat = [] { activitat().exercici_modificat = CERT; };
    for (int i = 0; i < 8; ++i) {
        connect(retard[static_cast<size_t>(i)], &QLineEdit::textEdited, this, modificat);
        connect(retard[static_cast<size_t>(i)], &QLineEdit::editingFinished, this, [this, i] {
            // A box refused goes back to its stored time before the teacher is told.
            const QString escrit = retard[static_cast<size_t>(i)]->text();
            for (size_t j = 0; j < 8; ++j)
                model.retard[j] = retard[j]->text();
            retard_LostFocus(i);
            capturar();
            if (!numero_escrit(escrit)) avisar_no_nombre(this, escrit);
        });
    }
    connect(tots_temps, &QCheckBox::toggled, this, [this](bool b) {
        model.tots_temps = b ? 1 : 0;
        tots_temps_Click();
        capturar();
    });
    connect(t_total, &QLineEdit::textEdited, this, modificat);
    connect(t_total, &QLineEdit::editingFinished, this, [this] {
        const QString escrit = t_total->text();
        if (numero_escrit(escrit)) return capturar();
        t_total->setText(model.t_total);
        avisar_no_nombre(this, escrit);
    });
    connect(intents, &QLineEdit::textChanged, this, modificat);
    connect(atzar, &QCheckBox::toggled, this, [this](bool b) {
        model.atzar_Click(b);
        capturar();
    });
    for (int i = 0; i < 3; ++i)
        connect(Exer_seg[static_cast<size_t>(i)], &QRadioButton::clicked, this, [this, i] {
            model.Exer_seg_Click(i);
            refrescar();
        });
    // A name that would break the activity file cannot be typed.
    connect(fit_exer, &QLineEdit::textEdited, this, [this](const QString& t) {
        const QString a = avis_caracter(t);
        if (a.isEmpty()) {
            fit_exer->setToolTip(QString());
            return;
        }
        QString net = t;
        for (QChar c = caracter_prohibit(net); !c.isNull(); c = caracter_prohibit(net))
            net.remove(c);
        fit_exer->setText(net);
        fit_exer->setToolTip(a);
        QToolTip::showText(fit_exer->mapToGlobal(QPoint(0, fit_exer->height())), a, fit_exer);
    });
    connect(fit_exer, &QLineEdit::editingFinished, this, [this] { fit_exer_LostFocus(); });
    for (int i : {0, 1})
        connect(Option1[static_cast<size_t>(i)], &QRadioButton::clicked, this, [this, i] {
            model.Option1_Click(i);
            capturar();
        });
    connect(fitxer_so, &QLineEdit::editingFinished, this, [this] { capturar(); });
    for (int i = 0; i < 8; ++i)
        connect(buto[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { buto_Click(i); });
    IMG_fons->setMouseTracking(true);
    so->setMouseTracking(true);
    IMG_fons->installEventFilter(this);
    so->installEventFilter(this);
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
    for (int i = 0; i < 8; ++i) {
        retard[static_cast<size_t>(i)]->setText(model.retard[static_cast<size_t>(i)]);
        retard[static_cast<size_t>(i)]->setEnabled(model.retard_actiu[static_cast<size_t>(i)]);
    }
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
    IMG_fons->setToolTip(ruta_relativa(a.fitxer_imatge_fons));
    mostrar_so();
    titol_consigna->setText(text_idioma(16));

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
        // The model classified the cell already; action cells keep their frame.
        if (k != ACCIO) c[i]->setFrameStyle(QFrame::NoFrame);
        icona_posar(c[i], cella.tipus);
        c[i]->setToolTip(cella.text);
        c[i]->setVisible(cella.visible);
        if (k <= SI_MAL) {
            QLabel* n = numeros_ordre[static_cast<size_t>(k)][i];
            n->setText(v.numeros_ordre[i].value_or(QString()));
            n->setVisible(cella.visible && v.numeros_ordre[i].has_value());
            if (n->isVisible()) n->raise();
        }
    }
    // A mark stays on its cell while the cell still shows an order.
    const auto m = static_cast<size_t>(marcades_[static_cast<size_t>(k)]);
    if (m > 0 && m < c.size() && !c[m]->isHidden() && !v.celles[m].text.isEmpty())
        c[m]->setFrameStyle(QFrame::Panel | QFrame::Raised);
    else
        marcades_[static_cast<size_t>(k)] = 0;
    if (k <= SI_MAL) {
        for (size_t r = 1; r <= 4; ++r) {
            QLabel* n = numeros_entrada[static_cast<size_t>(k)][r];
            n->setText(v.numeros_entrada[r].value_or(QString()));
            n->setVisible(v.numeros_entrada[r].has_value());
        }
    }
}

void planificar::capturar() {
    if (numero_escrit(t_total->text())) model.t_total = t_total->text();
    model.fitxer_so = fitxer_so->text();
    model.finestra_opcio = Option1[1]->isChecked() ? 1 : 0;
    // Every command starts and ends here, and every change of the general
    // page ends here: each is a step of its own for "Desfer".
    model.punt_desfer();
}

// ------------------------------------------------------------------ load and unload

void planificar::Form_Load() {
    EstatPlanificador& p = planificador();
    p.item_editat.resize(1);
    tradueix_formulari(this);
    encabir_captions(this);
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
        const auto x = static_cast<int>(arrodonir_parell(f->Image1->width() / 2.0 + j.marge_x));
        const auto y = static_cast<int>(arrodonir_parell(f->Image1->height() / 2.0 + j.marge_y));
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
    const QEvent::Type t = e->type();
    const bool ratoli = t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick ||
                        t == QEvent::MouseMove || t == QEvent::MouseButtonRelease;
    if (!ratoli) return QDialog::eventFilter(o, e);
    auto* m = static_cast<QMouseEvent*>(e);
    const int index = index_control(o);
    if (o->objectName() == QLatin1String("et_inf")) {
        if (t == QEvent::MouseButtonPress) et_inf_Click(index);
        return t == QEvent::MouseButtonPress;
    }
    if (o == IMG_fons || o == so) {
        if (t == QEvent::MouseMove) {
            const Activitat& a = activitat();
            const QString text = ruta_relativa(o == IMG_fons ? a.fitxer_imatge_fons : a.fitxer_so_fons);
            inf_con->setText(text);
            inf_con->adjustSize();
            auto* w = static_cast<QWidget*>(o);
            inf_con->move(w->x(), w->y() + w->height());
            inf_con->setVisible(!text.isEmpty());
            inf_con->raise();
        }
        if (o == so && t == QEvent::MouseButtonPress) so_Click();
        return false;
    }
    for (int k = 1; k <= 5; ++k) {
        const auto& c = celles[static_cast<size_t>(k)];
        if (index < 1 || index >= static_cast<int>(c.size()) || c[static_cast<size_t>(index)] != o) continue;
        switch (t) {
        case QEvent::MouseButtonPress:
            cella_MouseDown(k, index, m->button());
            break;
        case QEvent::MouseButtonDblClick:
            if (m->button() == Qt::LeftButton) cella_DblClick(k, index);
            break;
        case QEvent::MouseMove:
            cella_MouseMove(k, index, m->buttons());
            break;
        default: {
            // The drag ends over the cell under the pointer, if any.
            if (!arrossegant()) break;
            const QWidget* sota = QApplication::widgetAt(m->globalPosition().toPoint());
            int kd = 0, desti = 0;
            for (int l = 1; l <= 5 && sota; ++l) {
                const auto& cl = celles[static_cast<size_t>(l)];
                const int i = index_control(sota);
                if (i >= 1 && i < static_cast<int>(cl.size()) && cl[static_cast<size_t>(i)] == sota) {
                    kd = l;
                    desti = i;
                }
            }
            cella_DragDrop(kd, desti);
            break;
        }
        }
        return true;
    }
    return QDialog::eventFilter(o, e);
}

// ------------------------------------------------------------------ cells

void planificar::marcar(int k, int Index) {
    const auto& c = celles[static_cast<size_t>(k)];
    if (Index < 0 || Index >= static_cast<int>(c.size())) return;
    icona_marcar(c, Index);
    marcades_[static_cast<size_t>(k)] = Index;
    if (arrossegament_.k == k) arrossegament_ = {};
    if (Index == 0) c[0]->setFrameStyle(QFrame::NoFrame);
}

void planificar::posar_sel(int k, bool valor) {
    EstatPlanificador& p = planificador();
    if (k == ESTIMULS) p.sel_est = valor;
    if (k == SI_BE) p.sel_be = valor;
    if (k == SI_MAL) p.sel_mal = valor;
    if (k == ACCIO) sel_acc = valor;
    if (k == CONSIGNA) sel_cons = valor;
}

int planificar::llista_sel() const {
    const EstatPlanificador& p = planificador();
    int k = 0;
    for (auto [l, sel] :
         {std::pair{ESTIMULS, p.sel_est}, std::pair{SI_BE, p.sel_be}, std::pair{SI_MAL, p.sel_mal},
          std::pair{ACCIO, sel_acc}, std::pair{CONSIGNA, sel_cons}})
        if (sel) k = l;
    return k;
}

void planificar::refrescar() {
    capturar();
    mostrar_model();
}

void planificar::cella_MouseDown(int k, int Index, Qt::MouseButton boto) {
    const int fila = fila_cella(Index), columna = columna_cella(Index);
    const QString text = model.text_cella(k, Index);
    if (boto == Qt::LeftButton) {
        editor_de_premsa_ = false;
        if (text == marca_seguent()) return ord_seguent(fila, k);
        if (text == marca_anterior()) return ord_anterior(fila, k);
        if (text.isEmpty()) {
            marcar(k, 0);
            if (!model.punt_insercio(k, fila, columna, true)) return;
            marcar(k, Index);
            posar_sel(k, true);
            index_actual_ = Index;
            if (k == ACCIO) {
                ACC_Click(-1);
            } else {
                menu2_Click(0);
                editor_de_premsa_ = true;
            }
            posar_sel(k, false);
            return;
        }
        if (marcada(k) != Index) return marcar(k, Index);
        // A marked cell: the drag starts with the first move, so that a
        // second click still makes a double click.
        if (k != ACCIO || activitat().graella_comptes[ACCIO][fila][1] >= 2) arrossegament_ = {k, Index};
        return;
    }
    if (boto != Qt::RightButton) return;
    const bool refusat = (text.isEmpty() && !model.punt_insercio(k, fila, columna, false)) ||
                         model.es_marca(text) || (k == ACCIO && !model.accio_popup_permes(Index));
    if (refusat) {
        if (k == SI_BE || k == SI_MAL) marcar(k, 0);
        return;
    }
    if (k != ACCIO) marcar(k, Index);
    posar_sel(k, true);
    index_actual_ = Index;
    amagat_Click();
    if (k == ACCIO)
        for (int i : {1, 3, 4})
            menu2[static_cast<size_t>(i)]->setEnabled(false);
    amagat->exec(QCursor::pos());
    for (int i : {1, 2, 3})
        menu2[static_cast<size_t>(i)]->setEnabled(true);
    posar_sel(k, false);
}

void planificar::cella_MouseMove(int k, int Index, Qt::MouseButtons botons) {
    QString text = model.text_cella(k, Index);
    QLabel* etiqueta_inf = inf[static_cast<size_t>(k)];
    if (k == ACCIO && !text.isEmpty())
        text = text.startsWith(QChar(0xB5)) ? text.mid(1, text.size() - 2) : u'{' + text + u'}';
    if (etiqueta_inf) {
        etiqueta_inf->setText(text);
        etiqueta_inf->adjustSize();
    }
    if (text.isEmpty()) {
        if (etiqueta_inf) etiqueta_inf->hide();
        return;
    }
    if (botons == Qt::NoButton) {
        if (!etiqueta_inf) return;
        const QLabel* cella = celles[static_cast<size_t>(k)][static_cast<size_t>(Index)];
        etiqueta_inf->move(cella->x(), cella->y() + cella->height());
        etiqueta_inf->show();
        etiqueta_inf->raise();
        return;
    }
    if (!(botons & Qt::LeftButton) && k != ACCIO) return;
    if (model.es_marca(model.text_cella(k, Index))) return;
    if (arrossegament_.k == 0) {
        if (marcada(k) != Index) marcar(k, Index);
        if (k != ACCIO || activitat().graella_comptes[ACCIO][fila_cella(Index)][1] >= 2)
            arrossegament_ = {k, Index};
    }
    if (arrossegament_.k != 0)
        celles[static_cast<size_t>(k)][static_cast<size_t>(Index)]->setCursor(Qt::DragMoveCursor);
}

void planificar::cella_DragDrop(int k, int desti) {
    const auto origen = arrossegament_;
    arrossegament_ = {};
    if (origen.k == 0) return;
    celles[static_cast<size_t>(origen.k)][static_cast<size_t>(origen.index)]->unsetCursor();
    if (k == 0 || desti == origen.index) return;
    // The undo snapshot takes the general page's boxes as they are.
    capturar();
    const bool fet = k == ACCIO ? model.accio_DragDrop(desti, origen.index, origen.k)
                                : model.ord_DragDrop(desti, origen.index, k, origen.k);
    if (fet) refrescar();
}

void planificar::cella_DblClick(int k, int Index) {
    // The press before it already opened an editor on this cell.
    if (editor_de_premsa_) {
        editor_de_premsa_ = false;
        return;
    }
    arrossegament_ = {};
    if (marcada(k) != Index) return;
    capturar();
    const QString text = model.text_cella(k, Index);
    if (k == ACCIO) {
        sel_acc = true;
        if (text.isEmpty())
            ACC_Click(-1);
        else if (const int pagina = ModelPlanificador::pagina_accio(text); pagina >= 0)
            ACC_Click(pagina);
        sel_acc = false;
        ordres_repinta(ACCIO);
        return;
    }
    posar_sel(k, true);
    index_actual_ = Index;
    editor_obrir(k, Index, text, true);
    posar_sel(k, false);
    refrescar();
}

bool planificar::editor_obrir(int k, int Index, const QString& contingut, bool doble_clic) {
    const int fila = fila_cella(Index), columna = columna_cella(Index);
    const int inici = activitat().graella_comptes[k][fila][0];
    Finestra2 f(this, etiqueta->text(), fila, columna);
    f.Text1->setText(contingut);
    if (doble_clic && !retallar(contingut).isEmpty())
        f.Text1_DblClick();
    else
        triadors_ordres().modal(f);
    if (!f.desat || *f.desat == contingut) return false;
    model.ordre_editada(Index, k, *f.desat, !contingut.isEmpty(), inici);
    return true;
}

void planificar::amagat_Click() {
    menu2[4]->setEnabled(!model.portapapers().isEmpty());
}

void planificar::menu2_Click(int Index) {
    const int k = llista_sel();
    if (k == 0 || index_actual_ < 1) return;
    capturar();
    const QString contingut = Index == 1 ? QString() : model.text_cella(k, index_actual_);
    switch (Index) {
    case 0:
    case 1:
        if (k == ACCIO) {
            ACC_Click(-1);
            sel_acc = false;
            ordres_repinta(ACCIO);
            return;
        }
        marcar(k, index_actual_);
        editor_obrir(k, index_actual_, contingut, false);
        posar_sel(k, false);
        break;
    case 2:
        model.menu2_esborrar(index_actual_, k);
        break;
    case 3:
        if (model.menu2_copiar(index_actual_, k)) menu2[4]->setEnabled(true);
        break;
    case 4:
        model.menu2_enganxar(index_actual_, k);
        menu2[4]->setEnabled(!model.portapapers().isEmpty());
        break;
    default:
        break;
    }
    refrescar();
}

void planificar::ACC_Click(int Index) {
    // The action editor opens on the page; until it exists nothing opens.
    if (!obrir_editor_accions()) return;
    capturar();
    descarregar_formularis({this});
    obrir_editor_accions()(Index, Index < 0 || Index == 5 ? etiqueta->text()
                                                          : ModelPlanificador::titol_accions(Index));
    if (Index == 4) return capturar();
    model.accions_llista_omplir();
    refrescar();
}

// ------------------------------------------------------------------ general page

void planificar::retard_LostFocus(int Index) {
    model.retard_LostFocus(Index);
    for (size_t i = 0; i < 8; ++i) {
        const QSignalBlocker b(retard[i]);
        retard[i]->setText(model.retard[i]);
    }
}

void planificar::tots_temps_Click() {
    model.tots_temps_Click();
    for (size_t i = 0; i < 8; ++i)
        retard[i]->setEnabled(model.retard_actiu[i]);
}

void planificar::fit_exer_LostFocus() {
    model.fit_exer = fit_exer->text();
    model.fit_exer_LostFocus();
    refrescar();
}

void planificar::mostrar_so() {
    const Activitat& a = activitat();
    so->setToolTip(ruta_relativa(a.fitxer_so_fons));
    if (a.fitxer_so_fons.isEmpty()) {
        so->clear();
        so->setFrameStyle(QFrame::NoFrame);
        return;
    }
    icona_recurs(QStringLiteral("so.wav"), so);
    // Sunken while a preview plays.
    so->setFrameStyle(so_sonant_ ? QFrame::Panel | QFrame::Sunken : QFrame::Panel | QFrame::Raised);
}

void planificar::so_Click() {
    const Activitat& a = activitat();
    if (so_sonant_) {
        so_sonant_ = false;
        mostrar_so();
        so->repaint();
        QString buit;
        reproduir_media(buit);
        return;
    }
    const TipusFitxer tipus = tipus_de_nom(a.fitxer_so_fons);
    QString cami = resoldre_fitxer(a.fitxer_so_fons);
    if (tipus == TipusFitxer::wav) {
        so_sonant_ = true;
        mostrar_so();
        so->setEnabled(false);
        so->repaint();
        reproduir_so(cami);
        so_sonant_ = false;
        mostrar_so();
        so->setEnabled(true);
        so->repaint();
    } else if (tipus == TipusFitxer::mid || tipus == TipusFitxer::mp3) {
        so_sonant_ = true;
        mostrar_so();
        so->repaint();
        reproduir_media(cami);
    }
}

void planificar::buto_Click(int Index) {
    Activitat& a = activitat();
    TriadorsOrdres& t = triadors_ordres();
    capturar();
    switch (Index) {
    case 0:
        model.exercici_triat(t.fitxers(QString(), this, text_idioma(37)));
        break;
    case 1:
        if (const QString c = t.color(this, QString::number(a.color_fons)); !c.isEmpty()) {
            a.color_fons = static_cast<int32_t>(valor_inicial(c));
            a.exercici_modificat = CERT;
        }
        break;
    case 2:
        t.font(this, planificador().font_editada);
        break;
    case 3:
        if (const QString r = t.fitxers(QString(), this, text_idioma(9)); !r.isEmpty()) {
            model.fitxer_so = r;
            fitxer_so->setText(r);
            if (veu_obrir_paraules_carpeta() && veu_obrir_paraules_carpeta()(r)) buto[3]->setEnabled(false);
        }
        break;
    case 4:
        if (const QString c = t.color(this, QString::number(a.font.color)); !c.isEmpty()) {
            a.font.color = static_cast<int32_t>(valor_inicial(c));
            planificador().font_editada.color = a.font.color;
            a.exercici_modificat = CERT;
        }
        break;
    case 5: {
        so_sonant_ = false;
        QString buit;
        reproduir_media(buit);
        // Cancel clears the sound: the page's one way to remove it.
        const QString r = t.fitxers(a.fitxer_so_fons, this, text_idioma(40));
        if (r != a.fitxer_so_fons) a.exercici_modificat = CERT;
        a.fitxer_so_fons = r;
        break;
    }
    case 6: {
        // Cancel clears the picture, as for the sound.
        const QString r = t.fitxers(a.fitxer_imatge_fons, this, text_idioma(34));
        if (r != a.fitxer_imatge_fons) a.exercici_modificat = CERT;
        a.fitxer_imatge_fons = r;
        break;
    }
    case 7:
        model.exercici_esborrar();
        break;
    default:
        break;
    }
    refrescar();
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
        if (Form1* f = Form1::instancia()) f->setWindowTitle(titol_activitat());
        model.item_ultim_mostrar();
        model.escriure_desfer();
        break;
    }
    case 2:
        if (model.pont.retards_confirmar) model.pont.retards_confirmar();
        capturar();
        model.item_desar(model.item_mostrat);
        model.veure();
        desar_activitat(this, Form1::instancia(), eleccio_activitat());
        break;
    default:
        break;
    }
    planificador().visible = true;
    mostrar_model();
}

void planificar::desfer_Click() {
    capturar();
    model.desfer();
    mostrar_model();
}

void planificar::mn_czones_Click() {
    // The action editor in its full-screen zone mode (page 4 of the bridge).
    if (!obrir_editor_accions()) return;
    capturar();
    descarregar_formularis({this});
    obrir_editor_accions()(4, text_idioma(78));
    capturar();
}

void planificar::mn_sortir_Click() {
    close();
}

void planificar::ajuda_Click() {
    obrir_ajuda(this);
}

void planificar::quant_a_Click() {
    mostrar_quant_a(this);
}

} // namespace lumi
