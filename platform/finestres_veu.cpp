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

QString segons(const veu::Mostres& m) {
    return QString::number(static_cast<double>(m.size()) / veu::MOSTRES_PER_SEGON, 'f', 2);
}

// The entries with their takes; keeps the selected row.
void omplir_entrades(QListWidget* l, const veu::Patrons& p, int preses) {
    const int fila = l->currentRow();
    l->clear();
    for (const veu::Entrada& e : p.entrades)
        l->addItem(text_motor("entrada", e.etiqueta)
                       .arg(e.preses.size())
                       .arg(preses > 0 ? QStringLiteral("/%1").arg(preses) : QString()));
    if (l->count() > 0) l->setCurrentRow(std::clamp(fila, 0, l->count() - 1));
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
    auto* llista = new QListWidget(f);
    llista->setObjectName(QStringLiteral("veu_entrades"));
    f->capsa()->addWidget(llista);
    auto* preses = f->numero<QSpinBox>("veu_preses", "preses");
    preses->setRange(1, 10);
    preses->setValue(m.ajustos().preses);
    auto* estat = new QLabel(f);
    estat->setObjectName(QStringLiteral("veu_estat"));
    f->capsa()->addWidget(estat);
    auto* botons = new QHBoxLayout;
    QPushButton* enregistrar = f->boto(botons, "veu_enregistrar", "enregistrar");
    QPushButton* aturar = f->boto(botons, "veu_aturar", "aturar");
    QPushButton* escoltar = f->boto(botons, "veu_escoltar", "escoltar");
    QPushButton* descartar = f->boto(botons, "veu_descartar", "descartar");
    QPushButton* tancar = f->boto(botons, "veu_tancar", "tancar");
    f->capsa()->addLayout(botons);

    auto refrescar = [llista, estat, &m] {
        const veu::Patrons p = m.patrons();
        omplir_entrades(llista, p, m.ajustos().preses);
        const int k = m.entrada_enregistrant();
        if (k >= 0 && static_cast<size_t>(k) < p.entrades.size()) {
            llista->setCurrentRow(k);
            estat->setText(text_motor("digueu", p.entrades[static_cast<size_t>(k)].etiqueta));
        } else {
            estat->setText(p.complets(m.ajustos().preses) ? text_motor("fet") : QString());
        }
    };
    QObject::connect(&m, &MotorVeuReal::patrons_canviats, f, refrescar);
    QObject::connect(preses, &QSpinBox::valueChanged, f, [&m, refrescar](int v) {
        AjustosVeu a = m.ajustos();
        a.preses = v;
        m.posar_ajustos(a);
        refrescar();
    });
    QObject::connect(enregistrar, &QPushButton::clicked, f, [&m, llista, estat, refrescar] {
        const veu::Patrons p = m.patrons();
        int k = llista->currentRow();
        // The selected entry when it lacks takes, else the first that does.
        if (k < 0 || static_cast<int>(p.entrades[static_cast<size_t>(k)].preses.size()) >= m.ajustos().preses)
            for (k = 0; k < static_cast<int>(p.entrades.size()); ++k)
                if (static_cast<int>(p.entrades[static_cast<size_t>(k)].preses.size()) < m.ajustos().preses)
                    break;
        if (k >= static_cast<int>(p.entrades.size())) k = std::max(llista->currentRow(), 0);
        if (p.entrades.empty()) return;
        m.enregistrar_presa(k);
        if (m.entrada_enregistrant() < 0)
            estat->setText(text_motor("sense_microfon"));
        else
            refrescar();
    });
    QObject::connect(aturar, &QPushButton::clicked, f, [&m, refrescar] {
        m.enregistrar_presa(-1);
        refrescar();
    });
    QObject::connect(escoltar, &QPushButton::clicked, f, [&m, llista] {
        const veu::Patrons p = m.patrons();
        const int k = llista->currentRow();
        if (k >= 0 && !p.entrades[static_cast<size_t>(k)].preses.empty())
            MotorVeuReal::escoltar(p.entrades[static_cast<size_t>(k)].preses.back());
    });
    QObject::connect(descartar, &QPushButton::clicked, f, [&m, llista] {
        const veu::Patrons p = m.patrons();
        const int k = llista->currentRow();
        if (k >= 0 && !p.entrades[static_cast<size_t>(k)].preses.empty())
            m.esborrar_presa(k, static_cast<int>(p.entrades[static_cast<size_t>(k)].preses.size()) - 1);
    });
    QObject::connect(tancar, &QPushButton::clicked, f, &QWidget::close);
    f->en_mostrar = [&m, refrescar](bool si) {
        if (!si && m.entrada_enregistrant() >= 0) m.enregistrar_presa(-1);
        if (si) refrescar();
    };
    refrescar();
    f->resize(420, 360);
    return f;
}

QWidget* crear_finestra_patrons(MotorVeuReal& m, QWidget* pare) {
    auto* f = new FinestraMotor(pare, "motor_veu_patrons", "patrons");
    auto* fila = new QHBoxLayout;
    auto* entrades = new QListWidget(f);
    entrades->setObjectName(QStringLiteral("veu_entrades"));
    auto* preses = new QListWidget(f);
    preses->setObjectName(QStringLiteral("veu_preses"));
    fila->addWidget(entrades);
    fila->addWidget(preses);
    f->capsa()->addLayout(fila);
    auto* botons = new QHBoxLayout;
    QPushButton* esborrar = f->boto(botons, "veu_esborrar", "esborrar");
    QPushButton* enregistrar = f->boto(botons, "veu_enregistrar", "enregistrar_una");
    QPushButton* escoltar = f->boto(botons, "veu_escoltar", "escoltar");
    f->capsa()->addLayout(botons);
    auto* prova = new QCheckBox(text_motor("prova"), f);
    prova->setObjectName(QStringLiteral("veu_prova"));
    f->capsa()->addWidget(prova);
    auto* resultat = new QLabel(f);
    resultat->setObjectName(QStringLiteral("veu_resultat"));
    f->capsa()->addWidget(resultat);
    auto* llindar = f->numero<QDoubleSpinBox>("veu_llindar", "llindar");
    llindar->setRange(1, 100);
    llindar->setDecimals(1);
    llindar->setValue(m.ajustos().llindar);
    auto* tancar = new QHBoxLayout;
    QPushButton* b_tancar = f->boto(tancar, "veu_tancar", "tancar");
    f->capsa()->addLayout(tancar);

    auto omplir_preses = [&m, entrades, preses] {
        const veu::Patrons p = m.patrons();
        const int k = entrades->currentRow();
        preses->clear();
        if (k < 0 || static_cast<size_t>(k) >= p.entrades.size()) return;
        const auto& e = p.entrades[static_cast<size_t>(k)];
        for (size_t i = 0; i < e.preses.size(); ++i)
            preses->addItem(text_motor("presa", QString::number(i + 1)).arg(segons(e.preses[i])));
        preses->setCurrentRow(preses->count() - 1);
    };
    auto refrescar = [&m, entrades, omplir_preses] {
        omplir_entrades(entrades, m.patrons(), 0);
        omplir_preses();
    };
    QObject::connect(&m, &MotorVeuReal::patrons_canviats, f, refrescar);
    QObject::connect(entrades, &QListWidget::currentRowChanged, f, omplir_preses);
    QObject::connect(esborrar, &QPushButton::clicked, f, [&m, entrades, preses] {
        if (entrades->currentRow() >= 0 && preses->currentRow() >= 0)
            m.esborrar_presa(entrades->currentRow(), preses->currentRow());
    });
    QObject::connect(enregistrar, &QPushButton::clicked, f, [&m, entrades, resultat] {
        if (entrades->currentRow() < 0) return;
        m.enregistrar_presa(entrades->currentRow());
        resultat->setText(m.entrada_enregistrant() < 0
                              ? text_motor("sense_microfon")
                              : text_motor("digueu", entrades->currentItem()->text()));
    });
    QObject::connect(escoltar, &QPushButton::clicked, f, [&m, entrades, preses] {
        const veu::Patrons p = m.patrons();
        const int k = entrades->currentRow(), i = preses->currentRow();
        if (k >= 0 && i >= 0 && static_cast<size_t>(i) < p.entrades[static_cast<size_t>(k)].preses.size())
            MotorVeuReal::escoltar(p.entrades[static_cast<size_t>(k)].preses[static_cast<size_t>(i)]);
    });
    QObject::connect(prova, &QCheckBox::toggled, f, [&m, resultat](bool si) {
        m.provar(si);
        resultat->setText(si && !m.provant() ? text_motor("sense_microfon") : QString());
    });
    QObject::connect(&m, &MotorVeuReal::esdeveniment, f, [&m, prova, resultat](const veu::Esdeveniment& e) {
        if (e.tipus != veu::Esdeveniment::Paraula || !prova->isChecked()) return;
        const QStringList noms = m.patrons().etiquetes();
        auto nom = [&](int k) { return k >= 1 && k <= noms.size() ? noms[k - 1] : QStringLiteral("-"); };
        QString t = text_motor("resultat")
                        .arg(nom(e.comp.millor))
                        .arg(e.comp.distancia, 0, 'f', 1)
                        .arg(nom(e.comp.segona))
                        .arg(e.comp.distancia_segona, 0, 'f', 1);
        if (e.valor == 0) t += QStringLiteral(" — ") + text_motor("rebutjat");
        resultat->setText(t);
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
