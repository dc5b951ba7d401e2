#include "platform/finestres.h"

#include "platform/connexio_x.h"
#include "platform/pantalla.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace lumi::plataforma {

namespace {
struct Registre {
    std::map<int32_t, QPointer<QWidget>> per_handle;
    // Handles start well above small numbers so that 0, -1 and error codes
    // are never mistaken for a window.
    int32_t seguent = 0x10000;
};
Registre& registre() {
    static Registre r;
    return r;
}
} // namespace

int32_t registrar_finestra(QWidget* w) {
    if (!w) return 0;
    Registre& r = registre();
    for (auto it = r.per_handle.begin(); it != r.per_handle.end();) {
        if (it->second.isNull()) {
            it = r.per_handle.erase(it);
            continue;
        }
        if (it->second.data() == w) return it->first;
        ++it;
    }
    const int32_t h = r.seguent;
    r.seguent += 4;
    r.per_handle.emplace(h, QPointer<QWidget>(w));
    return h;
}

QWidget* finestra_per_handle(int32_t handle) {
    Registre& r = registre();
    auto it = r.per_handle.find(handle);
    if (it == r.per_handle.end()) return nullptr;
    return it->second.data();
}

void posar_a_sobre(QWidget* w, bool a_sobre) {
    if (!w) return;
    const Qt::WindowFlags abans = w->windowFlags();
    const Qt::WindowFlags flags =
        a_sobre ? abans | Qt::WindowStaysOnTopHint : abans & ~Qt::WindowStaysOnTopHint;
    if (flags == abans) return;
    if (QWindow* h = w->windowHandle()) {
        // Said to the window system on the window as it is: setWindowFlags
        // would hide it and show it again, over whatever was launched.
        w->overrideWindowFlags(flags);
        h->setFlags(flags);
    } else {
        w->setWindowFlags(flags);
    }
}

#ifdef LUMI_XCB
namespace {

// The parent of a process; 0 when it is gone.
qint64 pare_de(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    // "pid (name) state ppid ...": the name may hold blanks and brackets.
    const QByteArray stat = f.read(1024);
    const qsizetype tanca = stat.lastIndexOf(')');
    if (tanca < 0) return 0;
    const QList<QByteArray> camps = stat.mid(tanca + 2).split(' ');
    return camps.size() > 1 ? camps[1].toLongLong() : 0;
}

// Whether process `fill` is `pid` or was started by it, at any remove.
bool descendeix_de(qint64 fill, qint64 pid) {
    for (int i = 0; i < 64 && fill > 1; ++i) {
        if (fill == pid) return true;
        fill = pare_de(fill);
    }
    return false;
}

// The 32-bit values of a window property; empty when it has none.
std::vector<uint32_t> propietat(xcb_connection_t* c, xcb_window_t w, xcb_atom_t nom, xcb_atom_t tipus) {
    std::vector<uint32_t> v;
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, nom, tipus, 0, 4096), nullptr);
    if (r && r->format == 32) {
        const auto* d = static_cast<const uint32_t*>(xcb_get_property_value(r));
        v.assign(d, d + xcb_get_property_value_length(r) / 4);
    }
    free(r);
    return v;
}

// The top-level windows of the screen: those the window manager lists, or,
// with none, the mapped children of the root.
std::vector<xcb_window_t> finestres_de_primer_nivell(xcb_connection_t* c, xcb_window_t arrel) {
    std::vector<uint32_t> llista = propietat(c, arrel, atom_x(c, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    if (!llista.empty()) return {llista.begin(), llista.end()};
    std::vector<xcb_window_t> v;
    xcb_query_tree_reply_t* r = xcb_query_tree_reply(c, xcb_query_tree(c, arrel), nullptr);
    if (!r) return v;
    const xcb_window_t* fills = xcb_query_tree_children(r);
    for (int i = 0; i < xcb_query_tree_children_length(r); ++i) {
        xcb_get_window_attributes_reply_t* a =
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, fills[i]), nullptr);
        if (a && a->map_state == XCB_MAP_STATE_VIEWABLE && !a->override_redirect) v.push_back(fills[i]);
        free(a);
    }
    free(r);
    return v;
}

// Raises the first window of those processes; false while there is none.
bool activar_finestra_de(xcb_connection_t* c, qint64 pid) {
    xcb_screen_t* s = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!s) return false;
    const xcb_atom_t net_wm_pid = atom_x(c, "_NET_WM_PID");
    for (const xcb_window_t w : finestres_de_primer_nivell(c, s->root)) {
        const std::vector<uint32_t> seu = propietat(c, w, net_wm_pid, XCB_ATOM_CARDINAL);
        if (seu.empty() || !descendeix_de(seu[0], pid)) continue;
        if (!propietat(c, s->root, atom_x(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW).empty()) {
            // A window manager decides: asked as a pager would, which it obeys.
            xcb_client_message_event_t e{};
            e.response_type = XCB_CLIENT_MESSAGE;
            e.format = 32;
            e.window = w;
            e.type = atom_x(c, "_NET_ACTIVE_WINDOW");
            e.data.data32[0] = 2;
            e.data.data32[1] = XCB_CURRENT_TIME;
            xcb_send_event(c, 0, s->root,
                           XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                           reinterpret_cast<const char*>(&e));
        } else {
            const uint32_t dalt = XCB_STACK_MODE_ABOVE;
            xcb_configure_window(c, w, XCB_CONFIG_WINDOW_STACK_MODE, &dalt);
            xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, w, XCB_CURRENT_TIME);
        }
        xcb_flush(c);
        return true;
    }
    return false;
}

// Whether a window manager runs and has let the full screen of a window go.
bool gestor_sense_pantalla_completa(QWidget* w) {
    xcb_connection_t* c = connexio_x();
    if (!c || !w->windowHandle()) return false;
    const xcb_window_t arrel = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    if (propietat(c, arrel, atom_x(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW).empty()) return false;
    const std::vector<uint32_t> estat =
        propietat(c, static_cast<xcb_window_t>(w->winId()), atom_x(c, "_NET_WM_STATE"), XCB_ATOM_ATOM);
    return std::find(estat.begin(), estat.end(), atom_x(c, "_NET_WM_STATE_FULLSCREEN")) == estat.end();
}

} // namespace

void portar_al_davant(QObject* vigilant, qint64 pid, double segons) {
    if (!vigilant || pid <= 0 || !connexio_x()) return;
    auto* t = new QTimer(vigilant);
    auto rellotge = std::make_shared<QElapsedTimer>();
    rellotge->start();
    t->setInterval(100);
    QObject::connect(t, &QTimer::timeout, t, [t, pid, segons, rellotge] {
        xcb_connection_t* c = connexio_x();
        if (!c || activar_finestra_de(c, pid) || rellotge->elapsed() > segons * 1000) {
            t->stop();
            t->deleteLater();
        }
    });
    t->start();
}
#else
void portar_al_davant(QObject*, qint64, double) {}
#endif

void cobrir_escriptori(QWidget* w) {
    // The geometry is asked for before and after: without a window manager
    // the request alone does not move the window.
    const QRect r = rectangle_escriptori();
    w->setGeometry(r);
    w->showFullScreen();
    w->setGeometry(r);
    // A window manager keeps its panel over a full-screen window that is not
    // the active one.
    w->raise();
    w->activateWindow();
#ifdef LUMI_XCB
    // A window manager can let the request go while it still maps or moves
    // the window, and Qt keeps taking it for full screen: asked again, once.
    QTimer::singleShot(500, w, [w = QPointer<QWidget>(w)] {
        if (!w || !w->isFullScreen() || !gestor_sense_pantalla_completa(w)) return;
        w->showNormal();
        w->showFullScreen();
        w->raise();
        w->activateWindow();
    });
#endif
}

} // namespace lumi::plataforma
