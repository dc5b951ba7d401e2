#include "actions/ACCIONS.h"

#include "actions/captions_accions.h"
#include "comuns/dialegs.h"
#include "comuns/formulari.h"
#include "comuns/icones.h"
#include "core/idioma.h"
#include "devices/modul_veu.h"
#include "platform/motor_veu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDrag>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace lumi {

namespace {

// Designed captions of the on-screen keyboard.
constexpr std::array<const char*, 37> TECLAT_PANTALLA{
    "F12",     "Ins",   "Inici", "Re.Pg",       "F2",        "Supr",        "Fi",   "Av.Pg", "F3", "Tab",
    "Retr",    "ALT",   "F4",    "Bloq. Mayús", "Bloq. Núm", "Bloc. Despl", "F5",   "←",     "↑",  "→",
    "Control", "Pausa", "↓",     "↵",           "F6",        "⇑",           "F11",  "F10",   "F9", "F8",
    "F1",      "F7",    "AltGr", "Win. Esqu",   "Win. Dret", "Win. Menú",   "ESPAI"};

void omplir_llista(QListWidget* l, const QStringList& v) {
    const QSignalBlocker b(l);
    if (l->count() == v.size()) {
        bool igual = true;
        for (int i = 0; i < v.size() && igual; ++i)
            igual = l->item(i)->text() == v[i];
        if (igual) return;
    }
    l->clear();
    l->addItems(v);
}

void omplir_combo(QComboBox* c, const QStringList& v) {
    const QSignalBlocker b(c);
    c->clear();
    c->addItems(v);
    c->setCurrentIndex(0);
}

bool es_esborrar(int tecla) {
    return tecla == Qt::Key_Delete || tecla == Qt::Key_Backspace;
}

} // namespace

ACCIONS::ACCIONS(item& it, Activitat& a, EstatDispositius& d, QWidget* pare)
    : QDialog(pare), model(it, a, d) {
    setObjectName(QStringLiteral("ACCIONS"));
    construir();
    // Load: the captions, then the fill.
    tradueix_formulari(this);
    for (int i = 0; i <= 10; ++i)
        teclat[static_cast<size_t>(i)]->setText(caption_accions(QStringLiteral("teclat"), i));
    for (int i = 0; i <= 2; ++i)
        ratoli[static_cast<size_t>(i)]->setText(caption_accions(QStringLiteral("ratoli"), i));
    for (int i = 0; i <= 10; ++i)
        web[static_cast<size_t>(i)]->setText(caption_accions(QStringLiteral("web"), i));
    for (int i = 0; i <= 7; ++i)
        jostick[static_cast<size_t>(i)]->setText(caption_accions(QStringLiteral("jostick"), i));
    model.carregar();
    const bool motor = plataforma::motor_veu().present();
    for (QWidget* w : std::initializer_list<QWidget*>{CommandEntrenament, CommandObrir, sons, decimes})
        w->setEnabled(motor);
    const bool preparat = model.d.motor_veu_preparat != 0;
    for (QPushButton* b : {CommandGuardar, CommandVeureLesFuncions, CommandControlDelVolum})
        b->setEnabled(preparat);
    if (preparat) CommandObrir->setEnabled(motor);
    omplir_combo(tria_zones_mouse, model.tria_zones_mouse);
    omplir_combo(tria_zones_web, model.tria_zones_web);
    omplir_combo(veu1, model.veu1);
    decimes->setText(model.decimes);
    sincronitzar();
}

void ACCIONS::construir() {
    auto* arrel = new QVBoxLayout(this);
    auto boto = [](const QString& t, const QString& nom, int index, QWidget* pare) {
        auto* b = anomenar(new QPushButton(t, pare), nom, index);
        b->setAutoDefault(false);
        return b;
    };
    auto caixa = [](const QString& nom, int index, QWidget* pare) {
        return anomenar(new QCheckBox(pare), nom, index);
    };
    for (int p = 0; p < 7; ++p) {
        Frame1[static_cast<size_t>(p)] = anomenar(new QWidget(this), QStringLiteral("Frame1"), p);
        arrel->addWidget(Frame1[static_cast<size_t>(p)]);
        Frame1[static_cast<size_t>(p)]->hide();
    }
    // Page buttons bar.
    {
        auto* f = Frame1[5];
        auto* l = new QHBoxLayout(f);
        const std::array<const char*, 5> t{"Teclat", "Ratolí", "Joystick", "So", "Web"};
        for (int i = 2; i <= 6; ++i) {
            Canc[static_cast<size_t>(i)] =
                boto(QString::fromUtf8(t[static_cast<size_t>(i - 2)]), QStringLiteral("Canc"), i, f);
            l->addWidget(Canc[static_cast<size_t>(i)]);
            connect(Canc[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { Canc_Click(i); });
        }
    }
    // Keys page.
    {
        auto* f = Frame1[1];
        auto* g = new QGridLayout(f);
        for (int i = 0; i <= 9; ++i) {
            teclat[static_cast<size_t>(i)] = caixa(QStringLiteral("teclat"), i, f);
            g->addWidget(teclat[static_cast<size_t>(i)], i % 5, i / 5);
        }
        g->addWidget(anomenar(new QLabel(QStringLiteral("Tecles"), f), QStringLiteral("Label4")), 0, 2);
        tecles = anomenar(new QListWidget(f), QStringLiteral("tecles"));
        tecles->installEventFilter(this);
        g->addWidget(tecles, 1, 2, 4, 1);
        g->addWidget(anomenar(new QLabel(QStringLiteral("Llista de Tecles"), f), QStringLiteral("Label5")), 5,
                     0);
        llista_tecles = anomenar(new QLineEdit(f), QStringLiteral("llista_tecles"));
        g->addWidget(llista_tecles, 5, 1);
        ok_text = boto(QStringLiteral("acceptar"), QStringLiteral("ok_text"), -1, f);
        ok_text->setEnabled(false);
        g->addWidget(ok_text, 5, 2);
        auto* tp = new QGridLayout;
        for (int i = 0; i <= 36; ++i) {
            Command1[static_cast<size_t>(i)] = boto(
                QString::fromUtf8(TECLAT_PANTALLA[static_cast<size_t>(i)]), QStringLiteral("Command1"), i, f);
            tp->addWidget(Command1[static_cast<size_t>(i)], i / 10, i % 10);
            connect(Command1[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] {
                model.teclat_pantalla(i);
                sincronitzar();
            });
        }
        g->addLayout(tp, 6, 0, 1, 3);
        connect(llista_tecles, &QLineEdit::textChanged, this,
                [this](const QString& t) { ok_text->setEnabled(!t.isEmpty()); });
        auto ok = [this] {
            const QString t = llista_tecles->text();
            llista_tecles->clear();
            model.ok_text(t);
            sincronitzar();
        };
        connect(ok_text, &QPushButton::clicked, this, ok);
        connect(llista_tecles, &QLineEdit::returnPressed, this, ok);
    }
    // Mouse page.
    {
        auto* f = Frame1[0];
        auto* g = new QGridLayout(f);
        for (int i = 0; i <= 2; ++i) {
            ratoli[static_cast<size_t>(i)] = caixa(QStringLiteral("ratoli"), i, f);
            g->addWidget(ratoli[static_cast<size_t>(i)], i, 0);
        }
        mouse[1] = boto(QStringLiteral("Clic esquerre"), QStringLiteral("mouse"), 1, f);
        mouse[2] = boto(QStringLiteral("Clic dret"), QStringLiteral("mouse"), 2, f);
        g->addWidget(mouse[1], 1, 1);
        g->addWidget(mouse[2], 2, 1);
        tria_zones_mouse = anomenar(new QComboBox(f), QStringLiteral("tria_zones_mouse"));
        Llista_zones_mouse = anomenar(new QListWidget(f), QStringLiteral("Llista_zones_mouse"));
        Llista_zones_mouse->installEventFilter(this);
        g->addWidget(tria_zones_mouse, 3, 0);
        g->addWidget(Llista_zones_mouse, 4, 0, 1, 2);
        g->addWidget(boto(QStringLiteral("Crea Zones"), QStringLiteral("CREAR_ZONES"), 0, f), 3, 1);
    }
    // Webcam page.
    {
        auto* f = Frame1[6];
        auto* g = new QGridLayout(f);
        const std::array<const char*, 11> b{
            "", "Clic web cam", "Fora web cam", "↖", "↑", "↗", "→", "↘", "↓", "↙", "←"};
        for (int i = 0; i <= 10; ++i) {
            web[static_cast<size_t>(i)] = caixa(QStringLiteral("web"), i, f);
            g->addWidget(web[static_cast<size_t>(i)], i % 6, i / 6);
            if (i == 0) continue;
            B_web[static_cast<size_t>(i)] =
                boto(QString::fromUtf8(b[static_cast<size_t>(i)]), QStringLiteral("B_web"), i, f);
            g->addWidget(B_web[static_cast<size_t>(i)], 6 + (i - 1) / 5, (i - 1) % 5);
        }
        tria_zones_web = anomenar(new QComboBox(f), QStringLiteral("tria_zones_web"));
        Llista_zones_web = anomenar(new QListWidget(f), QStringLiteral("Llista_zones_web"));
        Llista_zones_web->installEventFilter(this);
        g->addWidget(tria_zones_web, 0, 2);
        g->addWidget(Llista_zones_web, 1, 2, 4, 1);
        g->addWidget(boto(QStringLiteral("Crea Zones"), QStringLiteral("CREAR_ZONES"), 1, f), 5, 2);
    }
    // Joystick page.
    {
        auto* f = Frame1[2];
        auto* g = new QGridLayout(f);
        const std::array<const char*, 8> b{"↑", "↓", "→", "←", "1", "2", "3", "4"};
        for (int i = 0; i <= 7; ++i) {
            jostick[static_cast<size_t>(i)] = caixa(QStringLiteral("jostick"), i, f);
            g->addWidget(jostick[static_cast<size_t>(i)], i % 4, i / 4 * 2);
            joy[static_cast<size_t>(i)] =
                boto(QString::fromUtf8(b[static_cast<size_t>(i)]), QStringLiteral("joy"), i, f);
            g->addWidget(joy[static_cast<size_t>(i)], i % 4, i / 4 * 2 + 1);
        }
    }
    // Sound and voice page.
    {
        auto* f = Frame1[3];
        auto* g = new QGridLayout(f);
        niv_so = anomenar(new QCheckBox(QStringLiteral("Nivell de so (0-128)"), f), QStringLiteral("niv_so"));
        g->addWidget(niv_so, 0, 0);
        for (int i = 0; i < 2; ++i) {
            nivell_so[static_cast<size_t>(i)] =
                anomenar(new QLineEdit(i ? QStringLiteral("128") : QStringLiteral("0"), f),
                         QStringLiteral("nivell_so"), i);
            nivell_so[static_cast<size_t>(i)]->installEventFilter(this);
            g->addWidget(nivell_so[static_cast<size_t>(i)], 0, 1 + i);
        }
        Command2 = boto(QStringLiteral("Intensitat de so (0-128)"), QStringLiteral("Command2"), -1, f);
        g->addWidget(Command2, 1, 0);
        veu1 = anomenar(new QComboBox(f), QStringLiteral("veu1"));
        llista_veu = anomenar(new QListWidget(f), QStringLiteral("llista_veu"));
        llista_veu->installEventFilter(this);
        sons = anomenar(new QLabel(f), QStringLiteral("sons"));
        decimes = anomenar(new QLineEdit(f), QStringLiteral("decimes"));
        g->addWidget(veu1, 2, 0);
        g->addWidget(llista_veu, 3, 0, 3, 1);
        g->addWidget(sons, 2, 1, 1, 2);
        g->addWidget(anomenar(new QLabel(QStringLiteral("Dècimes"), f), QStringLiteral("Label1"), 6), 3, 1);
        g->addWidget(decimes, 3, 2);
        CommandEntrenament =
            boto(QStringLiteral("&Crear Patrons"), QStringLiteral("CommandEntrenament"), -1, f);
        CommandObrir = boto(QStringLiteral("&Obrir"), QStringLiteral("CommandObrir"), -1, f);
        CommandGuardar = boto(QStringLiteral("&Guardar"), QStringLiteral("CommandGuardar"), -1, f);
        CommandVeureLesFuncions =
            boto(QStringLiteral(" &Millorar Patrons"), QStringLiteral("CommandVeureLesFuncions"), -1, f);
        CommandControlDelVolum =
            boto(QStringLiteral("Control del &volum"), QStringLiteral("CommandControlDelVolum"), -1, f);
        int fila = 4;
        for (QPushButton* b : {CommandEntrenament, CommandObrir, CommandGuardar, CommandVeureLesFuncions,
                               CommandControlDelVolum})
            g->addWidget(b, fila++, 1, 1, 2);
    }
    Frame1[4]->setFixedSize(0, 0);
    // Under every page.
    teclat[10] = caixa(QStringLiteral("teclat"), 10, this);
    arrel->addWidget(teclat[10]);
    auto* icones = new QHBoxLayout;
    for (int i : {8, 1, 2, 3, 4, 5, 6, 7, 9}) {
        auto* l = anomenar(new QLabel(this), QStringLiteral("ICO_SER"), i);
        l->setFixedSize(40, 40);
        l->setAlignment(Qt::AlignCenter);
        l->setMouseTracking(true);
        l->setAcceptDrops(true);
        l->installEventFilter(this);
        ICO_SER[static_cast<size_t>(i)] = l;
        icones->addWidget(l);
    }
    ICO_SER[8]->setText(QStringLiteral("◀"));
    ICO_SER[9]->setText(QStringLiteral("▶"));
    ICO_SER[0] = anomenar(new QLabel(this), QStringLiteral("ICO_SER"), 0);
    ICO_SER[0]->hide();
    arrel->addLayout(icones);
    Paraula = anomenar(new QLineEdit(this), QStringLiteral("Paraula"));
    arrel->addWidget(Paraula);
    INFORMACIO = anomenar(new QLabel(this), QStringLiteral("INFORMACIO"));
    INFORMACIO->setStyleSheet(QStringLiteral("background: #ffffe1; border: 1px solid black"));
    INFORMACIO->hide();
    auto* tancar = new QHBoxLayout;
    Canc[0] = boto(QStringLiteral("Cancel·lar"), QStringLiteral("Canc"), 0, this);
    Canc[1] = boto(QStringLiteral("Acceptar"), QStringLiteral("Canc"), 1, this);
    tancar->addWidget(Canc[0]);
    tancar->addWidget(Canc[1]);
    arrel->addLayout(tancar);
    connect(Canc[0], &QPushButton::clicked, this, [this] { Canc_Click(0); });
    connect(Canc[1], &QPushButton::clicked, this, [this] { Canc_Click(1); });

    // Handlers: each writes through the model, then the controls follow.
    for (int i = 0; i <= 10; ++i)
        connect(teclat[static_cast<size_t>(i)], &QCheckBox::clicked, this, [this, i](bool v) {
            model.teclat_click(i, v ? 1 : 0);
            sincronitzar();
        });
    for (int i = 0; i <= 2; ++i)
        connect(ratoli[static_cast<size_t>(i)], &QCheckBox::clicked, this,
                [this, i](bool v) { model.ratoli_click(i, v ? 1 : 0); });
    for (int i = 0; i <= 10; ++i)
        connect(web[static_cast<size_t>(i)], &QCheckBox::clicked, this,
                [this, i](bool v) { model.web_click(i, v ? 1 : 0); });
    for (int i = 0; i <= 7; ++i)
        connect(jostick[static_cast<size_t>(i)], &QCheckBox::clicked, this,
                [this, i](bool v) { model.jostick_click(i, v ? 1 : 0); });
    auto token = [this](const QString& control, int i) {
        model.cursor = Paraula->cursorPosition();
        model.seleccio = Paraula->hasSelectedText() ? static_cast<int>(Paraula->selectedText().size()) : 0;
        if (Paraula->hasSelectedText()) model.cursor = Paraula->selectionStart();
        model.boto_token(control, i);
        sincronitzar();
    };
    for (int i = 1; i <= 2; ++i)
        connect(mouse[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [token, i] { token(QStringLiteral("mouse"), i); });
    for (int i = 0; i <= 7; ++i)
        connect(joy[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [token, i] { token(QStringLiteral("joy"), i); });
    for (int i = 1; i <= 10; ++i)
        connect(B_web[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [token, i] { token(QStringLiteral("web"), i); });
    connect(Command2, &QPushButton::clicked, this, [token] { token(QStringLiteral("so"), 0); });
    auto zona = [this](bool w, int i) {
        if (i <= 0) return;
        model.cursor = Paraula->cursorPosition();
        model.seleccio = 0;
        model.tria_zona(w, i);
        sincronitzar();
    };
    connect(tria_zones_mouse, &QComboBox::activated, this, [zona](int i) { zona(false, i); });
    connect(tria_zones_web, &QComboBox::activated, this, [zona](int i) { zona(true, i); });
    connect(veu1, &QComboBox::activated, this, [this](int i) {
        model.cursor = Paraula->cursorPosition();
        model.seleccio = 0;
        model.veu_triar(i);
        if (!model.serie_marcada()) {
            const QSignalBlocker b(veu1);
            veu1->setCurrentIndex(0);
        }
        sincronitzar();
    });
    connect(niv_so, &QCheckBox::clicked, this, [this](bool v) {
        model.niv_so_click(v ? 1 : 0);
        sincronitzar();
    });
    for (int i = 0; i < 2; ++i)
        connect(nivell_so[static_cast<size_t>(i)], &QLineEdit::textEdited, this, [this, i](const QString& t) {
            model.nivell_so_canviar(i, t);
            sincronitzar();
        });
    connect(decimes, &QLineEdit::textChanged, this, [this](const QString& t) { model.decimes = t; });
    connect(Paraula, &QLineEdit::textEdited, this, [this](const QString& t) {
        const int c = Paraula->cursorPosition();
        model.posar_paraula(t);
        model.cursor = c;
        sincronitzar();
    });
    // The engine's tools.
    connect(CommandEntrenament, &QPushButton::clicked, this, [this] {
        engine_unitat([this] {
            CommandControlDelVolum->setEnabled(true);
            plataforma::motor_veu().IniciarEntrenament();
            model.d.motor_veu_preparat = FALS;
        });
    });
    connect(CommandObrir, &QPushButton::clicked, this, [this] {
        engine_unitat([this] {
            if (plataforma::motor_veu().ObrirFitxer() == 0) return;
            model.d.motor_veu_preparat = CERT;
            plataforma::motor_veu().CopiarSonsQueSeReconeixerALaCarpeta();
            // The opened set's words, from the engine rather than the clipboard.
            model.sons = plataforma::motor_veu().SonsQueSeReconeixen();
            for (QPushButton* b : {CommandVeureLesFuncions, CommandGuardar, CommandControlDelVolum})
                b->setEnabled(true);
            sincronitzar();
        });
    });
    connect(CommandGuardar, &QPushButton::clicked, this,
            [] { plataforma::motor_veu().GuardarFitxerReconeixementDeParaules(); });
    connect(CommandVeureLesFuncions, &QPushButton::clicked, this,
            [] { plataforma::motor_veu().VeureFinestraGrafiques(); });
    connect(CommandControlDelVolum, &QPushButton::clicked, this,
            [] { plataforma::motor_veu().VeureNivellDeSo(); });
}

void ACCIONS::engine_unitat(const std::function<void()>& seguir) {
    model.a.paraules_veu[0] = model.sons.isEmpty() ? QStringLiteral("A,AE,È,É,I,O,U") : model.sons;
    model.desar_decimes();
    if (!model.d.veu_activa) {
        model.d.veu_activa = veu_iniciar_unitat() ? CERT : FALS;
        if (!model.d.veu_activa) return;
    }
    seguir();
}

void ACCIONS::sincronitzar() {
    for (int i = 0; i <= 10; ++i) {
        const QSignalBlocker b(teclat[static_cast<size_t>(i)]);
        teclat[static_cast<size_t>(i)]->setChecked(model.caixa_teclat[static_cast<size_t>(i)] != 0);
    }
    for (int i = 0; i <= 2; ++i)
        ratoli[static_cast<size_t>(i)]->setChecked(model.it.ratoli[static_cast<size_t>(i)] == 1);
    for (int i = 0; i <= 10; ++i)
        web[static_cast<size_t>(i)]->setChecked(model.it.web[static_cast<size_t>(i)] == 1);
    for (int i = 0; i <= 7; ++i)
        jostick[static_cast<size_t>(i)]->setChecked(model.it.jostick[static_cast<size_t>(i)] == 1);
    omplir_llista(tecles, model.tecles);
    {
        const QSignalBlocker b(tecles);
        tecles->setCurrentRow(model.tecla_seleccionada);
    }
    omplir_llista(Llista_zones_mouse, model.llista_zones_mouse);
    omplir_llista(Llista_zones_web, model.llista_zones_web);
    omplir_llista(llista_veu, model.llista_veu);
    if (Paraula->text() != model.paraula) {
        const QSignalBlocker b(Paraula);
        Paraula->setText(model.paraula);
    }
    Paraula->setCursorPosition(std::min<int>(model.cursor, static_cast<int>(model.paraula.size())));
    sons->setText(model.sons);
    niv_so->setChecked(model.niv_so == 1);
    for (int i = 0; i < 2; ++i)
        if (nivell_so[static_cast<size_t>(i)]->text() != model.nivell_so[static_cast<size_t>(i)])
            nivell_so[static_cast<size_t>(i)]->setText(model.nivell_so[static_cast<size_t>(i)]);
    for (QWidget* w : std::initializer_list<QWidget*>{niv_so, nivell_so[0], nivell_so[1], Command2})
        w->setEnabled(model.nivell_actiu);
    const bool motor = plataforma::motor_veu().present();
    CommandEntrenament->setEnabled(motor && model.entrenament_actiu);
    CommandObrir->setEnabled(motor && model.entrenament_actiu);
    // The icons.
    std::vector<QLabel*> celles(ICO_SER.begin(), ICO_SER.begin() + 8);
    for (int i = 1; i <= 7; ++i) {
        QLabel* l = ICO_SER[static_cast<size_t>(i)];
        const QString e = model.entrada_icona(i);
        icona_accio(e.isEmpty() ? QString() : u'{' + e + u'}', l);
        l->setFrameStyle(model.marcada[static_cast<size_t>(i)] ? QFrame::Panel | QFrame::Raised
                                                               : QFrame::NoFrame);
    }
    ICO_SER[8]->setVisible(model.fletxa_enrere());
    ICO_SER[9]->setVisible(model.fletxa_endavant());
}

void ACCIONS::obrir_pagina(int pagina, const QString& titol) {
    for (int i = 0; i <= 6; ++i)
        Frame1[static_cast<size_t>(i)]->setVisible(i == pagina);
    if (!titol.isEmpty()) setWindowTitle(titol);
    if (pagina == 1) llista_tecles->setFocus();
    adjustSize();
    if (QWidget* p = parentWidget()) {
        const QRect r = p->frameGeometry();
        move(r.left() + (r.width() - frameGeometry().width()) / 2,
             r.top() + (r.height() - frameGeometry().height()) / 2);
    }
}

void ACCIONS::Canc_Click(int Index) {
    if (Index == 0) {
        model.cancellar();
        done(QDialog::Rejected);
        return;
    }
    if (Index == 1) {
        QString t = llista_tecles->text();
        const int m = model.acceptar(Frame1[1]->isVisible(), t);
        llista_tecles->setText(t);
        sincronitzar();
        if (!refusat(m)) done(QDialog::Accepted);
        return;
    }
    static const std::array<std::pair<int, const char*>, 5> pagines{
        {{1, "Teclat"}, {0, "Ratolí"}, {2, "Joystick"}, {3, "Veu"}, {6, "Web"}}};
    const auto& [p, paraula] = pagines[static_cast<size_t>(Index - 2)];
    obrir_pagina(p, text_idioma(33) + u' ' + tradueix(QString::fromUtf8(paraula)));
}

bool ACCIONS::refusat(int missatge) {
    if (missatge == 0) return false;
    lumi::missatge(this, text_idioma(missatge), QMessageBox::Critical);
    return true;
}

void ACCIONS::closeEvent(QCloseEvent* e) {
    QString t;
    if (refusat(model.tancar_finestra(t))) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

void ACCIONS::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (Frame1[1]->isVisible()) llista_tecles->setFocus();
}

bool ACCIONS::eventFilter(QObject* o, QEvent* e) {
    const int index = index_control(o);
    if (e->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(e)->key();
        if (!es_esborrar(tecla) &&
            !(tecla == Qt::Key_Period && (static_cast<QKeyEvent*>(e)->modifiers() & Qt::KeypadModifier)))
            return false;
        if (o == tecles && tecla == Qt::Key_Delete) {
            model.tecla_seleccionada = tecles->currentRow();
            model.tecles_suprimir();
        } else if (o == Llista_zones_mouse || o == Llista_zones_web) {
            model.esborrar_zona(o == Llista_zones_web, static_cast<QListWidget*>(o)->currentRow());
        } else if (o == llista_veu) {
            model.veu_esborrar(llista_veu->currentRow());
        } else {
            return false;
        }
        sincronitzar();
        return true;
    }
    if (e->type() == QEvent::FocusOut && (o == nivell_so[0] || o == nivell_so[1])) {
        model.nivell_so_perdre_focus();
        sincronitzar();
        return false;
    }
    auto* l = qobject_cast<QLabel*>(o);
    if (!l || index < 1 || index > 9 || ICO_SER[static_cast<size_t>(index)] != l) return false;
    if (e->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(e);
        const bool dret = me->button() == Qt::RightButton;
        model.icona_premer(index, dret);
        Paraula->setCursorPosition(model.cursor);
        premsa_ = me->position().toPoint();
        premuda_ = index;
        sincronitzar();
        if (dret && index <= 7) {
            QMenu menu(this);
            QAction* esborrar = menu.addAction(tradueix(QStringLiteral("Esborrar")).isEmpty()
                                                   ? QStringLiteral("Esborrar")
                                                   : tradueix(QStringLiteral("Esborrar")));
            menu.addAction(QStringLiteral("Cancelar"));
            if (menu.exec(me->globalPosition().toPoint()) == esborrar) {
                model.icones_esborrar();
                sincronitzar();
            }
        }
        return true;
    }
    if (e->type() == QEvent::MouseMove && index <= 7) {
        auto* me = static_cast<QMouseEvent*>(e);
        if (me->buttons() == Qt::NoButton) {
            QString en = model.entrada_icona(index);
            if (en.startsWith(QChar(0xB5)))
                en = en.mid(1, en.size() - 2);
            else if (!en.isEmpty())
                en = u'{' + en + u'}';
            INFORMACIO->setText(en);
            INFORMACIO->adjustSize();
            INFORMACIO->move(l->pos());
            INFORMACIO->setVisible(!en.isEmpty());
            INFORMACIO->raise();
        } else if ((me->buttons() & Qt::LeftButton) && premuda_ == index &&
                   (me->position().toPoint() - premsa_).manhattanLength() >=
                       QApplication::startDragDistance()) {
            auto* drag = new QDrag(l);
            auto* dades = new QMimeData;
            dades->setData(QStringLiteral("application/x-lumi-icona"), QByteArray::number(index));
            drag->setMimeData(dades);
            premuda_ = 0;
            drag->exec(Qt::MoveAction);
        }
        return false;
    }
    if (e->type() == QEvent::DragEnter || e->type() == QEvent::DragMove) {
        static_cast<QDropEvent*>(e)->acceptProposedAction();
        return true;
    }
    if (e->type() == QEvent::Drop && index <= 7) {
        auto* de = static_cast<QDropEvent*>(e);
        const int origen = de->mimeData()->data(QStringLiteral("application/x-lumi-icona")).toInt();
        if (origen >= 1 && origen <= 7) {
            model.icona_deixar(index, origen);
            sincronitzar();
        }
        de->acceptProposedAction();
        return true;
    }
    return false;
}

} // namespace lumi
