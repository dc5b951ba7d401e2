#include "player/inici.h"

#include "player/Form1.h"
#include "core/camins.h"
#include "comuns/dialegs.h"
#include "core/fitxer_lrq.h"
#include "comuns/formulari.h"
#include "core/idioma.h"
#include "player/menus.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QVBoxLayout>
#include <algorithm>

namespace lumi {

namespace {

QPointer<inici> g_inici;

const QString TITOL = QStringLiteral("LumiRaga - Inici");

} // namespace

inici* inici::instancia() {
    if (!g_inici) {
        g_inici = new inici(Form1::instancia());
        g_inici->Form_Load();
    }
    return g_inici;
}

bool inici::carregat() {
    return !g_inici.isNull();
}

void inici::descarregar() {
    if (descarregat_) return;
    descarregat_ = true;
    if (g_inici == this) g_inici = nullptr;
    QDialog::done(QDialog::Rejected);
    // Often called from inside one of its own handlers: never deleted in place.
    deleteLater();
}

void inici::reject() {
    descarregar();
}

inici::inici(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("inici"));
    setWindowTitle(TITOL);
    setModal(true);
    crear_controls();
}

void inici::crear_controls() {
    auto* arrel = new QVBoxLayout(this);
    Command1.resize(7, nullptr);
    auto boto = [this](QWidget* pare, int index, const QString& caption) {
        auto* b = anomenar(new QPushButton(caption, pare), QStringLiteral("Command1"), index);
        // Enter in a name box must not press some other button as well.
        b->setAutoDefault(false);
        b->setDefault(false);
        connect(b, &QPushButton::clicked, this,
                [this, index] { Command1_Click(static_cast<int16_t>(index)); });
        Command1[static_cast<size_t>(index)] = b;
        return b;
    };

    // Main panel.
    Frame2 = anomenar(new QFrame(this), QStringLiteral("Frame2"));
    auto* l2 = new QVBoxLayout(Frame2);
    l2->addWidget(boto(Frame2, 0, QStringLiteral("Crear Nou Exercici ")));
    l2->addWidget(boto(Frame2, 1, QStringLiteral("Engegar Exercici")));
    l2->addWidget(boto(Frame2, 2, QStringLiteral("Nou Projecte")));
    const QStringList idiomes{QStringLiteral("Català"), QStringLiteral("Español"), QStringLiteral("Galego")};
    auto* fila = new QHBoxLayout;
    for (int i = 0; i < idiomes.size(); ++i) {
        auto* r = anomenar(new QRadioButton(idiomes[i], Frame2), QStringLiteral("ct_idioma"), i);
        connect(r, &QRadioButton::clicked, this, [this, i] { ct_idioma_Click(static_cast<int16_t>(i)); });
        ct_idioma.push_back(r);
        fila->addWidget(r);
    }
    Label1 = anomenar(new QLabel(QStringLiteral("Idioma"), Frame2), QStringLiteral("Label1"));
    l2->addWidget(Label1);
    l2->addLayout(fila);
    arrel->addWidget(Frame2);

    // New-exercise panel.
    Frame1 = anomenar(new QFrame(this), QStringLiteral("Frame1"));
    auto* l1 = new QVBoxLayout(Frame1);
    Drive1 = anomenar(new LlistaUnitats(Frame1), QStringLiteral("Drive1"));
    Dir1 = anomenar(new LlistaCarpetes(Frame1), QStringLiteral("Dir1"));
    File1 = anomenar(new LlistaFitxers(Frame1), QStringLiteral("File1"));
    File1->setSelectionMode(QAbstractItemView::NoSelection);
    File1->setPattern(QStringLiteral("*.lrq"));
    Label2 = anomenar(new QLabel(QStringLiteral("Disc"), Frame1), QStringLiteral("Label2"));
    Label3 = anomenar(new QLabel(QStringLiteral("Nom Fitxer"), Frame1), QStringLiteral("Label3"));
    Text1 = anomenar(new QLineEdit(Frame1), QStringLiteral("Text1"));
    auto* llistes = new QHBoxLayout;
    llistes->addWidget(Dir1);
    llistes->addWidget(File1);
    l1->addWidget(Label2);
    l1->addWidget(Drive1);
    l1->addLayout(llistes);
    l1->addWidget(Label3);
    l1->addWidget(Text1);
    auto* botons1 = new QHBoxLayout;
    botons1->addWidget(boto(Frame1, 3, QStringLiteral("Acceptar")));
    botons1->addWidget(boto(Frame1, 4, QStringLiteral("Cancel·lar")));
    l1->addLayout(botons1);
    arrel->addWidget(Frame1);
    Frame1->hide();

    // New-project panel.
    Frame3 = anomenar(new QFrame(this), QStringLiteral("Frame3"));
    auto* l3 = new QVBoxLayout(Frame3);
    Label5 = anomenar(new QLabel(QStringLiteral("Nom del projecte"), Frame3), QStringLiteral("Label5"));
    Text2 = anomenar(new QLineEdit(Frame3), QStringLiteral("Text2"));
    l3->addWidget(Label5);
    l3->addWidget(Text2);
    auto* botons3 = new QHBoxLayout;
    botons3->addWidget(boto(Frame3, 5, QStringLiteral("Acceptar")));
    botons3->addWidget(boto(Frame3, 6, QStringLiteral("Cancel·lar")));
    l3->addLayout(botons3);
    arrel->addWidget(Frame3);
    Frame3->hide();

    connect(Drive1, &QComboBox::currentIndexChanged, this, [this] { Drive1_Change(); });
    connect(Dir1, &LlistaCarpetes::canviat, this, [this] { Dir1_Change(); });
    connect(Text1, &QLineEdit::returnPressed, this, [this] { Command1_Click(3); });

    carpeta_pendent_ = QDir::currentPath();
    mostrar_panell(Frame2, 234, 136);
}

void inici::posar_titol() {
    const QString t = tradueix(TITOL);
    if (!t.isEmpty()) setWindowTitle(t);
}

void inici::Form_Load() {
    tradueix_formulari(this);
    posar_titol();
    jugador().estat_finestra = 2;
    const QStringList noms{IDIOMA_CATALA, IDIOMA_ESPANOL, IDIOMA_GALEGO};
    const auto i = noms.indexOf(idioma());
    if (i >= 0) {
        ct_idioma[static_cast<size_t>(i)]->setChecked(true);
        ct_idioma_Click(static_cast<int16_t>(i));
    }
}

void inici::ct_idioma_Click(int16_t Index) {
    if (Index < 0 || Index > 2) return;
    if (Form1* f = Form1::instancia()) f->mn_idioma_Click(Index);
    posar_titol();
    tradueix_formulari(this);
    update();
}

void inici::mostrar_panell(QFrame* panell, int amplada, int alcada) {
    if (panell == Frame1 && !carpeta_pendent_.isEmpty()) posar_carpeta(carpeta_pendent_);
    for (QFrame* f : {Frame1, Frame2, Frame3})
        f->setVisible(f == panell);
    adjustSize();
    resize(std::max(amplada, sizeHint().width()), std::max(alcada, sizeHint().height()));
}

void inici::Drive1_Change() {
    // A drive that cannot be read leaves the lists as they were.
    if (!Dir1->setPath(Drive1->drive())) Drive1->seguir(Dir1->path());
}

void inici::posar_carpeta(QString carpeta) {
    carpeta_pendent_.clear();
    Dir1->setPath(carpeta);
}

void inici::Dir1_Change() {
    Drive1->seguir(Dir1->path());
    File1->setPath(Dir1->path());
}

void inici::Command1_Click(int16_t Index) {
    switch (Index) {
    case 0:
        mostrar_panell(Frame1, 355, 236);
        break;
    case 1: {
        activitat().fitxer_actual.clear();
        if (Form1* f = Form1::instancia()) f->mn_engegar_Click();
        // With an exercise started the player counts as activated; without
        // one its next activation greets the user again.
        jugador().estat_finestra = activitat().fitxer_actual.isEmpty() ? 0 : 1;
        descarregar();
        break;
    }
    case 2:
        mostrar_panell(Frame3, 234, 120);
        break;
    case 3:
        crear_exercici(true);
        break;
    case 4:
    case 6:
        mostrar_panell(Frame2, 234, 136);
        break;
    case 5:
        crear_projecte();
        break;
    default:
        break;
    }
}

bool inici::crear_exercici(bool preguntar) {
    QString n = Text1->text();
    // Both are asked every time, the question even with no name.
    const bool cancel = preguntar && confirmar_descartar(this);
    if (n.isEmpty() || cancel) return false;

    const QString e = QFileInfo(n).suffix();
    if (e.isEmpty())
        n += QStringLiteral(".lrq");
    else if (e.toUpper() != QLatin1String("LRQ"))
        n = n.left(n.lastIndexOf(u'.') + 1) + QStringLiteral("lrq");
    Text1->setText(n);

    // A name may hold folders of its own, or be a whole path: the activity's
    // folder is where the file goes, named whole.
    const QString f = QDir::cleanPath(QDir(carpeta()).absoluteFilePath(n));
    if (QFileInfo::exists(f) && !confirmar_sobreescriure(this, n)) return false;

    const QString carpeta_fitxer = QFileInfo(f).absolutePath();
    QDir::setCurrent(carpeta_fitxer);
    carpeta_activitat() = carpeta_fitxer;
    exercici_nou();
    const bool desat = desar_exercici(f);
    activitat().exercici_modificat = FALS;
    if (!desat) {
        // The dialog stays, so another folder or name can be tried.
        missatge(this, tradueix(QStringLiteral("fitxers|no_desat")) + QStringLiteral("\n") + f,
                 QMessageBox::Critical);
        return false;
    }
    descarregar();
    if (!activitat().fitxer_actual.isEmpty() && obrir_planificar()) obrir_planificar()();
    return true;
}

void inici::crear_projecte() {
    const QString p = Text2->text();
    // The one discard question of a new project: nothing is created before it.
    const bool cancel = confirmar_descartar(this);
    if (p.isEmpty() || cancel) return;

    const QString carpeta = QDir::cleanPath(QDir::current().absoluteFilePath(p));
    if (QFileInfo::exists(carpeta)) {
        missatge(this, text_idioma(82), QMessageBox::NoIcon);
        return;
    }
    if (!QDir().mkdir(carpeta)) {
        missatge(this, tradueix(QStringLiteral("fitxers|no_carpeta")) + QStringLiteral("\n") + carpeta,
                 QMessageBox::Critical);
        return;
    }
    const QString carpeta_abans = inici::carpeta();
    Frame1->show();
    posar_carpeta(carpeta);
    Text1->setText(QStringLiteral("_") + QFileInfo(carpeta).fileName());
    if (!crear_exercici(false)) {
        // No empty project folder stays behind.
        QDir().rmdir(carpeta);
        posar_carpeta(carpeta_abans);
        mostrar_panell(Frame3, 234, 120);
    }
}

} // namespace lumi
