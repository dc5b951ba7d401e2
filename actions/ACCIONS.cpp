#include "actions/ACCIONS.h"

#include "actions/captions_accions.h"
#include "actions/ganxos_accions.h"
#include "actions/model_zones.h"
#include "actions/tela_zones.h"
#include "actions/visor_zones.h"
#include "comuns/dialegs.h"
#include "comuns/formulari.h"
#include "comuns/icones.h"
#include "core/camins.h"
#include "core/idioma.h"
#include "core/tecles.h"
#include "core/vb.h"
#include "devices/modul_veu.h"
#include "platform/cursor_confinament.h"
#include "platform/imatges.h"
#include "platform/motor_veu.h"
#include "platform/pantalla.h"

#include <QApplication>
#include <QDrag>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
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

// The entry the teacher sees selected, -1 when none. Not the current row:
// Qt makes the first row current, unselected, whenever the list takes the
// focus from the keyboard, and a Delete must not take an entry nobody chose.
int fila_triada(const QListWidget* l) {
    const QList<QListWidgetItem*> s = l->selectedItems();
    return s.isEmpty() ? -1 : l->row(s.first());
}

void omplir_combo(QComboBox* c, const QStringList& v) {
    const QSignalBlocker b(c);
    c->clear();
    c->addItems(v);
    c->setCurrentIndex(0);
}

// The form the zone interface of the model points at.
ACCIONS* form_zones = nullptr;

// Delete, Backspace or the keypad's decimal key, whatever it prints.
bool es_esborrar(const QKeyEvent* e) {
    const int vk = qt_a_vk(e->key(), e->modifiers() & Qt::KeypadModifier);
    return vk == 46 || vk == 8 || vk == 110;
}

} // namespace

ACCIONS::ACCIONS(item& it, Activitat& a, EstatDispositius& d, QWidget* pare)
    : QDialog(pare), model(it, a, d) {
    setObjectName(QStringLiteral("ACCIONS"));
    construir();
    // The model's fill asks this form for the zones in use and the previews.
    interficie_zones().calcula_zones_ultim = [this] { return calcula_zones_ultim(); };
    interficie_zones().zones_mostrar_visor = [this](int visor) { zones_mostrar_visor(visor); };
    form_zones = this;
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
    for (QWidget* w : std::initializer_list<QWidget*>{CommandEntrenament, CommandObrir, sons, decimes,
                                                      findChild<QLabel*>(QStringLiteral("Label1"))})
        if (w) w->setEnabled(motor);
    // Without an engine a stale ready flag enables nothing.
    const bool preparat = motor && model.d.motor_veu_preparat != 0;
    for (QPushButton* b : {CommandGuardar, CommandVeureLesFuncions, CommandControlDelVolum})
        b->setEnabled(preparat);
    if (preparat) CommandObrir->setEnabled(true);
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
    for (int v : {0, 6}) {
        // The zone previews, in the screen's proportions.
        auto* w = anomenar(new QWidget(this), QStringLiteral("visor_zones"), v);
        const QRect e = plataforma::rectangle_escriptori();
        w->setFixedSize(192, std::max(1, 192 * e.height() / std::max(1, e.width())));
        w->setAutoFillBackground(true);
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, Qt::white);
        w->setPalette(pal);
        i_fons[static_cast<size_t>(v)] = anomenar(new QLabel(w), QStringLiteral("i_fons"), v);
        i_fons[static_cast<size_t>(v)]->setGeometry(0, 0, w->width(), w->height());
        i_fons[static_cast<size_t>(v)]->setScaledContents(true);
        auto* etiquetes =
            anomenar(new VisorZones(model.a, w), v == 0 ? QStringLiteral("zm") : QStringLiteral("zw"));
        etiquetes->installEventFilter(this);
        (v == 0 ? zm : zw) = etiquetes;
        visor_zones[static_cast<size_t>(v)] = w;
    }
    for (int p = 0; p < 7; ++p) {
        if (p == 4) continue; // the subdivide box lies on the zone canvas
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
        // A click or an arrow key chooses the entry the next Delete removes.
        connect(tecles, &QListWidget::itemSelectionChanged, this,
                [this] { model.tecla_seleccionada = fila_triada(tecles); });
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
            connect(Command1[static_cast<size_t>(i)], &QPushButton::clicked, this,
                    [this, i] { Command1_Click(i); });
        }
        g->addLayout(tp, 6, 0, 1, 3);
        connect(llista_tecles, &QLineEdit::textChanged, this, [this] { llista_tecles_Change(); });
        connect(ok_text, &QPushButton::clicked, this, [this] { ok_text_Click(); });
        connect(llista_tecles, &QLineEdit::returnPressed, this, [this] { ok_text_Click(); });
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
        auto* crear = boto(QStringLiteral("Crea Zones"), QStringLiteral("CREAR_ZONES"), 0, f);
        g->addWidget(crear, 3, 1);
        connect(crear, &QPushButton::clicked, this, [this] { CREAR_ZONES_Click(0); });
        g->addWidget(visor_zones[0], 0, 2, 5, 1);
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
        auto* crear = boto(QStringLiteral("Crea Zones"), QStringLiteral("CREAR_ZONES"), 1, f);
        g->addWidget(crear, 5, 2);
        connect(crear, &QPushButton::clicked, this, [this] { CREAR_ZONES_Click(1); });
        g->addWidget(visor_zones[6], 0, 3, 6, 1);
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
    auto clic = [this](auto* control, auto senyal, auto handler) {
        connect(control, senyal, this, [this, handler] { (this->*handler)(); });
    };
    auto clic_index = [this](auto& controls, int primer, int darrer, auto senyal, auto handler) {
        for (int i = primer; i <= darrer; ++i)
            connect(controls[static_cast<size_t>(i)], senyal, this,
                    [this, handler, i] { (this->*handler)(i); });
    };
    clic_index(teclat, 0, 10, &QCheckBox::clicked, &ACCIONS::teclat_Click);
    clic_index(ratoli, 0, 2, &QCheckBox::clicked, &ACCIONS::ratoli_Click);
    clic_index(web, 0, 10, &QCheckBox::clicked, &ACCIONS::web_Click);
    clic_index(jostick, 0, 7, &QCheckBox::clicked, &ACCIONS::jostick_Click);
    clic_index(mouse, 1, 2, &QPushButton::clicked, &ACCIONS::mouse_Click);
    clic_index(joy, 0, 7, &QPushButton::clicked, &ACCIONS::joy_Click);
    clic_index(B_web, 1, 10, &QPushButton::clicked, &ACCIONS::B_web_Click);
    clic_index(nivell_so, 0, 1, &QLineEdit::textEdited, &ACCIONS::nivell_so_Change);
    clic(Command2, &QPushButton::clicked, &ACCIONS::Command2_Click);
    clic(tria_zones_mouse, &QComboBox::activated, &ACCIONS::tria_zones_mouse_Click);
    clic(tria_zones_web, &QComboBox::activated, &ACCIONS::tria_zones_web_Click);
    clic(veu1, &QComboBox::activated, &ACCIONS::veu1_Click);
    clic(niv_so, &QCheckBox::clicked, &ACCIONS::niv_so_Click);
    clic(decimes, &QLineEdit::textChanged, &ACCIONS::decimes_Change);
    clic(Paraula, &QLineEdit::textChanged, &ACCIONS::Paraula_Change);
    clic(CommandEntrenament, &QPushButton::clicked, &ACCIONS::CommandEntrenament_Click);
    clic(CommandObrir, &QPushButton::clicked, &ACCIONS::CommandObrir_Click);
    clic(CommandGuardar, &QPushButton::clicked, &ACCIONS::CommandGuardar_Click);
    clic(CommandVeureLesFuncions, &QPushButton::clicked, &ACCIONS::CommandVeureLesFuncions_Click);
    clic(CommandControlDelVolum, &QPushButton::clicked, &ACCIONS::CommandControlDelVolum_Click);
    construir_zones();
}

void ACCIONS::teclat_Click(int Index) {
    model.teclat_click(Index, teclat[static_cast<size_t>(Index)]->isChecked() ? 1 : 0);
    sincronitzar();
}

void ACCIONS::Command1_Click(int Index) {
    model.teclat_pantalla(Index);
    sincronitzar();
}

void ACCIONS::llista_tecles_Change() {
    ok_text->setEnabled(!llista_tecles->text().isEmpty());
}

void ACCIONS::ok_text_Click() {
    const QString t = llista_tecles->text();
    llista_tecles->clear();
    model.ok_text(t);
    sincronitzar();
}

void ACCIONS::ratoli_Click(int Index) {
    model.ratoli_click(Index, ratoli[static_cast<size_t>(Index)]->isChecked() ? 1 : 0);
}

void ACCIONS::web_Click(int Index) {
    model.web_click(Index, web[static_cast<size_t>(Index)]->isChecked() ? 1 : 0);
}

void ACCIONS::jostick_Click(int Index) {
    model.jostick_click(Index, jostick[static_cast<size_t>(Index)]->isChecked() ? 1 : 0);
}

// Tokens go in at the series caret, over the selection (a combo's popup
// leaves the selection in place).
void ACCIONS::cursor_serie() {
    model.cursor = Paraula->cursorPosition();
    model.seleccio = Paraula->hasSelectedText() ? static_cast<int>(Paraula->selectedText().size()) : 0;
    if (Paraula->hasSelectedText()) model.cursor = Paraula->selectionStart();
}

void ACCIONS::boto_token(const QString& control, int Index) {
    cursor_serie();
    model.boto_token(control, Index);
    sincronitzar();
}

void ACCIONS::mouse_Click(int Index) {
    boto_token(QStringLiteral("mouse"), Index);
}

void ACCIONS::joy_Click(int Index) {
    boto_token(QStringLiteral("joy"), Index);
}

void ACCIONS::B_web_Click(int Index) {
    boto_token(QStringLiteral("web"), Index);
}

void ACCIONS::Command2_Click() {
    boto_token(QStringLiteral("so"), 0);
}

void ACCIONS::tria_zona(bool web, int Index) {
    if (Index <= 0) return;
    cursor_serie();
    const bool afegida = model.tria_zona(web, Index);
    sincronitzar();
    if (afegida) (web ? Llista_zones_web : Llista_zones_mouse)->setCurrentRow(0);
}

void ACCIONS::tria_zones_mouse_Click() {
    tria_zona(false, tria_zones_mouse->currentIndex());
}

void ACCIONS::tria_zones_web_Click() {
    tria_zona(true, tria_zones_web->currentIndex());
}

void ACCIONS::veu1_Click() {
    cursor_serie();
    if (model.veu_triar(veu1->currentIndex())) {
        const QSignalBlocker b(veu1);
        veu1->setCurrentIndex(0);
    }
    sincronitzar();
}

void ACCIONS::niv_so_Click() {
    model.niv_so_click(niv_so->isChecked() ? 1 : 0);
    sincronitzar();
}

void ACCIONS::nivell_so_Change(int Index) {
    model.nivell_so_canviar(Index, nivell_so[static_cast<size_t>(Index)]->text());
    sincronitzar();
}

void ACCIONS::decimes_Change() {
    model.decimes = decimes->text();
}

void ACCIONS::Paraula_Change() {
    const int c = Paraula->cursorPosition();
    model.posar_paraula(Paraula->text());
    model.cursor = c;
    sincronitzar();
}

void ACCIONS::CommandEntrenament_Click() {
    engine_unitat([this] {
        CommandControlDelVolum->setEnabled(true);
        plataforma::motor_veu().IniciarEntrenament();
        model.d.motor_veu_preparat = FALS;
    });
}

void ACCIONS::CommandObrir_Click() {
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
}

void ACCIONS::CommandGuardar_Click() {
    plataforma::motor_veu().GuardarFitxerReconeixementDeParaules();
}

void ACCIONS::CommandVeureLesFuncions_Click() {
    plataforma::motor_veu().VeureFinestraGrafiques();
}

void ACCIONS::CommandControlDelVolum_Click() {
    plataforma::motor_veu().VeureNivellDeSo();
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
    if (pagina == 4) {
        // The planner's "Crear Zones": the editor alone, without the page bar.
        CREAR_ZONES_Click(1);
        if (!titol.isEmpty()) setWindowTitle(titol);
        Frame1[5]->hide();
        return;
    }
    // No page chosen (an empty action cell): the page bar, so that any kind
    // of input can be added.
    if (pagina < 0) pagina = 5;
    for (int i = 0; i <= 6; ++i)
        Frame1[static_cast<size_t>(i)]->setVisible(i == pagina);
    if (!titol.isEmpty()) setWindowTitle(titol);
    if (pagina == 1) llista_tecles->setFocus();
    adjustSize();
    if (QWidget* p = parentWidget()) centrar_dins_pantalla(this, p);
}

void ACCIONS::Canc_Click(int Index) {
    if (Index == 0) {
        model.cancellar();
        done(QDialog::Rejected);
        return;
    }
    if (Index == 1) {
        QString t = llista_tecles->text();
        const int m = model.acceptar(Frame1[1]->isVisibleTo(this), t);
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

// The close box and Escape keep the edits, once Accept's checks pass.
void ACCIONS::reject() {
    if (refusat(model.tancar_finestra(llista_tecles->text()))) return;
    QDialog::reject();
}

void ACCIONS::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (Frame1[1]->isVisible()) llista_tecles->setFocus();
}

void ACCIONS::changeEvent(QEvent* e) {
    QDialog::changeEvent(e);
    // While the zone editor is open this window is an empty box behind its
    // canvas: the activation it takes (shown after the canvas, a message of
    // the editor closed) goes back to the canvas, as a window manager keeps
    // its panel over a full-screen window that is not the active one.
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && estat_zones != 0)
        QTimer::singleShot(0, tela, [this] {
            if (estat_zones != 0 && isActiveWindow()) tela->mostrar();
        });
}

bool ACCIONS::eventFilter(QObject* o, QEvent* e) {
    const int index = index_control(o);
    if (e->type() == QEvent::FocusOut && o == TxH) {
        TxH_LostFocus();
        return false;
    }
    if (e->type() == QEvent::MouseButtonPress && (o == zm || o == zw)) {
        // A preview's label picks its zone's entry in the combo.
        const bool es_web = o == zw;
        const QPoint on = static_cast<QMouseEvent*>(e)->position().toPoint();
        const int entrada = model.entrada_zona(es_web, static_cast<VisorZones*>(o)->etiqueta_a(on));
        if (entrada > 0) {
            (es_web ? tria_zones_web : tria_zones_mouse)->setCurrentIndex(entrada);
            if (es_web)
                tria_zones_web_Click();
            else
                tria_zones_mouse_Click();
        }
        return true;
    }
    if (e->type() == QEvent::KeyPress) {
        const auto* ke = static_cast<QKeyEvent*>(e);
        if (!es_esborrar(ke)) return false;
        if (o == tecles && qt_a_vk(ke->key(), ke->modifiers() & Qt::KeypadModifier) == 46) {
            model.tecles_suprimir();
        } else if (o == Llista_zones_mouse || o == Llista_zones_web) {
            model.esborrar_zona(o == Llista_zones_web, fila_triada(static_cast<QListWidget*>(o)));
        } else if (o == llista_veu) {
            model.veu_esborrar(fila_triada(llista_veu));
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
            // The popup's captions under their own keys, like any control's.
            auto caption = [](int i, const char* disseny) {
                const QString t =
                    tradueix(clau_traduccio(QStringLiteral("ACCIONS"), QStringLiteral("menu2"), i, u'c'));
                return t.isEmpty() ? QString::fromUtf8(disseny) : t;
            };
            QMenu menu(this);
            QAction* esborrar = menu.addAction(caption(0, "Esborrar"));
            menu.addAction(caption(1, "Cancelar"));
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

// ------------------------------------------------------------------ the zone editor

ACCIONS::~ACCIONS() {
    soltar_punter();
    if (form_zones == this) {
        interficie_zones() = {};
        form_zones = nullptr;
    }
}

void ACCIONS::construir_zones() {
    tela = new TelaZones(this);
    tela->hide();
    // The menu bar lies over the canvas: it shifts no zone.
    barra_zones = new QMenuBar(tela);
    barra_zones->setNativeMenuBar(false);
    mn_opcions = anomenar(barra_zones->addMenu(QStringLiteral("Opcions")), QStringLiteral("mn_opcions"));
    const std::array<const char*, 5> t{"Esborrar zona", "Tota la Pantalla", "Subdividir", "Imatge àrea",
                                       "Sortir"};
    for (int i = 0; i < 5; ++i) {
        mn_zona[static_cast<size_t>(i)] =
            anomenar(mn_opcions->addAction(QString::fromUtf8(t[static_cast<size_t>(i)])),
                     QStringLiteral("mn_zona"), i);
        connect(mn_zona[static_cast<size_t>(i)], &QAction::triggered, this, [this, i] { mn_zona_Click(i); });
    }
    connect(mn_opcions, &QMenu::aboutToShow, this, [this] { mn_opcions_Click(); });

    // The subdivide box.
    auto* f = anomenar(new QFrame(tela), QStringLiteral("Frame1"), 4);
    f->setFrameStyle(QFrame::Panel | QFrame::Raised);
    f->setAutoFillBackground(true);
    Frame1[4] = f;
    auto* g = new QGridLayout(f);
    auto barra = [f](const QString& nom) {
        auto* b = anomenar(new QScrollBar(Qt::Vertical, f), nom);
        b->setRange(1, 15);
        b->setValue(10);
        b->setFixedHeight(60);
        return b;
    };
    ScrollH = barra(QStringLiteral("ScrollH"));
    ScrollV = barra(QStringLiteral("ScrollV"));
    TxH = anomenar(new QLineEdit(f), QStringLiteral("TxH"));
    TxV = anomenar(new QLineEdit(f), QStringLiteral("TxV"));
    TxH->installEventFilter(this);
    g->addWidget(anomenar(new QLabel(QStringLiteral("Columnes:"), f), QStringLiteral("Label3"), 3), 0, 0);
    g->addWidget(TxH, 0, 1);
    g->addWidget(ScrollH, 0, 2);
    g->addWidget(anomenar(new QLabel(QStringLiteral("Files:"), f), QStringLiteral("Label3"), 4), 1, 0);
    g->addWidget(TxV, 1, 1);
    g->addWidget(ScrollV, 1, 2);
    avis_subdividir = anomenar(new QLabel(f), QStringLiteral("avis_subdividir"));
    avis_subdividir->setWordWrap(true);
    avis_subdividir->hide();
    g->addWidget(avis_subdividir, 2, 0, 1, 3);
    quadric[1] = anomenar(new QPushButton(QStringLiteral("Acceptar"), f), QStringLiteral("quadric"), 1);
    quadric[0] = anomenar(new QPushButton(QString::fromUtf8("Cancel·lar"), f), QStringLiteral("quadric"), 0);
    g->addWidget(quadric[1], 3, 0);
    g->addWidget(quadric[0], 3, 1, 1, 2);
    for (int i = 0; i < 2; ++i)
        connect(quadric[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [this, i] { quadric_Click(i); });
    connect(ScrollH, &QScrollBar::valueChanged, this, [this] { ScrollH_Change(); });
    connect(ScrollV, &QScrollBar::valueChanged, this, [this] { ScrollV_Change(); });
    connect(TxV, &QLineEdit::textChanged, this, [this] { TxV_Change(); });
    f->hide();
}

int ACCIONS::calcula_zones_ultim() const {
    return lumi::calcula_zones_ultim(model.a, model.it, model.paraula);
}

int ACCIONS::busca_zona() const {
    return lumi::busca_zona(model.a);
}

void ACCIONS::desar_pendent() {
    // The rectangle being edited goes back into its zone.
    const int s = seleccionada_;
    if (estat_zones == 3 && s >= 1 && s <= model.a.zones_max && static_cast<size_t>(s) < model.a.zones.size())
        desar_marc(model.a.zones[static_cast<size_t>(s)], marc);
}

void ACCIONS::CREAR_ZONES_Click(int) {
    if (estat_zones == 0) {
        // The series text may name zones typed or chosen since the window
        // opened: none of them may be renumbered.
        model.zona_ultima_usada = calcula_zones_ultim();
        pagina_abans_ = -1;
        for (int p : {0, 6})
            if (Frame1[static_cast<size_t>(p)]->isVisibleTo(this)) pagina_abans_ = p;
    }
    tela->mostrar();
    barra_zones->adjustSize();
    barra_zones->move(0, 0);
    barra_zones->show();
    for (QWidget* w : std::initializer_list<QWidget*>{Canc[0], Canc[1], teclat[3], teclat[10], Paraula,
                                                      llista_tecles, Frame1[0], Frame1[6], INFORMACIO})
        w->hide();
    for (int i = 1; i <= 9; ++i)
        ICO_SER[static_cast<size_t>(i)]->hide();
    dibuixar_zones();
    estat_zones = 1;
    mn_zona[1]->setEnabled(model.a.zones_max < 1);
}

void ACCIONS::dibuixar_zones() {
    // The canvas paints the zones and their number labels from the table.
    barra_zones->raise();
    Frame1[4]->raise();
    tela->update();
}

void ACCIONS::zona_selecciona(int k) {
    desar_pendent();
    seleccionada_ = 0;
    estat_zones = 1;
    const Activitat& a = model.a;
    if (k <= 0 || k > zona_darrera(a)) {
        zona_arrossegar_amagar(1);
        return;
    }
    seleccionada_ = k;
    estat_zones = 3;
    const zona& z = a.zones[static_cast<size_t>(k)];
    marc = marc_de(z);
    // A missing or unreadable picture: the stand-in.
    const QImage& im = tela->imatge(z.imatge);
    picFlag = im.isNull() ? TelaZones::comodi() : im;
    picFlag_visible = true;
    zona_arrossegar_amagar(0);
}

void ACCIONS::zona_arrossegar_amagar(int p) {
    estat_zones = 1;
    dibuixar_zones();
    estat_zones = 3;
    if (p == 0) {
        picFlag_visible = true;
    } else if (p == 1) {
        estat_zones = 1;
        dibuixar_zones();
        picFlag_visible = false;
    }
    tela->update();
}

void ACCIONS::Form_MouseDown(Qt::MouseButton boto, QPointF p) {
    const int X = dimensionar::arrodonir(p.x());
    const int Y = dimensionar::arrodonir(p.y());
    if (estat_zones == 1) {
        // Any button starts a zone.
        zona_nova = zona{X, Y, X + 1, Y + 1, {}};
        estat_zones = 2;
        tela->update();
    } else if (estat_zones == 3) {
        zona_arrossegar_iniciar(boto, X, Y);
    }
}

void ACCIONS::Form_MouseMove(Qt::MouseButtons, QPointF p) {
    const int X = dimensionar::arrodonir(p.x());
    const int Y = dimensionar::arrodonir(p.y());
    if (estat_zones == 2) {
        zona_nova.dreta = X;
        zona_nova.baix = Y;
        tela->update();
    } else if (estat_zones == 3) {
        zona_arrossegar_moure(X, Y);
    }
}

void ACCIONS::Form_MouseUp(Qt::MouseButton, QPointF) {
    if (estat_zones == 3) {
        zona_arrossegar_acabar();
        return;
    }
    if (estat_zones != 2) return;
    estat_zones = 1;
    // The rectangle of the last move, not of the release.
    const zona n = zona_nova;
    const int k = lumi::zona_nova(model.a, n.esquerra, n.dalt, n.dreta, n.baix);
    tela->update();
    if (k < 0) {
        refusar_zona_nova(QStringLiteral("zones|massa_zones"));
        return;
    }
    if (k == 0) return;
    mn_zona[1]->setEnabled(model.a.zones_max < 1);
    zona_selecciona(model.a.zones_max);
}

void ACCIONS::refusar_zona_nova(const QString& clau) {
    lumi::missatge(tela, tradueix(clau), QMessageBox::Information);
}

void ACCIONS::nzona_MouseDown(int Index, Qt::MouseButton boto, QPoint on) {
    if (estat_zones == 0 || estat_zones == 2 || arrossegant) return;
    if (boto == Qt::LeftButton) {
        zona_selecciona(Index);
    } else if (boto == Qt::RightButton) {
        zona_selecciona(Index);
        mn_opcions->exec(on);
    }
}

void ACCIONS::zona_arrossegar_iniciar(Qt::MouseButton boto, int X, int Y) {
    // A second press while a drag lasts changes nothing.
    if (arrossegant != 0) return;
    nansa_activa = dimensionar::nansa_buscar(marc, X, Y);
    if (nansa_activa == dimensionar::NANSA_FORA) {
        zona_selecciona(0);
        return;
    }
    if (boto == Qt::RightButton) {
        mn_opcions->exec(tela->mapToGlobal(QPoint(X, Y)));
        return;
    }
    arrossegant = 1;
    marc_inici = marc;
    if (nansa_activa == dimensionar::NANSA_DINS) {
        desplacament_x = X - marc.x;
        desplacament_y = Y - marc.y;
    }
    retall_ = dimensionar::retall_arrossegar(marc, nansa_activa, tela->width(), tela->height());
    // Right and bottom are exclusive: the pointer reaches right - 1 at most.
    const QPoint d = tela->mapToGlobal(QPoint(retall_.esquerra, retall_.dalt));
    const QPoint f = tela->mapToGlobal(QPoint(retall_.dreta - 1, retall_.baix - 1));
    plataforma::confinar_cursor(QRect(d, f), tela->windowHandle());
    tela->update();
}

void ACCIONS::zona_arrossegar_moure(int X, int Y) {
    if (arrossegant == 1) {
        // Where the window system does not hold the pointer, the box still does.
        const QPoint q = dimensionar::dins_retall(retall_, X, Y);
        marc = dimensionar::moure(marc, nansa_activa, q.x(), q.y(), desplacament_x, desplacament_y);
        tela->update();
    } else {
        tela->setCursor(dimensionar::punter(dimensionar::nansa_buscar(marc, X, Y)));
    }
}

void ACCIONS::zona_arrossegar_acabar() {
    if (arrossegant != 1) return;
    soltar_punter();
    zona_arrossegar_amagar(0);
}

void ACCIONS::soltar_punter() {
    if (!arrossegant) return;
    arrossegant = 0;
    plataforma::alliberar_cursor();
}

void ACCIONS::mn_opcions_Click() {
    mn_zona[2]->setEnabled(model.a.zones_max >= 1);
}

void ACCIONS::mn_zona_Click(int Index) {
    Activitat& a = model.a;
    const int s = seleccionada_;
    switch (Index) {
    case 0:
        // Nothing selected, or a zone an item uses: nothing happens.
        if (s == 0) return;
        desar_pendent();
        if (!esborrar_zona(a, s, model.zona_ultima_usada)) return;
        seleccionada_ = 0;
        CREAR_ZONES_Click(0);
        picFlag_visible = false;
        tela->update();
        break;
    case 1:
        desar_pendent();
        if (tota_la_pantalla(a) < 0) {
            refusar_zona_nova(QStringLiteral("zones|massa_zones"));
            return;
        }
        CREAR_ZONES_Click(0);
        zona_selecciona(a.zones_max);
        break;
    case 2:
        if (s == 0) return;
        ScrollH->setValue(15);
        ScrollV->setValue(15);
        ScrollH_Change();
        ScrollV_Change();
        avis_subdividir->hide();
        Frame1[4]->adjustSize();
        Frame1[4]->move((tela->width() - Frame1[4]->width()) / 2, (tela->height() - Frame1[4]->height()) / 2);
        Frame1[4]->show();
        Frame1[4]->raise();
        break;
    case 3:
        if (s > 0) {
            zona& z = a.zones[static_cast<size_t>(s)];
            // Whatever comes back is stored, "" from a cancelled choice too.
            z.imatge = triar_fitxers(z.imatge, tela, text_idioma(34));
            const QImage& im = tela->imatge(z.imatge);
            picFlag = im.isNull() ? TelaZones::comodi() : im;
            tela->update();
        } else {
            if (buto_planificar()) buto_planificar()(6);
            dibuixar_zones();
        }
        break;
    case 4: {
        // Stored first: from the planner's menu the Accept closes the window.
        // Closing the canvas can come in the middle of a drag: it ends here.
        soltar_punter();
        desar_pendent();
        if (windowTitle() == text_idioma(78)) Canc_Click(1);
        tela->unsetCursor();
        if (estat_zones == 3) zona_selecciona(0);
        estat_zones = 0;
        Frame1[4]->hide();
        tela->hide();
        for (QWidget* w :
             std::initializer_list<QWidget*>{Canc[0], Canc[1], teclat[3], teclat[10], llista_tecles, Paraula})
            w->show();
        for (int i = 1; i <= 7; ++i)
            ICO_SER[static_cast<size_t>(i)]->show();
        seleccionada_ = 0;
        picFlag_visible = false;
        const QString tm = tria_zones_mouse->currentText();
        const QString tw = tria_zones_web->currentText();
        model.omplir_combos_zones();
        omplir_combo(tria_zones_mouse, model.tria_zones_mouse);
        omplir_combo(tria_zones_web, model.tria_zones_web);
        tria_zones_mouse->setCurrentIndex(std::max(0, tria_zones_mouse->findText(tm)));
        tria_zones_web->setCurrentIndex(std::max(0, tria_zones_web->findText(tw)));
        if (pagina_abans_ >= 0) obrir_pagina(pagina_abans_, QString());
        sincronitzar();
        zones_mostrar_visor(0);
        break;
    }
    default:
        break;
    }
}

void ACCIONS::quadric_Click(int Index) {
    const int s = seleccionada_;
    desar_pendent();
    if (Index == 1) {
        const Subdivisio r = subdividir(model.a, s, compte_barra(ScrollH->value()),
                                        compte_barra(ScrollV->value()), model.zona_ultima_usada);
        if (r == Subdivisio::cel_la_buida || r == Subdivisio::massa_zones) {
            // The box stays open and says why.
            avis_subdividir->setText(tradueix(r == Subdivisio::cel_la_buida
                                                  ? QStringLiteral("zones|cel_la_buida")
                                                  : QStringLiteral("zones|massa_zones")));
            avis_subdividir->show();
            Frame1[4]->adjustSize();
            return;
        }
        if (r != Subdivisio::feta) {
            Frame1[4]->hide();
            return;
        }
    }
    Frame1[4]->hide();
    seleccionada_ = 0;
    CREAR_ZONES_Click(0);
    zona_selecciona(model.a.zones_max);
}

void ACCIONS::ScrollH_Change() {
    TxH->setText(QString::number(compte_barra(ScrollH->value(), ScrollH->maximum())));
}

void ACCIONS::ScrollV_Change() {
    TxV->setText(QString::number(compte_barra(ScrollV->value(), ScrollV->maximum())));
}

namespace {

// A typed count sets its bar when it lies in 1..maximum; otherwise the box
// keeps the text.
void compte_a_barra(const QString& text, QScrollBar* b) {
    const double v = valor_inicial(text);
    const int n = static_cast<int>(arrodonir_parell(std::clamp(v, -1e6, 1e6)));
    if (n > 0 && n <= b->maximum()) b->setValue(b->maximum() - n + 1);
}

} // namespace

void ACCIONS::TxH_LostFocus() {
    compte_a_barra(TxH->text(), ScrollH);
}

void ACCIONS::TxV_Change() {
    compte_a_barra(TxV->text(), ScrollV);
}

void ACCIONS::zones_mostrar_visor(int) {
    const Activitat& a = model.a;
    const QRect e = plataforma::rectangle_escriptori();
    const QImage fons = a.fitxer_imatge_fons.isEmpty()
                            ? QImage()
                            : plataforma::carregar_imatge(resoldre_fitxer(a.fitxer_imatge_fons));
    for (int v : {0, 6}) {
        QWidget* visor = visor_zones[static_cast<size_t>(v)];
        QLabel* f = i_fons[static_cast<size_t>(v)];
        // A missing background leaves the preview empty.
        if (fons.isNull())
            f->clear();
        else
            f->setPixmap(QPixmap::fromImage(fons));
        f->setGeometry(0, 0, visor->width(), visor->height());
        f->lower();
        VisorZones* etiquetes = v == 0 ? zm : zw;
        etiquetes->raise();
        etiquetes->escalar(e.size());
    }
}

void ACCIONS::done(int r) {
    if (estat_zones != 0) {
        // Closing keeps the rectangle being edited and frees the pointer.
        soltar_punter();
        desar_pendent();
        tela->hide();
    }
    QDialog::done(r);
}

} // namespace lumi
