// The X server connection that Qt draws through, for the few requests Qt has
// no call for. Only built where the xcb client library is present.
#pragma once

#ifdef LUMI_XCB
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace lumi::plataforma {

// nullptr unless the program runs on X11 (offscreen, Wayland: nullptr).
inline xcb_connection_t* connexio_x() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The atom of a name, interned when the server does not have it yet.
inline xcb_atom_t atom_x(xcb_connection_t* c, const char* nom) {
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(nom)), nom), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(r);
    return a;
}

} // namespace lumi::plataforma
#endif
