// Every window in the three languages: each caption whole, clear of its
// neighbours and in the interface language.
#include "actions/ACCIONS.h"
#include "comuns/formulari.h"
#include "comuns/rec_graf.h"
#include "core/idioma.h"
#include "devices/OVSDLL_CALIB.h"
#include "devices/ombra_visor.h"
#include "planner/Finestra2.h"
#include "planner/paraules.h"
#include "planner/planificar.h"
#include "contestador.h"
#include "platform/finestres_veu.h"
#include "platform/motor_veu_real.h"
#include "player/Form1.h"
#include "player/finestra_informe.h"
#include "player/inici.h"

#include <QFile>
#include <QLabel>
#include <QStyleOptionButton>
#include <gtest/gtest.h>

using namespace lumi;

namespace {

// Where a control draws its caption, in its parent; a pixel past the control when it is cut.
QRect tinta(QWidget* w, const QString& t) {
    auto* l = qobject_cast<QLabel*>(w);
    QStyleOptionButton o;
    o.initFrom(w);
    const QRect caixa =
        l ? w->contentsRect()
          : w->style()->subElementRect(w->inherits("QCheckBox")      ? QStyle::SE_CheckBoxContents
                                       : w->inherits("QRadioButton") ? QStyle::SE_RadioButtonContents
                                                                     : QStyle::SE_PushButtonContents,
                                       &o, w);
    const auto lectura = l && l->wordWrap() ? Qt::TextWordWrap : Qt::TextShowMnemonic;
    const QSize m = w->fontMetrics().boundingRect(caixa, lectura, t).size();
    if (m.width() > caixa.width() || m.height() > caixa.height()) return {w->pos(), w->size() + QSize(1, 1)};
    const Qt::Alignment a = l ? l->alignment() : w->inherits("QPushButton") ? Qt::AlignCenter : Qt::AlignLeft;
    return QStyle::alignedRect(Qt::LeftToRight, a, m, caixa).translated(w->pos());
}

// Captions the three languages share: names, key caps, common words, and
// those with no word at all (numbers, arrows).
bool igual_en_tres(const QString& t) {
    static const QStringList mots = QStringLiteral("català español galego idioma configurar iniciar "
                                                   "planificar informe general copiar insertar calibrar "
                                                   "sistema webcam ombra visor actual incial subdividir "
                                                   "consigna inicial item tecla {enter} ins re.pg supr "
                                                   "av.pg tab retr alt altgr bloq. mayús núm bloc. despl "
                                                   "win. menú control pausa test foto continuo inv "
                                                   "vertical arial zona lumiraga lumi-raga")
                                        .split(u' ');
    for (const QString& m : t.toLower().split(u' ', Qt::SkipEmptyParts))
        if (!mots.contains(m) && m.count(QRegularExpression(QStringLiteral("\\p{L}"))) > 1) return false;
    return true;
}

} // namespace

TEST(Captions, EveryWindowShowsEachCaptionWholeClearAndInItsLanguage) {
    std::map<QString, QString> catala; // each caption as the Catalan window shows it
    auto en_llengua = [&](const QString& on, const QString& t) {
        const QString ca = idioma() == IDIOMA_CATALA ? catala[on] = t : catala[on];
        EXPECT_TRUE(ca != t || idioma() == IDIOMA_CATALA || igual_en_tres(ca)) << qPrintable(on + ca);
    };
    auto mirar = [&](QWidget* f, const std::string& pagina) {
        const QString on = f->objectName() + u' ' + QString::fromStdString(pagina) + u' ';
        if (f->isWindow()) en_llengua(on + QStringLiteral("title"), f->windowTitle());
        EXPECT_TRUE(f->isFullScreen() ||
                    (f->frameGeometry().width() <= 1024 && f->frameGeometry().height() <= 768));
        const QList<QWidget*> tots = f->findChildren<QWidget*>();
        for (QWidget* w : tots) {
            QStringList textos;
            for (QAction* a : w->actions())
                textos << a->text();
            const QString t = caption_control(w);
            const bool vist = w->isVisible() && !w->isWindow() && !t.isEmpty() &&
                              (w->inherits("QAbstractButton") || w->inherits("QLabel"));
            if (vist || w->inherits("QGroupBox")) textos << t;
            for (qsizetype i = 0; i < textos.size(); ++i) {
                en_llengua(on + QString::number(tots.indexOf(w)) + u'.' + QString::number(i), textos[i]);
            }
            if (!vist) continue;
            const QRect r = tinta(w, t);
            EXPECT_LE(r.width(), w->width()) << "cut: " << (idioma() + u' ' + on + t).toStdString();
            for (QWidget* g : w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                // A caption over a picture, or a picture inside a box, is meant so.
                EXPECT_FALSE(g != w && g->isVisible() && !g->isWindow() &&
                             g->geometry().intersects(r.adjusted(0, 0, 2, 0)) &&
                             !g->geometry().contains(w->geometry()) && !w->geometry().contains(g->geometry()))
                    << "covered: " << (idioma() + u' ' + on + t).toStdString();
        }
    };
    for (int16_t llengua = 0; llengua < 3; ++llengua) {
        exercici_nou();
        Form1 f;
        ASSERT_TRUE(f.Form_Load());
        llengua == 1 ? inici::instancia()->ct_idioma_Click(llengua) : f.mn_idioma_Click(llengua);
        mirar(&f, "menus");
        inici* d = inici::instancia();
        for (int16_t boto : {4, 0, 4, 2}) {
            d->Command1_Click(boto);
            d->show();
            mirar(d, std::to_string(boto));
        }
        d->descarregar();
        planificar p(&f);
        p.Form_Load();
        p.show();
        for (int pagina : {0, 2, 3, 13, 14}) {
            pagina > 10 ? p.reaccions_Click(pagina - 10) : p.menu1_Click(pagina);
            mirar(&p, std::to_string(pagina));
        }
        item it;
        ACCIONS a(it, activitat(), dispositius(), nullptr);
        for (int pagina = 2; pagina <= 6; ++pagina) {
            a.Canc_Click(pagina);
            a.show();
            mirar(&a, std::to_string(pagina));
        }
        a.CREAR_ZONES_Click(0);
        a.mn_zona_Click(1);
        a.mn_zona_Click(2);
        mirar(a.findChild<QWidget*>(QStringLiteral("tela_zones")), "");
        Finestra2 e(&p, QStringLiteral("t"), 1, 1);
        const QFont abans = QApplication::font(); // a larger desktop font wraps the words dialog's warning
        QApplication::setFont(QFont(abans.family(), abans.pointSize() * 3 / 2));
        paraules w(&p);
        w.Text1->setText(QStringLiteral("a|b")); // its warning
        OVSDLL_CALIB c;
        c.Form_Load();
        OmbraVisor o;
        rec_graf r;
        plataforma::MotorVeuReal m;
        std::vector<std::unique_ptr<QWidget>> v;
        for (auto crear : {plataforma::crear_finestra_entrenament, plataforma::crear_finestra_patrons,
                           plataforma::crear_finestra_nivell})
            v.emplace_back(crear(m, nullptr));
        for (QWidget* x : std::initializer_list<QWidget*>{f.finestra_informe(), &e, &w, &c, &o, &r,
                                                          v[0].get(), v[1].get(), v[2].get()}) {
            x->show();
            mirar(x, "");
        }
        f.finestra_informe()->close();
        QApplication::setFont(abans);
        proves::Contestador q({QMessageBox::Cancel});
        p.model.pont.preguntar(17);
        f.mn_fressa_Click(1); // no sounds: it names the action editor's controls, as the help does
        ASSERT_EQ(q.titols.size(), 2);
        for (int i : {0, 1})
            en_llengua(QStringLiteral("message box %1").arg(i), q.titols[i]);
        QStringList noms = QStringList{text_idioma(2)} + a.model.veu1; // and the planner's list that opens it
        for (QWidget* x : a.findChildren<QWidget*>())
            noms << caption_control(x).remove(u'&').simplified();
        QFile ajuda(QStringLiteral(LUMI_CARPETA_EXECUTABLE "/ajuda/%1.html").arg(codis_idioma(idioma())[0]));
        ASSERT_TRUE(ajuda.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(ajuda.readAll()).simplified();
        const QStringList seccio = html.split(QStringLiteral("<h2>"))
                                       .filter(QStringLiteral("<li><b>%1</b>:").arg(a.Canc[5]->text()));
        ASSERT_EQ(seccio.size(), 1); // the editor's, the one listing its pages
        for (const auto& m : QRegularExpression(QStringLiteral("(?|<b>([^<]+)</b>|«([^»]+)»)"))
                                 .globalMatch(seccio[0] + q.textos[1]))
            EXPECT_TRUE(noms.contains(m.captured(1)) &&
                        html.contains(QStringLiteral("<b>%1</b>").arg(m.captured(1))))
                << qPrintable(m.captured(1));
    }
    idioma() = IDIOMA_CATALA;
}
