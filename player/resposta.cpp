// The answer cycle: every device's handler catches the window, counts the
// answer, has its matcher judge it, plays the reaction and asks what comes
// next, then releases the window.
#include "player/Form1.h"

#include "player/comparadors.h"
#include "player/finestra_informe.h"
#include "platform/cursor_confinament.h"
#include "core/informe.h"
#include "player/presentacio.h"
#include "devices/modul_joystic.h"
#include "platform/motor_veu.h"
#include "platform/pantalla.h"
#include "devices/seguidor.h"
#include "core/tecles.h"
#include "core/vb.h"

#include <QApplication>
#include <QChildEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

namespace lumi {

namespace {

int16_t boto_vb(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int16_t botons_vb(Qt::MouseButtons b) {
    int16_t r = 0;
    if (b & Qt::LeftButton) r |= 1;
    if (b & Qt::RightButton) r |= 2;
    if (b & Qt::MiddleButton) r |= 4;
    return r;
}

int16_t shift_vb(Qt::KeyboardModifiers m) {
    int16_t r = 0;
    if (m & Qt::ShiftModifier) r |= 1;
    if (m & Qt::ControlModifier) r |= 2;
    if (m & Qt::AltModifier) r |= 4;
    return r;
}

int meitat(int n) {
    return static_cast<int>(arrodonir_parell(n / 2.0));
}

} // namespace

// ---- Routing ----

void Form1::connectar_resposta() {
    if (resposta_connectada_) return;
    resposta_connectada_ = true;
    // Idle: the key-catching box takes nothing until an answer is handled.
    forat->setEnabled(false);
    connect(t_joystick, &QTimer::timeout, this, &Form1::t_joystick_Timer);
    connect(T_so, &QTimer::timeout, this, &Form1::T_so_Timer);
    connect(t_web, &QTimer::timeout, this, &Form1::t_web_Timer);
    connect(t_web_control, &QTimer::timeout, this, &Form1::t_web_control_Timer);

    installEventFilter(this);
    QWidget* client = centralWidget();
    client->installEventFilter(this);
    client->setMouseTracking(true);
    setMouseTracking(true);
    for (QWidget* w : client->findChildren<QWidget*>()) {
        w->installEventFilter(this);
        w->setMouseTracking(true);
    }
}

bool Form1::eventFilter(QObject* objecte, QEvent* e) {
    QWidget* client = centralWidget();
    switch (e->type()) {
    case QEvent::ChildAdded: {
        // Zone pictures and video boxes come later: they answer as well.
        auto* fill = qobject_cast<QWidget*>(static_cast<QChildEvent*>(e)->child());
        if (fill && objecte != this && (objecte == client || client->isAncestorOf(fill))) {
            fill->installEventFilter(this);
            fill->setMouseTracking(true);
        }
        return false;
    }
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        int16_t vk = static_cast<int16_t>(qt_a_vk(k->key(), k->modifiers() & Qt::KeypadModifier));
        if (vk == 0) return false;
        const int16_t shift = shift_vb(k->modifiers());
        modificador_pendent_ = 0;
        if (resposta_en_curs() && vk != 27) {
            // While an answer is handled the keys go to the catching box only.
            forat_KeyPress(vk);
            return true;
        }
        if ((vk == 16 || vk == 17 || vk == 18) && !modificador_pres(vk)) {
            modificador_pendent_ = vk;
            return true;
        }
        Form_KeyDown(vk, shift);
        return true;
    }
    case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(e);
        // X11 sends a release with every auto-repeat: only a real one counts.
        if (k->isAutoRepeat()) return true;
        const int16_t vk = static_cast<int16_t>(qt_a_vk(k->key(), k->modifiers() & Qt::KeypadModifier));
        if (vk == 0) return false;
        forat_KeyUp(vk, shift_vb(k->modifiers()));
        if (vk == modificador_pendent_) {
            modificador_pendent_ = 0;
            int16_t tecla = vk;
            if (!resposta_en_curs()) Form_KeyDown(tecla, shift_vb(k->modifiers()));
        }
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* w = qobject_cast<QWidget*>(objecte);
        // The menu bar and its menus keep their own clicks.
        if (!w || !(w == client || client->isAncestorOf(w))) return false;
        auto* m = static_cast<QMouseEvent*>(e);
        const QPointF p = client->mapFromGlobal(m->globalPosition());
        const float x = static_cast<float>(p.x()), y = static_cast<float>(p.y());
        const int16_t shift = shift_vb(m->modifiers());
        if (e->type() == QEvent::MouseMove) {
            // Our own pointer placements are no learner moves, and the main
            // picture forwards its clicks only.
            if (m->globalPosition().toPoint() == plataforma::cursor_posat()) return true;
            if (resposta_en_curs() || w == Image1) return true;
            const int16_t b = botons_vb(m->buttons());
            if (w == Label_par)
                Label_par_MouseMove(b, shift, x, y);
            else
                Form_MouseMove(b, shift, x, y);
            return true;
        }
        const int16_t b = boto_vb(m->button());
        if (b == 0) return false;
        if (resposta_en_curs()) return true;
        if (w == Image1)
            Image1_MouseDown(b, shift, x, y);
        else if (w == Label_par)
            Label_par_MouseDown(b, shift, x, y);
        else
            Form_MouseDown(b, shift, x, y);
        return true;
    }
    default:
        return false;
    }
}

// ---- State helpers ----

int Form1::nombre_formularis() const {
    // The player plus every other program window on screen; menus, tooltips
    // and other popups are not forms, nor is the report window (it stands for
    // a separate text editor, which never held the learner back).
    int n = 1;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w == this || !w->isVisible() || w->property(FORA_DEL_RECOMPTE).toBool()) continue;
        // Device windows (the speech engine's, the webcam's) are not forms.
        if (w->property(plataforma::PROPIETAT_FINESTRA_DISPOSITIU).toBool()) continue;
        const Qt::WindowType t = w->windowType();
        if (t == Qt::Popup || t == Qt::ToolTip || t == Qt::Desktop || t == Qt::SplashScreen) continue;
        if (qobject_cast<QMenu*>(w)) continue;
        ++n;
    }
    return n;
}

bool Form1::entrada_bloquejada() const {
    return !exercici_en_marxa || nombre_formularis() > 1 || mn_opcions->menuAction()->isVisible();
}

bool Form1::modificador_pres(int16_t vk) const {
    const Activitat& a = activitat();
    const int16_t actual = jugador().index_actual;
    const int primer = actual != 0 ? actual : 1, darrer = actual != 0 ? actual : a.nombre_items;
    for (int i = primer; i <= darrer; ++i)
        if (pren_modificador(a, sequencia_parcial, static_cast<int16_t>(i), vk)) return true;
    return false;
}

void Form1::netejar_estimul() {
    Image2->hide();
    Label_par->hide();
    Image2->clear();
    color_finestra(activitat().color_fons);
}

void Form1::posar_cursor_client(QPoint p) {
    plataforma::posar_cursor(centralWidget()->mapToGlobal(p));
}

// ---- Catching and releasing ----

void Form1::atrapa_si() {
    t_joystick->stop();
    EstatDispositius& d = dispositius();
    if (d.omvis_estat == -2) {
        t_web->stop();
        d.omvis_estat = -1;
    }
    // The box lies beyond the bottom-right corner of the pictures and zones.
    const QRect caixa(centralWidget()->mapToGlobal(forat->pos()), forat->size());
    plataforma::confinar_cursor(caixa, windowHandle());
    repeticions_tecla = 0;
    forat->setEnabled(true);
    forat->setFocus();
}

void Form1::atrapa_no() {
    plataforma::alliberar_cursor();
    forat->setEnabled(false);
    QWidget* client = centralWidget();
    posar_cursor_client(QPoint(meitat(client->width()), meitat(client->height())));
    t_joystick->start();
    EstatDispositius& d = dispositius();
    if (d.omvis_estat == -1) {
        t_web->start();
        d.omvis_estat = -2;
    }
    // Painted and receiving the keys again.
    activateWindow();
    setFocus();
    update();
}

void Form1::focus() {
    QWidget* client = centralWidget();
    const QPoint p(meitat(client->width()), meitat(client->height()));
    posar_cursor_client(p);
    activateWindow();
    // A middle click only activates: no handler takes it as an answer.
    const QPointF g = client->mapToGlobal(QPointF(p));
    QMouseEvent baixa(QEvent::MouseButtonPress, QPointF(p), g, Qt::MiddleButton, Qt::MiddleButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(client, &baixa);
    QMouseEvent alta(QEvent::MouseButtonRelease, QPointF(p), g, Qt::MiddleButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(client, &alta);
}

// ---- Judging ----

void Form1::apartar_finestra() {
    atrapa_no();
    showMinimized();
}

// ---- Keys ----

void Form1::Form_KeyDown(int16_t& KeyCode, int16_t Shift) {
    if (KeyCode == 27) {
        if (Shift == 1) {
            // Leaving the program: the run stops first, then the window's
            // close steps run (asking about unsaved changes); when the user
            // keeps the program, the player comes back with its menus.
            exercici_atura();
            if (!close() && !mn_opcions->menuAction()->isVisible()) atura_per_esc();
            return;
        }
        atura_per_esc();
        return;
    }
    if (!jugador().media_actual.isEmpty()) serveis_presentacio().reproduir_media(QString());
    atrapa_si();
    if (entrada_bloquejada()) {
        atrapa_no();
        return;
    }
    cicle.comptar_resposta();
    if (KeyCode >= 96 && KeyCode <= 105) KeyCode = static_cast<int16_t>(KeyCode - 48);
    const int16_t tecla = KeyCode;
    if (!cicle.jutjar([this, tecla](int16_t i) { return comprova_tecla(i, tecla); }, true)) atrapa_no();
}

void Form1::forat_KeyPress(int16_t) {
    if (repeticions_tecla < 32767) ++repeticions_tecla;
}

void Form1::forat_KeyUp(int16_t, int16_t) {
    repeticions_tecla = 0;
}

// ---- Mouse ----

void Form1::Form_MouseDown(int16_t Button, int16_t, float X, float Y) {
    if (Button == 4) return;
    if (entrada_bloquejada()) return;
    atrapa_si();
    sumar_u(informe().nombre_respostes);
    if (!jugador().media_actual.isEmpty()) serveis_presentacio().reproduir_media(QString());
    cicle.tancar_pregunta_oberta();
    if (!cicle.jutjar([this, Button, X, Y](int16_t i) { return comprova_zona(i, Button, X, Y); }, false))
        atrapa_no();
}

void Form1::Form_MouseMove(int16_t Button, int16_t, float X, float Y) {
    if (Button == 4) return;
    if (entrada_bloquejada() || jugador().usa_ratoli_sobre == 0 || !sequencia_parcial.isEmpty()) return;
    EstatJugador& j = jugador();
    if (j.index_actual != 0) {
        const int16_t i = j.index_actual;
        const int16_t r = comprova_zona(i, -1, X, Y);
        if (r == COMPROVA_MAL) return;
        if (r == COMPROVA_PAS_SERIE) {
            atrapa_no();
            return;
        }
        atrapa_si();
        cicle.comptar_resposta();
        if (!cicle.resposta_be(i)) atrapa_no();
        return;
    }
    const int16_t n = activitat().nombre_items;
    for (int16_t i = 1; i <= n; ++i) {
        const int16_t r = comprova_zona(i, -1, X, Y);
        if (r == COMPROVA_MAL || r == COMPROVA_PAS_SERIE) continue;
        atrapa_si();
        cicle.actuar_sense_pregunta(i, r);
        break;
    }
    atrapa_no();
}

void Form1::Image1_MouseDown(int16_t Button, int16_t Shift, float X, float Y) {
    if (entrada_bloquejada()) return;
    Form_MouseDown(Button, Shift, X, Y);
}

void Form1::Label_par_MouseDown(int16_t Button, int16_t Shift, float X, float Y) {
    Form_MouseDown(Button, Shift, X, Y);
}

void Form1::Label_par_MouseMove(int16_t Button, int16_t Shift, float X, float Y) {
    Form_MouseMove(Button, Shift, X, Y);
}

// ---- Device timers ----

void Form1::t_joystick_Timer() {
    if (entrada_bloquejada() || resposta_en_curs()) return;
    const QString ev = joystick_llegir();
    if (ev.isEmpty()) return;
    if (entrada_bloquejada()) return;
    atrapa_si();
    netejar_estimul();
    cicle.comptar_resposta();
    if (!cicle.jutjar([this, ev](int16_t i) { return comprova_joystic(i, ev); }, false)) atrapa_no();
}

void Form1::T_so_Timer() {
    EstatDispositius& d = dispositius();
    if (d.nivell_so_actiu == 0 || d.nivell_so == 0) return;
    if (entrada_bloquejada()) return;
    if (resposta_en_curs()) {
        d.nivell_so = 0;
        d.nivells_so[0] = 0;
        d.nivells_so[1] = 0;
        return;
    }
    EstatJugador& j = jugador();
    if (j.index_actual != 0) {
        const int16_t i = j.index_actual;
        const int16_t r = comprova_so(i);
        if (r == COMPROVA_INDECIS) return;
        T_so->stop();
        atrapa_si();
        netejar_estimul();
        cicle.comptar_resposta();
        if (cicle.actuar(i, r, false)) {
            T_so->start();
            return;
        }
    } else {
        const int16_t n = activitat().nombre_items;
        bool atrapada = false;
        for (int16_t i = 1; i <= n; ++i) {
            const int16_t r = comprova_so(i);
            if (r == COMPROVA_INDECIS) continue;
            if (!atrapada) {
                // One tick is one answer, however many items judge it.
                T_so->stop();
                atrapa_si();
                netejar_estimul();
                cicle.comptar_resposta();
                atrapada = true;
            }
            if (r == COMPROVA_MAL) continue;
            cicle.actuar_sense_pregunta(i, r);
            break;
        }
    }
    atrapa_no();
    T_so->start();
}

void Form1::t_web_Timer() {
    if (entrada_bloquejada() || resposta_en_curs()) return;
    int16_t x = 0, y = 0;
    const int16_t trobat = omvis_posicio_pantalla(x, y);
    const Activitat& a = activitat();
    const int16_t index = jugador().index_actual;
    if (trobat == 0 && index == 0) return;
    if (trobat == 0) {
        if (index < 0 || index >= static_cast<int>(a.items.size())) return;
        const item& it = a.items[index];
        if (it.web[2] == 0 && !it.serie.contains(QStringLiteral("WC2"))) return;
    }
    if (entrada_bloquejada()) return;
    atrapa_si();
    netejar_estimul();
    cicle.comptar_resposta();
    if (!cicle.jutjar([this, x, y](int16_t i) { return comprova_web(i, x, y); }, false)) atrapa_no();
}

void Form1::t_web_control_Timer() {
    int16_t x = 0, y = 0;
    if (omvis_posicio_pantalla(x, y) != 0) {
        web_cursor->move(centralWidget()->mapFromGlobal(QPoint(x, y)));
        web_cursor->show();
        web_cursor->raise();
    } else {
        web_cursor->hide();
    }
}

// ---- The matchers on the window's state ----

namespace {
EntornComprova entorn(Form1& f) {
    return EntornComprova{
        activitat(), f.sequencia_parcial, f.reaccio_serie_pendent, informe(), dispositius(), [&f] {
            f.Label_par->adjustSize();
            f.Label_par->hide();
        }};
}
} // namespace

int16_t Form1::comprova_tecla(int16_t i, int16_t tecla) {
    EntornComprova e = entorn(*this);
    return lumi::comprova_tecla(e, i, tecla);
}

int16_t Form1::comprova_zona(int16_t i, int16_t boto, float x, float y) {
    EntornComprova e = entorn(*this);
    return lumi::comprova_zona(e, i, boto, x, y);
}

int16_t Form1::comprova_joystic(int16_t i, const QString& events) {
    EntornComprova e = entorn(*this);
    return lumi::comprova_joystic(e, i, events);
}

int16_t Form1::comprova_web(int16_t i, int16_t x, int16_t y) {
    EntornComprova e = entorn(*this);
    return lumi::comprova_web(e, i, x, y);
}

int16_t Form1::comprova_so(int16_t i) {
    EntornComprova e = entorn(*this);
    return lumi::comprova_so(e, i);
}

int16_t Form1::f_so(int16_t baix, int16_t alt, int16_t mode) {
    return lumi::f_so(dispositius(), baix, alt, mode);
}

} // namespace lumi
