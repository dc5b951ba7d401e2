#include "platform/cursor_confinament.h"

#include "platform/pantalla.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWindow>
#include <optional>

#include "platform/connexio_x.h"

namespace lumi::plataforma {

namespace {

QRect g_caixa;
bool g_servidor = false;

#ifdef LUMI_XCB
xcb_window_t g_finestra_x = 0;
// The grab's answer, taken when first needed: waiting for it at once would
// hold a learner's answer for a round trip to the server.
std::optional<xcb_grab_pointer_cookie_t> g_galeta;

bool confinar_x(const QRect& caixa, QWindow* finestra) {
    xcb_connection_t* c = connexio_x();
    if (!c || !finestra || !finestra->isExposed()) return false;
    xcb_screen_t* s = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!s) return false;
    // An input-only window over the box: the pointer is confined to it.
    g_finestra_x = xcb_generate_id(c);
    const uint32_t valors[] = {1};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, g_finestra_x, s->root, static_cast<int16_t>(caixa.x()),
                      static_cast<int16_t>(caixa.y()), static_cast<uint16_t>(std::max(1, caixa.width())),
                      static_cast<uint16_t>(std::max(1, caixa.height())), 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT, valors);
    xcb_map_window(c, g_finestra_x);
    const uint16_t mascara = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                             XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_ENTER_WINDOW |
                             XCB_EVENT_MASK_LEAVE_WINDOW;
    g_galeta =
        xcb_grab_pointer(c, 1, static_cast<xcb_window_t>(finestra->winId()), mascara, XCB_GRAB_MODE_ASYNC,
                         XCB_GRAB_MODE_ASYNC, g_finestra_x, XCB_NONE, XCB_CURRENT_TIME);
    xcb_flush(c);
    return true;
}

// Whether the server took the grab; a refused one takes its window away.
bool grab_acceptat() {
    xcb_connection_t* c = connexio_x();
    if (!c || !g_galeta) return g_finestra_x != 0;
    xcb_grab_pointer_reply_t* r = xcb_grab_pointer_reply(c, *g_galeta, nullptr);
    g_galeta.reset();
    const bool ok = r && r->status == XCB_GRAB_STATUS_SUCCESS;
    free(r);
    if (!ok) {
        xcb_destroy_window(c, g_finestra_x);
        g_finestra_x = 0;
        xcb_flush(c);
    }
    return ok;
}

void alliberar_x() {
    xcb_connection_t* c = connexio_x();
    if (!c || !g_finestra_x) return;
    if (g_galeta) xcb_discard_reply(c, g_galeta->sequence);
    g_galeta.reset();
    xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    xcb_destroy_window(c, g_finestra_x);
    g_finestra_x = 0;
    xcb_flush(c);
}
#else
bool confinar_x(const QRect&, QWindow*) {
    return false;
}
bool grab_acceptat() {
    return false;
}
void alliberar_x() {}
#endif

QPoint dins(const QRect& r, QPoint p) {
    return QPoint(std::clamp(p.x(), r.left(), r.right()), std::clamp(p.y(), r.top(), r.bottom()));
}

// The fallback: a pointer that leaves the box is put back at its edge.
class Vigilant : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* e) override {
        if (g_caixa.isEmpty() || g_servidor || e->type() != QEvent::MouseMove) return false;
        const QPoint p = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
        if (g_caixa.contains(p)) return false;
        QCursor::setPos(dins(g_caixa, p));
        return true;
    }
};

Vigilant* g_vigilant = nullptr;

// The fallback put in place, the pointer brought inside the box.
void confinar_programari() {
    if (!QCoreApplication::instance()) return;
    if (!g_vigilant) {
        g_vigilant = new Vigilant;
        QCoreApplication::instance()->installEventFilter(g_vigilant);
    }
    const QPoint p = QCursor::pos();
    if (!g_caixa.contains(p)) QCursor::setPos(dins(g_caixa, p));
}

} // namespace

QRect caixa_dins_pantalla(const QRect& caixa, const QRect& pantalla) {
    QRect r = caixa;
    if (r.right() > pantalla.right()) r.moveRight(pantalla.right());
    if (r.bottom() > pantalla.bottom()) r.moveBottom(pantalla.bottom());
    if (r.left() < pantalla.left()) r.moveLeft(pantalla.left());
    if (r.top() < pantalla.top()) r.moveTop(pantalla.top());
    return r;
}

void confinar_cursor(const QRect& caixa, QWindow* finestra) {
    alliberar_cursor();
    if (caixa.isEmpty()) return;
    g_caixa = caixa_dins_pantalla(caixa, rectangle_escriptori());
    g_servidor = confinar_x(g_caixa, finestra);
    if (!g_servidor) {
        confinar_programari();
    } else if (QCoreApplication::instance()) {
        // The server's answer once the event loop runs again.
        QTimer::singleShot(0, [] { confinament_servidor(); });
    }
}

void alliberar_cursor() {
    if (g_servidor) alliberar_x();
    g_servidor = false;
    g_caixa = QRect();
}

QRect cursor_confinat() {
    return g_caixa;
}

bool confinament_servidor() {
    if (g_servidor && !grab_acceptat()) {
        g_servidor = false;
        confinar_programari();
    }
    return g_servidor;
}

} // namespace lumi::plataforma
