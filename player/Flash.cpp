#include "player/Flash.h"

#include "platform/pantalla.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QList>

namespace lumi {

namespace {
QList<Flash*>& finestres() {
    static QList<Flash*> l;
    return l;
}
} // namespace

Flash::Flash(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Flash"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
    setAutoFillBackground(true);

    peli = new QLabel(QStringLiteral("Label1"), this);
    peli->setObjectName(QStringLiteral("peli"));
    peli->hide();
    pantalla = new QWidget(this);
    pantalla->setObjectName(QStringLiteral("Flash"));
    pantalla->setPalette(p);
    pantalla->setAutoFillBackground(true);
    pantalla->hide();
    finestres().append(this);
}

Flash::~Flash() {
    finestres().removeAll(this);
}

void Flash::posar_peli(const QString& ordre) {
    const bool canvi = peli->text() != ordre;
    peli->setText(ordre);
    if (canvi) Flash_peli_Change();
}

void Flash::Flash_peli_Change() {
    const QRect r = plataforma::rectangle_escriptori();
    pantalla->move(0, 0);
    pantalla->resize(r.width(), r.height());
    pantalla->show();
    pelicula_ = peli->text();
}

void Flash::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && jugador)
        QCoreApplication::sendEvent(jugador, e);
    else
        QWidget::keyPressEvent(e);
}

void Flash::amagar_totes() {
    for (Flash* f : finestres())
        f->hide();
}

int Flash::vives() {
    return static_cast<int>(finestres().size());
}

} // namespace lumi
