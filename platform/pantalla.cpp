#include "platform/pantalla.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace lumi::plataforma {

QRect rectangle_escriptori() {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (QScreen* s = app->primaryScreen()) return s->geometry();
    }
    return QRect(0, 0, 1024, 768);
}

void amagar_cursor() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
}

void mostrar_cursor() {
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

bool cursor_amagat() {
    const QCursor* c = QGuiApplication::overrideCursor();
    return c && c->shape() == Qt::BlankCursor;
}

namespace {
QPoint g_cursor_posat{-1, -1};
}

void posar_cursor(QPoint p) {
    g_cursor_posat = p;
    QCursor::setPos(p);
}

QPoint cursor_posat() {
    return g_cursor_posat;
}

} // namespace lumi::plataforma
