// Every window in the three languages: each caption whole, not covered by a
// neighbour, and in the interface language.
#include "actions/ACCIONS.h"
#include "actions/tela_zones.h"
#include "comuns/formulari.h"
#include "comuns/rec_graf.h"
#include "core/idioma.h"
#include "devices/OVSDLL_CALIB.h"
#include "devices/ombra_visor.h"
#include "planner/Finestra2.h"
#include "planner/paraules.h"
#include "planner/planificar.h"
#include "platform/finestres_veu.h"
#include "platform/motor_veu_real.h"
#include "player/Form1.h"
#include "player/finestra_informe.h"
#include "player/inici.h"

#include <QAbstractButton>
#include <QApplication>
#include <QScreen>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <functional>
#include <gtest/gtest.h>
#include <map>

using namespace lumi;

namespace {

using Mirar = std::function<void(QWidget*, const char*)>;

// Where a control draws its caption, in its parent's coordinates; empty
// when it shows no text.
QRect tinta(QWidget* w) {
    QString t;
    QRect caixa = w->contentsRect();
    if (auto* l = qobject_cast<QLabel*>(w); l && l->pixmap().isNull()) {
        t = l->text();
        const int m = l->margin() + std::max(0, l->indent());
        caixa = caixa.adjusted(m, m, -m, -m);
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        t = b->text();
        QStyleOptionButton o;
        o.initFrom(b);
        o.text = t;
        const auto e = qobject_cast<QPushButton*>(b)    ? QStyle::SE_PushButtonContents
                       : qobject_cast<QCheckBox*>(b)    ? QStyle::SE_CheckBoxContents
                       : qobject_cast<QRadioButton*>(b) ? QStyle::SE_RadioButtonContents
                                                        : QStyle::SE_PushButtonContents;
        caixa = b->style()->subElementRect(e, &o, b);
    }
    if (t.isEmpty()) return {};
    const bool ajustat = qobject_cast<QLabel*>(w) && static_cast<QLabel*>(w)->wordWrap();
    QSize mida = w->fontMetrics().size(Qt::TextShowMnemonic, t);
    if (ajustat) mida = w->fontMetrics().boundingRect(caixa, Qt::TextWordWrap, t).size();
    // A text wider or taller than its box is cut: a rectangle past the box says so.
    if (mida.width() > caixa.width() || mida.height() > caixa.height())
        return QRect(w->pos(), QSize(w->width() + 1, w->height() + 1));
    const auto alineat = qobject_cast<QLabel*>(w) ? static_cast<QLabel*>(w)->alignment() : Qt::AlignLeft;
    const QRect r = qobject_cast<QPushButton*>(w)
                        ? w->rect()
                        : QStyle::alignedRect(Qt::LeftToRight, alineat, mida, caixa);
    return r.translated(w->pos());
}

// The path of child indexes from the window, the same in every language.
QString cami(QObject* o, QObject* arrel) {
    QString c;
    for (; o && o != arrel; o = o->parent())
        c.prepend(QString::number(o->parent() ? o->parent()->children().indexOf(o) : 0) + u'/');
    return c;
}

// Captions that are the same word in Catalan and in Spanish and Galician.
// Captions that are the same in Catalan, Spanish and Galician: numbers,
// arrows, names, key caps and words the three languages share.
bool igual_en_tres(const QString& t) {
    static const QStringList mots = QStringLiteral("catala espanol galego idioma configurar iniciar "
                                                   "planificar informe general copiar insertar calibrar "
                                                   "sistema webcam ombra visor actual incial subdividir "
                                                   "consigna inicial item tecla {enter} ins re.pg supr "
                                                   "av.pg tab retr alt altgr bloq. mayus num bloc. despl "
                                                   "win. menu control pausa test foto continuo inv "
                                                   "vertical arial")
                                        .split(u' ');
    for (const QString& m : t.toLower().split(u' ', Qt::SkipEmptyParts)) {
        const QString pla = m.normalized(QString::NormalizationForm_D).remove(QRegularExpression("\\p{Mn}"));
        if (!mots.contains(pla) && pla.contains(QRegularExpression("\\p{L}\\p{L}"))) return false;
    }
    return true;
}

struct Revisio {
    QString llengua;
    std::map<QString, QString>* catala;
    std::vector<std::string> errors;

    void caption(const QString& on, const QString& text) {
        if (text.isEmpty()) return;
        if (llengua == IDIOMA_CATALA)
            (*catala)[on] = text;
        else if (catala->count(on) && catala->at(on) == text && !igual_en_tres(text))
            errors.push_back((llengua + " in Catalan: " + on + " \"" + text + '"').toStdString());
    }
    void operator()(QWidget* finestra, const char* pagina) {
        const QString on = finestra->objectName() + u' ' + QLatin1String(pagina) + u' ';
        const QSize mida = finestra->frameGeometry().size();
        if (!finestra->isFullScreen() && (mida.width() > 1024 || mida.height() > 768))
            errors.push_back((llengua + u' ' + on + "larger than 1024x768").toStdString());
        for (QWidget* w : finestra->findChildren<QWidget*>()) {
            for (QAction* a : w->actions())
                caption(on + cami(w, finestra) + QString::number(w->actions().indexOf(a)), a->text());
            if (!w->isVisible() || w->isWindow()) continue;
            const QRect r = tinta(w);
            if (r.isNull()) continue;
            caption(on + cami(w, finestra), caption_control(w));
            const QString nom = llengua + u' ' + on + w->objectName() + u' ' + caption_control(w);
            if (r.width() > w->width()) errors.push_back(("cut: " + nom).toStdString());
            for (QWidget* g : w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                const QRect rg = g->geometry();
                if (g == w || !g->isVisible() || g->isWindow() || !rg.intersects(r)) continue;
                // A caption laid over a picture, or a picture inside a box, is meant so.
                if (rg.contains(w->geometry()) || w->geometry().contains(rg)) continue;
                errors.push_back(("covered: " + nom + " by " + g->objectName()).toStdString());
            }
        }
    }
};

// Each window opened, each of its pages shown in turn.
const std::function<void(Form1&, const Mirar&)> FINESTRES[] = {
    [](Form1& f, const Mirar& m) {
        m(&f, "menus");
        inici* d = inici::instancia();
        d->show();
        for (int boto : {4, 0, 4, 2}) {
            d->Command1_Click(static_cast<int16_t>(boto));
            m(d, boto == 0 ? "new" : boto == 2 ? "project" : "");
        }
        d->descarregar();
        f.finestra_informe()->show();
        m(f.finestra_informe(), "");
        f.finestra_informe()->close();
    },
    [](Form1& f, const Mirar& m) {
        planificar p(&f);
        p.Form_Load();
        p.show();
        for (int pagina : {0, 2, 3}) {
            p.menu1_Click(pagina);
            m(&p, std::to_string(pagina).c_str());
        }
        for (int r : {3, 4}) {
            p.reaccions_Click(r);
            m(&p, r == 3 ? "be" : "mal");
        }
        Finestra2 e(&p, QStringLiteral("t"), 1, 1);
        e.show();
        m(&e, "");
        paraules w(&p);
        w.show();
        m(&w, "");
    },
    [](Form1&, const Mirar& m) {
        item it;
        ACCIONS e(it, activitat(), dispositius(), nullptr);
        e.show();
        for (int pagina = 2; pagina <= 6; ++pagina) {
            e.Canc_Click(pagina);
            m(&e, std::to_string(pagina).c_str());
        }
        e.CREAR_ZONES_Click(0);
        e.mn_zona_Click(1);
        e.mn_zona_Click(2);
        m(e.tela, "zones");
    },
    [](Form1&, const Mirar& m) {
        OVSDLL_CALIB c;
        c.Form_Load();
        c.show();
        m(&c, "");
        OmbraVisor o;
        o.show();
        m(&o, "");
        rec_graf r;
        r.show();
        m(&r, "");
        plataforma::MotorVeuReal motor;
        for (auto crear : {plataforma::crear_finestra_entrenament, plataforma::crear_finestra_patrons,
                           plataforma::crear_finestra_nivell}) {
            std::unique_ptr<QWidget> w(crear(motor, nullptr));
            w->show();
            m(w.get(), "");
        }
    },
};

} // namespace

TEST(Captions, EveryWindowShowsEachCaptionWholeUncoveredAndInItsLanguage) {
    std::map<QString, QString> catala;
    qWarning() << QApplication::font() << QGuiApplication::primaryScreen()->geometry();
    for (int16_t llengua = 0; llengua < 3; ++llengua) {
        exercici_nou();
        Form1 f;
        ASSERT_TRUE(f.Form_Load());
        f.mn_idioma_Click(llengua);
        Revisio r{idioma(), &catala, {}};
        for (const auto& obrir : FINESTRES)
            obrir(f, std::ref(r));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const std::string& e : r.errors)
            ADD_FAILURE() << e;
    }
    idioma() = IDIOMA_CATALA;
}
