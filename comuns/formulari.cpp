#include "comuns/formulari.h"

#include "core/activitat.h"
#include "core/idioma.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <algorithm>

namespace lumi {

QString caption_control(const QObject* c) {
    if (auto* m = qobject_cast<const QMenu*>(c)) return m->title();
    if (auto* a = qobject_cast<const QAction*>(c)) return a->text();
    if (auto* l = qobject_cast<const QLabel*>(c)) return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(c)) return b->text();
    if (auto* g = qobject_cast<const QGroupBox*>(c)) return g->title();
    return {};
}

QString text_control(const QObject* c) {
    if (auto* e = qobject_cast<const QLineEdit*>(c)) return e->text();
    if (auto* e = qobject_cast<const QComboBox*>(c)) return e->currentText();
    if (auto* e = qobject_cast<const QPlainTextEdit*>(c)) return e->toPlainText();
    if (auto* e = qobject_cast<const QTextEdit*>(c)) return e->toPlainText();
    return {};
}

void posar_caption(QObject* c, const QString& t) {
    if (auto* m = qobject_cast<QMenu*>(c))
        m->setTitle(t);
    else if (auto* a = qobject_cast<QAction*>(c))
        a->setText(t);
    else if (auto* l = qobject_cast<QLabel*>(c))
        l->setText(t);
    else if (auto* b = qobject_cast<QAbstractButton*>(c))
        b->setText(t);
    else if (auto* g = qobject_cast<QGroupBox*>(c))
        g->setTitle(t);
}

void posar_text(QObject* c, const QString& t) {
    if (auto* e = qobject_cast<QLineEdit*>(c))
        e->setText(t);
    else if (auto* e = qobject_cast<QComboBox*>(c))
        e->setCurrentText(t);
    else if (auto* e = qobject_cast<QPlainTextEdit*>(c))
        e->setPlainText(t);
    else if (auto* e = qobject_cast<QTextEdit*>(c))
        e->setPlainText(t);
}

int index_control(const QObject* c) {
    const QVariant v = c->property("index");
    return v.isValid() ? v.toInt() : -1;
}

QList<QObject*> controls_formulari(QObject* form) {
    QList<QObject*> out;
    for (QObject* o : form->findChildren<QObject*>()) {
        if (o->objectName().isEmpty() || o->objectName().startsWith(QLatin1String("qt_"))) continue;
        // A submenu's own action carries no name; the menu stands for it.
        out.append(o);
    }
    return out;
}

void tradueix_formulari(QObject* form) {
    if (!es_idioma_conegut(idioma())) return;
    QChar lletra; // carried over from the control before, as the key rule asks
    for (QObject* c : controls_formulari(form)) {
        if (!text_control(c).isEmpty()) lletra = u't';
        if (!caption_control(c).isEmpty()) lletra = u'c';
        const QString clau = clau_traduccio(form->objectName(), c->objectName(), index_control(c), lletra);
        const QString t = tradueix(clau);
        if (t.isEmpty()) continue;
        if (lletra == u'c')
            posar_caption(c, t);
        else if (lletra == u't')
            posar_text(c, t);
    }
}

namespace {

// The window's size with its frame; before it is first shown it knows no
// frame, and its owner's stands in for it.
QSize mida_amb_marc(const QWidget* w) {
    QSize marc = w->frameGeometry().size() - w->geometry().size();
    const QWidget* amo = w->parentWidget() ? w->parentWidget()->window() : nullptr;
    if (!w->isVisible() && amo) marc = amo->frameGeometry().size() - amo->geometry().size();
    return w->size() + marc;
}

} // namespace

void moure_dins_pantalla(QWidget* w, const QPoint& lloc) {
    if (!w) return;
    const QSize mida = mida_amb_marc(w);
    const QWidget* amo = w->parentWidget() ? w->parentWidget()->window() : nullptr;
    QScreen* s = QGuiApplication::screenAt(lloc + QPoint(mida.width() / 2, mida.height() / 2));
    if (!s && amo) s = amo->screen();
    if (!s) s = QGuiApplication::primaryScreen();
    if (!s) return w->move(lloc);
    const QRect zona = s->availableGeometry();
    // Too big for the screen: its top left corner stays on it.
    const int x =
        std::clamp(lloc.x(), zona.left(), std::max(zona.left(), zona.left() + zona.width() - mida.width()));
    const int y =
        std::clamp(lloc.y(), zona.top(), std::max(zona.top(), zona.top() + zona.height() - mida.height()));
    w->move(x, y);
}

void centrar_dins_pantalla(QWidget* w, const QWidget* sobre) {
    if (!w || !sobre) return;
    const QRect r = sobre->frameGeometry();
    const QSize mida = mida_amb_marc(w);
    moure_dins_pantalla(
        w, QPoint(r.left() + (r.width() - mida.width()) / 2, r.top() + (r.height() - mida.height()) / 2));
}

} // namespace lumi
