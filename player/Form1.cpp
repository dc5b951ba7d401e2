#include "player/Form1.h"

#include "platform/carpetes.h"
#include "comuns/dialegs.h"
#include "core/fitxer_lrq.h"
#include "player/linia_ordres.h"
#include "player/menus.h"
#include "comuns/media_jugar.h"
#include "comuns/formulari.h"
#include "core/idioma.h"
#include "platform/ini.h"
#include "platform/instancia.h"
#include "devices/captura_so.h"
#include "devices/modul_joystic.h"
#include "devices/modul_veu.h"
#include "platform/pantalla.h"
#include "platform/traduccio_qt.h"
#include "core/vb.h"

#include <QPainter>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>
#include <cmath>
#include <cstdio>

namespace lumi {

namespace {
Form1* g_form1 = nullptr;

QTimer* crear_timer(QObject* pare, const QString& nom, int ms) {
    auto* t = anomenar(new QTimer(pare), nom);
    t->setInterval(ms);
    return t;
}
} // namespace

Form1* Form1::instancia() {
    return g_form1;
}

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
    g_form1 = this;
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("LUMIRAGA"));
    crear_menus();
    crear_controls();
    connectar_exercici();
    connectar_resposta();
    connectar_menus();
}

Form1::~Form1() {
    if (g_form1 == this) g_form1 = nullptr;
}

void Form1::crear_controls() {
    auto* client = anomenar(new QWidget(this), QStringLiteral("client"));
    client->setObjectName(QString()); // not a control of its own
    setCentralWidget(client);

    web_cursor = anomenar(new QLabel(client), QStringLiteral("web_cursor"));
    web_cursor->resize(32, 32);
    {
        // The webcam pointer's marker: a ring with a cross, seen on dark and
        // light pictures alike.
        QPixmap marca(32, 32);
        marca.fill(Qt::transparent);
        QPainter p(&marca);
        p.setRenderHint(QPainter::Antialiasing);
        for (const auto& [color, gruix] :
             {std::pair{QColor(Qt::black), 5}, std::pair{QColor(Qt::yellow), 3}}) {
            p.setPen(QPen(color, gruix));
            p.drawEllipse(QRectF(4, 4, 24, 24));
            p.drawLine(16, 1, 16, 31);
            p.drawLine(1, 16, 31, 16);
        }
        web_cursor->setPixmap(marca);
    }
    web_cursor->hide();
    t_web_control = crear_timer(this, QStringLiteral("t_web_control"), 10);
    Timer1 = crear_timer(this, QStringLiteral("Timer1"), 100);
    t_web = crear_timer(this, QStringLiteral("t_web"), 100);
    Picture1 = anomenar(new QWidget(client), QStringLiteral("Picture1"));
    Picture1->hide();
    T_so = crear_timer(this, QStringLiteral("T_so"), 100);
    forat = anomenar(new QLineEdit(client), QStringLiteral("forat"));
    forat->resize(20, 20);
    forat->hide();
    t_joystick = crear_timer(this, QStringLiteral("t_joystick"), 100);
    t_estimular = crear_timer(this, QStringLiteral("t_estimular"), 100);
    I_zona = new CapaZones(client);
    I_zona->hide();
    Label_KK = anomenar(new QLabel(client), QStringLiteral("Label_KK"));
    Label_KK->hide();
    t_total = anomenar(new QLabel(QStringLiteral("0"), client), QStringLiteral("t_total"));
    t_total->setStyleSheet(QStringLiteral("background-color: red;"));
    t_total->hide();
    Label_par = anomenar(new QLabel(client), QStringLiteral("Label_par"));
    Label_par->setStyleSheet(QStringLiteral("background-color: white; color: black;"));
    Label_par->setFont(QFont(QStringLiteral("Arial")));
    Label_par->hide();
    Temps = anomenar(new QLabel(QStringLiteral("0"), client), QStringLiteral("Temps"));
    Temps->hide();
    Image2 = anomenar(new QLabel(client), QStringLiteral("Image2"));
    Image1 = anomenar(new QLabel(client), QStringLiteral("Image1"));
    Image1->resize(32, 32);
    imatge_fons = anomenar(new QLabel(client), QStringLiteral("imatge_fons"));
    // The background lies under everything else.
    imatge_fons->lower();
}

void Form1::crear_menus() {
    QMenuBar* barra = menuBar();
    auto menu = [this](QMenu* pare, const QString& nom, const QString& caption, int index = -1) {
        QMenu* m = anomenar(new QMenu(caption, this), nom, index);
        m->menuAction()->setObjectName(QString());
        if (pare) pare->addMenu(m);
        return m;
    };
    auto accio = [this](QMenu* pare, const QString& nom, const QString& caption, int index = -1) {
        QAction* a = anomenar(new QAction(caption, this), nom, index);
        pare->addAction(a);
        return a;
    };

    mn_opcions = menu(nullptr, QStringLiteral("mn_opcions"), QStringLiteral("Opcions"));
    barra->addMenu(mn_opcions);
    mn_inici = accio(mn_opcions, QStringLiteral("mn_inici"), QStringLiteral("Iniciar"));
    mn_d = menu(mn_opcions, QStringLiteral("mn_d"), QStringLiteral("Fitxers"));
    const QStringList disc{QStringLiteral("Nou"), QStringLiteral("Obrir"), QStringLiteral("Desar"),
                           QStringLiteral("Crear Drecera")};
    for (int i = 0; i < disc.size(); ++i)
        mn_disc.push_back(accio(mn_d, QStringLiteral("mn_disc"), disc[i], i));
    mn_FITXERS = accio(mn_opcions, QStringLiteral("mn_FITXERS"), QStringLiteral("Planificar"));
    mn_engegar = accio(mn_opcions, QStringLiteral("mn_engegar"), QStringLiteral("Engegar"));
    mn_informe = accio(mn_opcions, QStringLiteral("mn_informe"), QStringLiteral("Informe"));
    mn_fitxer_salvap =
        accio(mn_opcions, QStringLiteral("mn_fitxer_salvap"), QStringLiteral("Fitxers Salvapantalles"));
    mn_fitxer_salvap->setVisible(false);
    mn_FI = accio(mn_opcions, QStringLiteral("mn_FI"), QStringLiteral("Sortir"));

    mn_conf = menu(nullptr, QStringLiteral("mn_conf"), QStringLiteral("Configurar"));
    barra->addMenu(mn_conf);
    mn_vel = menu(mn_conf, QStringLiteral("mn_vel"), QStringLiteral("Velocitat"));
    const QStringList vel{QStringLiteral("+ Ràpid"), QStringLiteral("= Actual"), QStringLiteral("- Ràpid"),
                          QStringLiteral("Incial 100")};
    for (int i = 0; i < vel.size(); ++i)
        mn_velocitat.push_back(accio(mn_vel, QStringLiteral("mn_velocitat"), vel[i], i));
    mn_rec_s.push_back(
        menu(mn_conf, QStringLiteral("mn_rec_s"), QStringLiteral("Recononeixement de sons"), 0));
    const QStringList fressa{QStringLiteral("Recuperar patrons"), QStringLiteral("Crear Patrons"),
                             QStringLiteral("Millorar Patrons"), QStringLiteral("Salvar Patrons"),
                             QStringLiteral("Control del Volum")};
    for (int i = 0; i < fressa.size(); ++i) {
        mn_fressa.push_back(accio(mn_rec_s[0], QStringLiteral("mn_fressa"), fressa[i], i));
        mn_fressa.back()->setEnabled(i == 0);
    }
    const QStringList ovs{QStringLiteral("Calibrar Sistema WebCam"), QStringLiteral("Imatge WebCam"),
                          QStringLiteral(" Ombra Visor")};
    for (int i = 0; i < ovs.size(); ++i)
        mn_ovs.push_back(accio(mn_conf, QStringLiteral("mn_ovs"), ovs[i], i));
    mn_ovs[1]->setCheckable(true);
    mn_ovs[2]->setCheckable(true);

    mn_id = menu(nullptr, QStringLiteral("mn_id"), QStringLiteral("Idioma"));
    barra->addMenu(mn_id);
    const QStringList idiomes{QStringLiteral("Català"), QStringLiteral("Español"), QStringLiteral("Galego")};
    for (int i = 0; i < idiomes.size(); ++i) {
        mn_idioma.push_back(accio(mn_id, QStringLiteral("mn_idioma"), idiomes[i], i));
        mn_idioma.back()->setCheckable(true);
    }

    mn_ajuda = menu(nullptr, QStringLiteral("mn_ajuda"), QStringLiteral("Ajuda"));
    barra->addMenu(mn_ajuda);
    ajuda = accio(mn_ajuda, QStringLiteral("ajuda"), QStringLiteral("Index"));
    quant_a = accio(mn_ajuda, QStringLiteral("quant_a"), QStringLiteral("Quant a.."));
}

void Form1::mostrar_menus(bool visibles) {
    for (QMenu* m : {mn_opcions, mn_ajuda, mn_id, mn_conf})
        m->menuAction()->setVisible(visibles);
}

bool Form1::es_maximitzada() const {
    return isMaximized() || isFullScreen();
}

int Form1::percentatge_velocitat(float velocitat, int index) {
    // The arithmetic stays in 32-bit floats: at 1.0 the faster item reads 125.
    volatile float divisor = velocitat;
    if (index == 0) divisor = velocitat * 4.0f / 5.0f;
    if (index == 2) divisor = velocitat * 5.0f / 4.0f;
    volatile float r = 100.0f / divisor;
    return static_cast<int>(std::floor(r));
}

EntornNou entorn_nou() {
    EntornNou e;
    // The desktop and the caption come in through the core's hooks alone.
    e.escriptori = escriptori_actual() ? escriptori_actual()() : plataforma::rectangle_escriptori();
    e.joystick_provar = [](int id) { return joystick_provar(id); };
    // SDL loads with the joystick's first use, when an exercise starts, not
    // before the window is up.
    e.joystick_diferit = true;
    Form1* f = Form1::instancia();
    e.finestra_maximitzada = [f] { return f && f->es_maximitzada(); };
    e.posar_titol = titol_finestra();
    e.restaurar_finestra = [](int32_t token) {
        if (!restaurar_ganxo_so(token)) restaurar_ganxo_veu(token);
    };
    return e;
}

void exercici_nou() {
    exercici_nou(activitat(), llistes(), dispositius(), jugador(), entorn_nou());
}

bool Form1::Form_Load() {
    const QString carpeta = plataforma::carpeta_programa();
    // 2-3. Interface language.
    idioma() = IDIOMA_CATALA;
    const QString llegit = plataforma::ini_llegir(plataforma::fitxer_ini_programa(), QStringLiteral("inici"),
                                                  QStringLiteral("idioma"));
    if (!llegit.isEmpty()) idioma() = llegit.left(256);
    plataforma::posar_traduccio_qt(codis_idioma(idioma()));
    const QStringList noms{IDIOMA_CATALA, IDIOMA_ESPANOL, IDIOMA_GALEGO};
    for (int i = 0; i < 3; ++i)
        mn_idioma[i]->setChecked(idioma() == noms[i]);

    // 4. One copy at a time. A refused copy leaves the telling to the running
    // one, which says it where the teacher sees it without taking a learner's
    // run from them, and ends at once.
    if (!plataforma::reservar_instancia_unica()) {
        std::fprintf(stderr, "lumiraga: %s\n", qPrintable(text_idioma(31)));
        if (!plataforma::avisar_copia_en_marxa()) missatge(nullptr, text_idioma(31), QMessageBox::Warning);
        return false;
    }
    // Kept while a run is on screen, as a module's warning is.
    plataforma::escoltar_copies_refusades([this] { avisar_modul(text_idioma(31)); });

    // 5-6.
    QDir::setCurrent(carpeta);
    estalvi_pantalla = plataforma::ini_llegir(plataforma::fitxer_system_ini(), QStringLiteral("boot"),
                                              QStringLiteral("SCRNSAVE.EXE"))
                           .left(256);

    // 7-8. Identity button map, then the ini's renumbering.
    EstatDispositius& d = dispositius();
    d.num_joy_botons = 4;
    d.joy_botons = QStringList{QStringLiteral("1234"), QStringLiteral("1"), QStringLiteral("2"),
                               QStringLiteral("3"), QStringLiteral("4")};
    carregar_joystick_ini();

    // 9. A new activity (sets the caption; the joystick is probed when the
    // first exercise starts).
    exercici_nou();

    // 10. 5% from the top left, 90% of the screen.
    const QRect pantalla = plataforma::rectangle_escriptori();
    move(pantalla.x() + pantalla.width() * 5 / 100, pantalla.y() + pantalla.height() * 5 / 100);
    resize(pantalla.width() * 90 / 100, pantalla.height() * 90 / 100);

    // 11.
    imatge_fons->setScaledContents(true);
    imatge_fons->move(5, 5);
    return true;
}

void Form1::Form_Activate() {
    if (activant_) return;
    activant_ = true;
    activat_alguna_vegada_ = true;
    EstatJugador& j = jugador();

    forat->show();
    // A run owns the window: an activation during it (the dialog that started
    // it closing, a launched program ending) neither shows the menus, which
    // would stop the learner's input being judged, nor greets the user again.
    if (exercici_en_marxa) {
        j.estat_finestra = 1;
        activant_ = false;
        return;
    }
    if (j.estat_finestra == 0) setWindowTitle(tradueix(QStringLiteral("LUMIRAGA - Sense nom")));
    tradueix_formulari(this);

    for (int i = 0; i < 3; ++i) {
        const QString clau = clau_traduccio(QStringLiteral("Form1"), QStringLiteral("mn_velocitat"), i, u'c');
        mn_velocitat[i]->setText(tradueix(clau) + numero_text(percentatge_velocitat(j.velocitat, i)));
    }

    // The speech items follow the engine's state; whether there is an engine
    // at all is asked when the menu opens (menus.cpp), not at the start.
    if (activitat().paraules_veu[0].isEmpty()) mn_fressa[1]->setEnabled(true);
    if (dispositius().motor_veu_preparat) {
        for (int i = 2; i <= 4; ++i)
            mn_fressa[i]->setEnabled(true);
    }

    if (!linia_ordres.isEmpty() && j.estat_finestra == 0) {
        // Marked activated first, so a later activation does not start it again.
        j.estat_finestra = 1;
        activant_ = false;
        // A file refused starts nothing: the window is the teacher's, with its
        // menus, and the loader has said why.
        if (!carregar_exercici(
                cami_linia_ordres(linia_ordres, carpeta_inicial, plataforma::carpeta_programa()))) {
            mostrar_menus(true);
            setWindowTitle(titol_activitat());
            return;
        }
        j.estat_carrega = 1;
        engegar_exercici();
        return;
    }
    if (llistes().nombre_be == 0 && j.estat_finestra == 0) {
        mostrar_menus(true);
        obrir_inici();
    }
    if (j.estat_finestra == 2) {
        mostrar_menus(true);
        Image1->hide();
    }
    j.estat_finestra = 1;
    activant_ = false;
}

void Form1::imatge_centrar() {
    QWidget* client = centralWidget();
    const int w = client->width(), h = client->height();
    forat->move(w + 100, h + 100);
    EstatJugador& j = jugador();
    j.marge_x = static_cast<int16_t>(std::lround(arrodonir_parell((w - Image1->width()) / 2.0)));
    j.marge_y = static_cast<int16_t>(std::lround(arrodonir_parell((h - Image1->height()) / 2.0)));
    Image1->move(j.marge_x, j.marge_y);
    Label_KK->move(w - Label_KK->width(), Label_KK->y());
    if (isVisible()) {
        plataforma::posar_cursor(
            client->mapToGlobal(QPoint(j.marge_x + Image1->width() / 2, j.marge_y + Image1->height() / 2)));
    }
}

void Form1::Form_Resize() {
    imatge_centrar();
}

void Form1::Form_Unload(int16_t& Cancel) {
    // quit() closes the windows again: the question was answered.
    if (saliint_) return;
    if (confirmar_descartar(this)) {
        Cancel = -1;
        return;
    }
    plataforma::ini_escriure(plataforma::fitxer_system_ini(), QStringLiteral("boot"),
                             QStringLiteral("SCRNSAVE.EXE"), estalvi_pantalla);
    plataforma::mostrar_cursor();
    atrapa_no();
    if (mn_ovs[1]->isChecked()) mn_ovs_Click(1);
    // The engine's hooks go, the sound-level one first.
    const EstatDispositius& d = dispositius();
    if (d.procOld_so != 0) restaurar_ganxo_so(d.procOld_so);
    if (d.procOld_rec != 0) restaurar_ganxo_veu(d.procOld_rec);
    const QString desfer = plataforma::fitxer_desfer();
    if (QFile::exists(desfer)) QFile::remove(desfer);
    plataforma::alliberar_instancia_unica();
    saliint_ = true;
    QCoreApplication::quit();
}

void Form1::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    // The first activation is run from the window's first paint, once that
    // paint is on the screen.
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && activat_alguna_vegada_) Form_Activate();
    // A window manager still busy with the window's mapping can drop the full
    // screen a run asked for, leaving its panel over the learner: ask again.
    auto a_mitges = [this] { return exercici_en_marxa && !isFullScreen() && !isMinimized(); };
    if (e->type() == QEvent::WindowStateChange && a_mitges())
        QTimer::singleShot(0, this, [this, a_mitges] {
            if (a_mitges()) pantalla_exercici();
        });
}

void Form1::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    // Without a window manager the window may never become active: make sure
    // the first activation runs all the same, once the window is on the
    // screen (as a window manager activates it), from its first paint when
    // it is not there yet.
    QTimer::singleShot(0, this, [this] {
        if (dibuixada_ || (windowHandle() && !windowHandle()->isExposed())) return;
        if (!activat_alguna_vegada_) Form_Activate();
    });
}

void Form1::paintEvent(QPaintEvent* e) {
    QMainWindow::paintEvent(e);
    dibuixada_ = true;
    if (!activat_alguna_vegada_)
        QTimer::singleShot(0, this, [this] {
            if (!activat_alguna_vegada_) Form_Activate();
        });
}

void Form1::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    Form_Resize();
}

void Form1::closeEvent(QCloseEvent* e) {
    int16_t Cancel = 0;
    Form_Unload(Cancel);
    if (Cancel)
        e->ignore();
    else
        e->accept();
}

} // namespace lumi
