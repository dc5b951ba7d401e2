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

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <gtest/gtest.h>

using namespace lumi;

namespace {

// Where a control draws its caption, in its parent; one pixel past the
// control when the caption does not fit; empty without a caption.
QRect tinta(QWidget* w) {
    const QString t = caption_control(w);
    auto* b = qobject_cast<QAbstractButton*>(w);
    auto* l = qobject_cast<QLabel*>(w);
    if (t.isEmpty() || !(b || (l && l->pixmap().isNull()))) return {};
    QRect caixa =
        l ? w->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin()) : QRect();
    if (b) {
        QStyleOptionButton o;
        o.initFrom(b);
        o.text = t;
        caixa = b->style()->subElementRect(qobject_cast<QCheckBox*>(b)      ? QStyle::SE_CheckBoxContents
                                           : qobject_cast<QRadioButton*>(b) ? QStyle::SE_RadioButtonContents
                                                                            : QStyle::SE_PushButtonContents,
                                           &o, b);
    }
    const QSize m = w->fontMetrics()
                        .boundingRect(caixa, l && l->wordWrap() ? Qt::TextWordWrap : Qt::TextShowMnemonic, t)
                        .size();
    if (m.width() > caixa.width() || m.height() > caixa.height()) return {w->pos(), w->size() + QSize(1, 1)};
    const Qt::Alignment a = l ? l->alignment() : b->inherits("QPushButton") ? Qt::AlignCenter : Qt::AlignLeft;
    return QStyle::alignedRect(Qt::LeftToRight, a, m, caixa).translated(w->pos());
}

// Numbers, arrows, names, key caps and the words the three languages share.
bool igual_en_tres(const QString& t) {
    static const QStringList mots = QStringLiteral("catala espanol galego idioma configurar iniciar "
                                                   "planificar informe general copiar insertar calibrar "
                                                   "sistema webcam ombra visor actual incial subdividir "
                                                   "consigna inicial item tecla {enter} ins re.pg supr "
                                                   "av.pg tab retr alt altgr bloq. mayus num bloc. despl "
                                                   "win. menu control pausa test foto continuo inv "
                                                   "vertical arial")
                                        .split(u' ');
    for (QString m : t.toLower().normalized(QString::NormalizationForm_D).split(u' ', Qt::SkipEmptyParts))
        if (!mots.contains(m.remove(QRegularExpression(QStringLiteral("\\p{Mn}")))) &&
            m.contains(QRegularExpression(QStringLiteral("\\p{L}\\p{L}"))))
            return false;
    return true;
}

struct Revisio {
    std::map<QString, QString> catala; // each caption as Catalan shows it
    std::vector<QString> errors;
    void caption(const QString& on, const QString& text) {
        if (idioma() == IDIOMA_CATALA) catala[on] = text;
        if (idioma() != IDIOMA_CATALA && catala[on] == text && !igual_en_tres(text))
            errors.push_back(idioma() + " Catalan: " + on + u' ' + text);
    }
    void operator()(QWidget* finestra, const char* pagina) {
        const QString on = finestra->objectName() + u' ' + QLatin1String(pagina) + u' ';
        const QSize mida = finestra->frameGeometry().size();
        if (!finestra->isFullScreen() && (mida.width() > 1024 || mida.height() > 768))
            errors.push_back(on + "larger than the screen");
        const QList<QWidget*> tots = finestra->findChildren<QWidget*>();
        for (QWidget* w : tots) {
            const QString nom = on + QString::number(tots.indexOf(w)) + u' ' + w->objectName();
            for (QAction* a : w->actions())
                caption(nom + QString::number(w->actions().indexOf(a)), a->text());
            const QRect r = tinta(w);
            if (!w->isVisible() || w->isWindow() || r.isNull()) continue;
            caption(nom, caption_control(w));
            if (r.width() > w->width())
                errors.push_back(idioma() + " cut: " + nom + u' ' + caption_control(w));
            for (QWidget* g : w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                // A caption laid over a picture, or a picture inside a box, is meant so.
                if (g != w && g->isVisible() && !g->isWindow() &&
                    g->geometry().intersects(r.adjusted(0, 0, 2, 0)) &&
                    !g->geometry().contains(w->geometry()) && !w->geometry().contains(g->geometry()))
                    errors.push_back(idioma() + " covered: " + nom + " by " + g->objectName());
        }
    }
};

} // namespace

TEST(Captions, EveryWindowShowsEachCaptionWholeUncoveredAndInItsLanguage) {
    Revisio m;
    for (int16_t llengua = 0; llengua < 3; ++llengua) {
        exercici_nou();
        Form1 f;
        ASSERT_TRUE(f.Form_Load());
        f.mn_idioma_Click(llengua);
        m(&f, "menus");
        inici* d = inici::instancia();
        d->show();
        for (int16_t boto : {4, 0, 4, 2}) {
            d->Command1_Click(boto);
            m(d, std::to_string(boto).c_str());
        }
        d->descarregar();
        f.finestra_informe()->show();
        m(f.finestra_informe(), "");
        f.finestra_informe()->close();
        planificar p(&f);
        p.Form_Load();
        p.show();
        for (int pagina : {0, 2, 3, 13, 14}) {
            pagina > 10 ? p.reaccions_Click(pagina - 10) : p.menu1_Click(pagina);
            m(&p, std::to_string(pagina).c_str());
        }
        Finestra2 e(&p, QStringLiteral("t"), 1, 1);
        paraules w(&p);
        OVSDLL_CALIB c;
        c.Form_Load();
        OmbraVisor o;
        rec_graf r;
        e.Text1->setText(QStringLiteral("a|b"));
        w.Text1->setText(QStringLiteral("a|b"));
        for (QWidget* x : std::initializer_list<QWidget*>{&e, &w, &c, &o, &r}) {
            x->show();
            m(x, "");
        }
        plataforma::MotorVeuReal motor;
        for (auto crear : {plataforma::crear_finestra_entrenament, plataforma::crear_finestra_patrons,
                           plataforma::crear_finestra_nivell}) {
            std::unique_ptr<QWidget> v(crear(motor, nullptr));
            v->show();
            m(v.get(), "");
        }
        item it;
        ACCIONS a(it, activitat(), dispositius(), nullptr);
        a.show();
        for (int pagina = 2; pagina <= 6; ++pagina) {
            a.Canc_Click(pagina);
            m(&a, std::to_string(pagina).c_str());
        }
        a.CREAR_ZONES_Click(0);
        a.mn_zona_Click(1);
        a.mn_zona_Click(2);
        m(a.tela, "zones");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    for (const QString& e : m.errors)
        ADD_FAILURE() << e.toStdString();
    idioma() = IDIOMA_CATALA;
}
