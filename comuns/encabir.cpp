#include "comuns/encabir.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <limits>
#include <map>
#include <vector>

namespace lumi {

namespace {

// Room left between a caption that grew and the control it pushed.
constexpr int SEPARACIO = 6;

bool en_disposicio(const QLayout* l, const QWidget* w) {
    if (!l) return false;
    for (int i = 0; i < l->count(); ++i) {
        QLayoutItem* e = l->itemAt(i);
        if (e->widget() == w || (e->layout() && en_disposicio(e->layout(), w))) return true;
    }
    return false;
}

// The size the caption of a label or button needs; empty without one.
QSize mida_caption(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w)) {
        if (l->text().trimmed().isEmpty() || !l->pixmap().isNull()) return {};
        if (l->wordWrap()) return {l->width(), l->heightForWidth(l->width())};
        return l->sizeHint();
    }
    auto* b = qobject_cast<QAbstractButton*>(w);
    if (!b || b->text().isEmpty()) return {};
    if (!qobject_cast<QPushButton*>(b)) return b->sizeHint();
    // A push button's own hint holds a minimum width its text does not need.
    const QStyle* s = b->style();
    const int marc = 2 * s->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
    const int marge = 2 * s->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b) + marc;
    const QSize t = b->fontMetrics().size(Qt::TextShowMnemonic, b->text());
    const int icona = b->icon().isNull() ? 0 : b->iconSize().width() + 4;
    return {t.width() + icona + marge, t.height() + marc};
}

// A caption drawn from the left edge of its box, on one line.
bool des_de_l_esquerra(const QWidget* w) {
    if (auto* l = qobject_cast<const QLabel*>(w)) return !l->wordWrap() && (l->alignment() & Qt::AlignLeft);
    return !qobject_cast<const QPushButton*>(w);
}

void posar_mida(QWidget* w, QSize m) {
    if (w->minimumSize() == w->maximumSize())
        w->setFixedSize(m);
    else if (w->parentWidget() && en_disposicio(w->parentWidget()->layout(), w))
        w->setMinimumSize(m);
    w->resize(m);
}

bool mateixa_fila(const QRect& a, const QRect& b) {
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

bool mateixa_columna(const QRect& a, const QRect& b) {
    return a.left() <= b.right() && b.left() <= a.right();
}

// One container: its hand-placed children first grow to their captions,
// then each one pushes the ones to its right, and below it, that its caption
// or its new place reaches; the container grows to hold them.
void encabir(QWidget* pare) {
    std::vector<QWidget*> fills;
    std::map<QWidget*, QRect> abans;
    for (QWidget* f : pare->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (f->isWindow()) continue;
        if (!en_disposicio(pare->layout(), f)) {
            fills.push_back(f);
            abans[f] = f->geometry();
        }
        encabir(f);
    }
    int dreta = 0, baix = 0;
    for (QWidget* f : fills) {
        dreta = std::max(dreta, abans[f].right() + 1);
        baix = std::max(baix, abans[f].bottom() + 1);
        const QSize m = mida_caption(f);
        if (m.isValid()) posar_mida(f, f->size().expandedTo(m));
    }
    const int marge_dret = std::max(0, pare->width() - dreta);
    const int marge_baix = std::max(0, pare->height() - baix);

    std::vector<QWidget*> pendents = fills;
    // The controls the form lined up with the one at `as` move along to `v`
    // when they lie before it: columns and rows stay straight.
    auto alinear = [&](const QRect& as, int v, bool avall) {
        for (QWidget* t : fills) {
            const bool en_linia = avall ? abans[t].top() == as.top() : abans[t].left() == as.left();
            if (!en_linia || (avall ? t->y() : t->x()) >= v) continue;
            t->move(avall ? QPoint(t->x(), v) : QPoint(v, t->y()));
            pendents.push_back(t);
        }
    };
    while (!pendents.empty()) {
        QWidget* c = pendents.back();
        pendents.pop_back();
        const QRect rc = c->geometry(), ac = abans[c];
        const QSize m = mida_caption(c);
        const bool mogut = rc.topLeft() != ac.topLeft(), crescut = rc.size() != ac.size();
        for (QWidget* s : fills) {
            const QRect as = abans[s];
            if (s == c || as.contains(ac) || ac.contains(as)) continue;
            if (as.left() > ac.left() && mateixa_fila(ac, as)) {
                // A caption that grew, or one drawn from the left under a
                // neighbour the form laid over its box, keeps some room before
                // the next control; a moved control keeps the gap the form left.
                int x = std::numeric_limits<int>::min();
                if (m.isValid() && (crescut || des_de_l_esquerra(c))) x = c->x() + m.width() + SEPARACIO;
                if (mogut || (crescut && !m.isValid())) x = std::max(x, rc.right() + as.left() - ac.right());
                alinear(as, x, false);
            } else if (as.top() > ac.top() && mateixa_columna(ac, as) && rc.bottom() > ac.bottom()) {
                // Below it the same: a caption wrapped onto more lines keeps
                // some room, a control pushed down keeps the form's gap.
                int y = std::numeric_limits<int>::min();
                if (m.isValid() && rc.height() > ac.height()) y = c->y() + m.height() + SEPARACIO;
                if (mogut || !m.isValid()) y = std::max(y, rc.bottom() + as.top() - ac.bottom());
                alinear(as, y, true);
            }
        }
    }
    int cal_dreta = 0, cal_baix = 0;
    for (QWidget* f : fills) {
        // Only what moved or grew: a form may leave controls past its edge.
        if (f->geometry() == abans[f]) continue;
        cal_dreta = std::max(cal_dreta, f->geometry().right() + 1 + marge_dret);
        cal_baix = std::max(cal_baix, f->geometry().bottom() + 1 + marge_baix);
    }
    if (cal_dreta > pare->width() || cal_baix > pare->height())
        posar_mida(pare, pare->size().expandedTo({cal_dreta, cal_baix}));
}

} // namespace

void encabir_captions(QWidget* form) {
    encabir(form);
    if (form->layout()) form->layout()->activate();
}

} // namespace lumi
