#include "platform/finestres_veu.h"

#include "core/idioma.h"
#include "platform/microfon.h"
#include "platform/motor_veu_real.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lumi::plataforma {

namespace {

// A window of the engine's own; follows the engine while it lives.
class FinestraMotor : public QWidget {
  public:
    FinestraMotor(QWidget* pare, const char* nom, const char* titol) : QWidget(pare, Qt::Window) {
        setObjectName(QLatin1String(nom));
        setProperty(PROPIETAT_FINESTRA_DISPOSITIU, true);
        setWindowTitle(text_motor(titol));
        new QVBoxLayout(this);
    }
    QVBoxLayout* capsa() { return static_cast<QVBoxLayout*>(layout()); }
    QPushButton* boto(QBoxLayout* on, const char* nom, const char* clau) {
        auto* b = new QPushButton(text_motor(clau), this);
        b->setObjectName(QLatin1String(nom));
        on->addWidget(b);
        return b;
    }
    // A row of its own: the caption, then a number box named `nom`.
    template <class Caixa> Caixa* numero(const char* nom, const char* etiqueta) {
        auto* fila = new QHBoxLayout;
        fila->addWidget(new QLabel(text_motor(etiqueta), this));
        auto* c = new Caixa(this);
        c->setObjectName(QLatin1String(nom));
        fila->addWidget(c);
        fila->addStretch();
        capsa()->addLayout(fila);
        return c;
    }
    std::function<void(bool)> en_mostrar;

  protected:
    void showEvent(QShowEvent* e) override {
        QWidget::showEvent(e);
        if (en_mostrar) en_mostrar(true);
    }
    void hideEvent(QHideEvent* e) override {
        if (en_mostrar) en_mostrar(false);
        QWidget::hideEvent(e);
    }
};

// A number as the window's number boxes show it: the interface language's
// decimal mark, no group separator.
QString nombre(const QWidget* w, double x, int decimals) {
    QLocale l = w->locale();
    l.setNumberOptions(l.numberOptions() | QLocale::OmitGroupSeparator);
    return l.toString(x, 'f', decimals);
}

// An entry's valid takes, out of `preses` when given, and those set aside.
QString recompte(const veu::Patrons& p, size_t i, int preses) {
    const int n = p.preses_valides(i), apartades = static_cast<int>(p.entrades[i].preses.size()) - n;
    QString t = text_motor((preses > 0 ? preses : n) == 1 ? "una_presa" : "preses_n")
                    .arg(QString::number(n), preses > 0 ? QStringLiteral("/%1").arg(preses) : QString());
    if (apartades > 0) t += text_motor("apartades", QString::number(apartades));
    return t;
}

// The selected row's entry (each row keeps its entry's number: entries with
// no name are not listed), -1 none.
int entrada(const QListWidget* l) {
    return l->currentItem() ? l->currentItem()->data(Qt::UserRole).toInt() : -1;
}

void seleccionar(QListWidget* l, int entrada) {
    for (int r = 0; r < l->count(); ++r)
        if (l->item(r)->data(Qt::UserRole).toInt() == entrada) l->setCurrentRow(r);
}

// The named entries with their takes; keeps the selected entry.
void omplir_entrades(QListWidget* l, const veu::Patrons& p, int preses) {
    const int abans = entrada(l);
    l->clear();
    for (size_t i = 0; i < p.entrades.size(); ++i) {
        if (p.entrada_buida(i)) continue;
        auto* item =
            new QListWidgetItem(text_motor("entrada").arg(p.entrades[i].etiqueta, recompte(p, i, preses)), l);
        item->setData(Qt::UserRole, static_cast<int>(i));
    }
    if (l->count() > 0) l->setCurrentRow(0);
    seleccionar(l, abans);
}

// The takes of an entry, those set aside marked; the last selected.
void omplir_preses(QListWidget* l, const veu::Patrons& p, int k) {
    l->clear();
    if (k < 0 || static_cast<size_t>(k) >= p.entrades.size()) return;
    const auto& e = p.entrades[static_cast<size_t>(k)];
    for (size_t i = 0; i < e.preses.size(); ++i) {
        auto* item = new QListWidgetItem(
            text_motor("presa").arg(
                QString::number(i + 1),
                nombre(l, static_cast<double>(e.preses[i].size()) / veu::MOSTRES_PER_SEGON, 2)),
            l);
        if (!p.presa_apartada(static_cast<size_t>(k), i)) continue;
        item->setText(item->text() + QStringLiteral(" — ") + text_motor("apartada"));
        item->setToolTip(text_motor("apartada_ajuda"));
    }
    l->setCurrentRow(l->count() - 1);
}

// The entries beside the selected entry's takes, with the buttons that play
// and delete the selected take.
struct Llistes {
    QListWidget *entrades, *preses;
    void omplir(const veu::Patrons& p, int preses_per_entrada) const {
        omplir_entrades(entrades, p, preses_per_entrada);
        omplir_preses(preses, p, entrada(entrades));
    }
};

Llistes llistes(FinestraMotor* f, MotorVeuReal& m, QPushButton* escoltar, QPushButton* esborrar) {
    auto* fila = new QHBoxLayout;
    Llistes l{new QListWidget(f), new QListWidget(f)};
    l.entrades->setObjectName(QStringLiteral("veu_entrades"));
    l.preses->setObjectName(QStringLiteral("veu_preses"));
    fila->addWidget(l.entrades);
    fila->addWidget(l.preses);
    f->capsa()->addLayout(fila);
    QObject::connect(l.entrades, &QListWidget::currentRowChanged, f,
                     [&m, l] { omplir_preses(l.preses, m.patrons(), entrada(l.entrades)); });
    QObject::connect(esborrar, &QPushButton::clicked, f, [&m, l] {
        if (entrada(l.entrades) >= 0 && l.preses->currentRow() >= 0)
            m.esborrar_presa(entrada(l.entrades), l.preses->currentRow());
    });
    QObject::connect(escoltar, &QPushButton::clicked, f, [&m, l] {
        const veu::Patrons p = m.patrons();
        const int k = entrada(l.entrades), i = l.preses->currentRow();
        if (k >= 0 && i >= 0 && static_cast<size_t>(i) < p.entrades[static_cast<size_t>(k)].preses.size())
            MotorVeuReal::escoltar(p.entrades[static_cast<size_t>(k)].preses[static_cast<size_t>(i)]);
    });
    return l;
}

// A sound with its takes so far, and whether one more must confirm them.
QString falten(const veu::Patrons& p, size_t k, int preses) {
    return recompte(p, k, preses) + (p.per_confirmar(k, preses) ? text_motor("confirmar") : QString());
}

// What recording is at: the sound asked for with its takes so far, after a
// word that the last take was set aside.
QString estat(const MotorVeuReal& m, const veu::Patrons& p, int preses) {
    const int k = m.entrada_enregistrant();
    QStringList t;
    if (m.darrera_apartada()) t << text_motor("presa_apartada");
    if (k >= 0 && static_cast<size_t>(k) < p.entrades.size())
        t << text_motor("digueu").arg(p.entrades[static_cast<size_t>(k)].etiqueta,
                                      falten(p, static_cast<size_t>(k), preses));
    return t.join(u' ');
}

} // namespace

QString text_motor(const char* clau, const QString& arg) {
    QString t = tradueix(QStringLiteral("motor_veu|") + QLatin1String(clau));
    if (t.isEmpty()) t = QLatin1String(clau);
    return arg.isNull() ? t : t.arg(arg);
}

QWidget* crear_finestra_entrenament(MotorVeuReal& m, QWidget* pare) {
    auto* f = new FinestraMotor(pare, "motor_veu_entrenament", "entrenament");
    auto* ajuda = new QLabel(text_motor("entrenament_ajuda"), f);
    ajuda->setWordWrap(true);
    f->capsa()->addWidget(ajuda);
    auto* botons = new QHBoxLayout;
    QPushButton* enregistrar = f->boto(botons, "veu_enregistrar", "enregistrar");
    QPushButton* aturar = f->boto(botons, "veu_aturar", "aturar");
    QPushButton* escoltar = f->boto(botons, "veu_escoltar", "escoltar");
    QPushButton* descartar = f->boto(botons, "veu_descartar", "descartar");
    QPushButton* tancar = f->boto(botons, "veu_tancar", "tancar");
    const Llistes l = llistes(f, m, escoltar, descartar);
    auto* preses = f->numero<QSpinBox>("veu_preses_per_so", "preses");
    preses->setRange(1, 10);
    preses->setValue(m.ajustos().preses);
    auto* estat_ = new QLabel(f);
    estat_->setObjectName(QStringLiteral("veu_estat"));
    estat_->setWordWrap(true);
    f->capsa()->addWidget(estat_);
    f->capsa()->addLayout(botons);

    auto refrescar = [l, estat_, &m] {
        const veu::Patrons p = m.patrons();
        const int n = m.ajustos().preses;
        l.omplir(p, n);
        seleccionar(l.entrades, m.entrada_enregistrant());
        QString t = estat(m, p, n);
        // Not recording (a take discarded after the end): what is missing.
        if (const int k = m.entrada_pendent(entrada(l.entrades)); t.isEmpty() && k >= 0)
            t = text_motor("falta").arg(p.entrades[static_cast<size_t>(k)].etiqueta,
                                        falten(p, static_cast<size_t>(k), n));
        estat_->setText(t.isEmpty() && p.complets(n) ? text_motor("fet") : t);
    };
    QObject::connect(&m, &MotorVeuReal::patrons_canviats, f, refrescar);
    QObject::connect(preses, &QSpinBox::valueChanged, f, [&m, refrescar](int v) {
        AjustosVeu a = m.ajustos();
        a.preses = v;
        m.posar_ajustos(a);
        refrescar();
    });
    QObject::connect(enregistrar, &QPushButton::clicked, f, [&m, l, estat_, refrescar] {
        // The selected entry when it lacks takes, else the next that does.
        const int k = entrada(l.entrades), pendent = m.entrada_pendent(k);
        if (k < 0) return;
        m.enregistrar_presa(pendent >= 0 ? pendent : k);
        if (m.entrada_enregistrant() < 0)
            estat_->setText(text_motor("sense_microfon"));
        else
            refrescar();
    });
    QObject::connect(aturar, &QPushButton::clicked, f, [&m, refrescar] {
        m.enregistrar_presa(-1);
        refrescar();
    });
    QObject::connect(tancar, &QPushButton::clicked, f, &QWidget::close);
    f->en_mostrar = [&m, refrescar](bool si) {
        if (!si && m.entrada_enregistrant() >= 0) m.enregistrar_presa(-1);
        if (si) refrescar();
    };
    refrescar();
    f->resize(480, 380);
    return f;
}

QWidget* crear_finestra_patrons(MotorVeuReal& m, QWidget* pare) {
    auto* f = new FinestraMotor(pare, "motor_veu_patrons", "patrons");
    auto* botons = new QHBoxLayout;
    QPushButton* esborrar = f->boto(botons, "veu_esborrar", "esborrar");
    QPushButton* enregistrar = f->boto(botons, "veu_enregistrar", "enregistrar_una");
    QPushButton* escoltar = f->boto(botons, "veu_escoltar", "escoltar");
    const Llistes l = llistes(f, m, escoltar, esborrar);
    f->capsa()->addLayout(botons);
    auto* prova = new QCheckBox(text_motor("prova"), f);
    prova->setObjectName(QStringLiteral("veu_prova"));
    f->capsa()->addWidget(prova);
    auto* resultat = new QLabel(f);
    resultat->setObjectName(QStringLiteral("veu_resultat"));
    resultat->setWordWrap(true);
    f->capsa()->addWidget(resultat);
    auto* llindar = f->numero<QDoubleSpinBox>("veu_llindar", "llindar");
    llindar->setRange(1, 100);
    llindar->setDecimals(1);
    llindar->setValue(m.ajustos().llindar);
    auto* tancar = new QHBoxLayout;
    QPushButton* b_tancar = f->boto(tancar, "veu_tancar", "tancar");
    f->capsa()->addLayout(tancar);

    auto refrescar = [&m, l, prova, resultat] {
        const veu::Patrons p = m.patrons();
        l.omplir(p, 0);
        if (!prova->isChecked()) resultat->setText(estat(m, p, 0));
    };
    QObject::connect(&m, &MotorVeuReal::patrons_canviats, f, refrescar);
    QObject::connect(enregistrar, &QPushButton::clicked, f, [&m, l, resultat, refrescar] {
        if (entrada(l.entrades) < 0) return;
        m.enregistrar_presa(entrada(l.entrades), true);
        if (m.entrada_enregistrant() < 0)
            resultat->setText(text_motor("sense_microfon"));
        else
            refrescar();
    });
    QObject::connect(prova, &QCheckBox::toggled, f, [&m, resultat](bool si) {
        m.provar(si);
        resultat->setText(si && !m.provant() ? text_motor("sense_microfon") : QString());
    });
    QObject::connect(&m, &MotorVeuReal::esdeveniment, f, [&m, prova, resultat](const veu::Esdeveniment& e) {
        if (e.tipus != veu::Esdeveniment::Paraula || !prova->isChecked()) return;
        const QStringList noms = m.patrons().etiquetes();
        auto nom = [&](int k, double d, const char* clau) {
            return k >= 1 && k <= noms.size() ? text_motor(clau).arg(noms[k - 1], nombre(resultat, d, 1))
                                              : QString();
        };
        // No runner-up (a single trained entry): no second distance to show.
        QStringList t{nom(e.comp.millor, e.comp.distancia, "resultat") +
                      nom(e.comp.segona, e.comp.distancia_segona, "segon")};
        if (e.valor == 0) t << text_motor("rebutjat");
        t.removeAll(QString());
        resultat->setText(t.join(QStringLiteral(" — ")));
    });
    QObject::connect(llindar, &QDoubleSpinBox::valueChanged, f, [&m](double v) {
        AjustosVeu a = m.ajustos();
        a.llindar = v;
        m.posar_ajustos(a);
    });
    QObject::connect(b_tancar, &QPushButton::clicked, f, &QWidget::close);
    f->en_mostrar = [&m, prova, refrescar](bool si) {
        if (si) refrescar();
        if (!si) {
            prova->setChecked(false);
            if (m.entrada_enregistrant() >= 0) m.enregistrar_presa(-1);
        }
    };
    refrescar();
    f->resize(480, 380);
    return f;
}

QWidget* crear_finestra_nivell(MotorVeuReal& m, QWidget* pare) {
    auto* f = new FinestraMotor(pare, "motor_veu_nivell", "nivell");
    auto* barra = new QProgressBar(f);
    barra->setObjectName(QStringLiteral("veu_barra"));
    barra->setRange(0, 128);
    barra->setFormat(QStringLiteral("%v"));
    f->capsa()->addWidget(barra);
    auto* avis = new QLabel(f);
    avis->setObjectName(QStringLiteral("veu_avis"));
    f->capsa()->addWidget(avis);
    auto* fila = new QHBoxLayout;
    fila->addWidget(new QLabel(text_motor("dispositiu"), f));
    auto* dispositius = new QComboBox(f);
    dispositius->setObjectName(QStringLiteral("veu_dispositiu"));
    fila->addWidget(dispositius, 1);
    f->capsa()->addLayout(fila);
    auto* guany = f->numero<QDoubleSpinBox>("veu_guany", "guany");
    guany->setRange(0.1, 20);
    guany->setSingleStep(0.1);
    guany->setValue(m.ajustos().guany);
    auto* botons = new QHBoxLayout;
    QPushButton* tancar = f->boto(botons, "veu_tancar", "tancar");
    f->capsa()->addLayout(botons);

    auto omplir = [&m, dispositius] {
        const QSignalBlocker b(dispositius);
        dispositius->clear();
        dispositius->addItem(text_motor("dispositiu_defecte"), QString());
        for (const QString& d : dispositius_captura())
            dispositius->addItem(d, d);
        const int i = dispositius->findData(m.ajustos().dispositiu);
        dispositius->setCurrentIndex(std::max(i, 0));
    };
    QObject::connect(&m, &MotorVeuReal::esdeveniment, f, [barra](const veu::Esdeveniment& e) {
        if (e.tipus == veu::Esdeveniment::Nivell) barra->setValue(e.valor);
    });
    QObject::connect(dispositius, &QComboBox::currentIndexChanged, f, [&m, dispositius](int i) {
        AjustosVeu a = m.ajustos();
        a.dispositiu = dispositius->itemData(i).toString();
        m.posar_ajustos(a);
    });
    QObject::connect(guany, &QDoubleSpinBox::valueChanged, f, [&m](double v) {
        AjustosVeu a = m.ajustos();
        a.guany = v;
        m.posar_ajustos(a);
    });
    QObject::connect(tancar, &QPushButton::clicked, f, &QWidget::close);
    f->en_mostrar = [&m, avis, barra, omplir](bool si) {
        if (si) {
            omplir();
            avis->setText(m.vigilar_nivell(true) ? QString() : text_motor("sense_microfon"));
        } else {
            m.vigilar_nivell(false);
            barra->setValue(0);
        }
    };
    f->resize(380, 160);
    return f;
}

} // namespace lumi::plataforma
