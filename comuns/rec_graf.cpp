#include "comuns/rec_graf.h"

#include "core/camins.h"
#include "comuns/dialegs.h"
#include "comuns/formulari.h"
#include "core/idioma.h"
#include "platform/imatges.h"
#include "comuns/media_jugar.h"
#include "comuns/programes.h"
#include "core/tipus_fitxer.h"
#include "core/vb.h"

#include <QDir>
#include <algorithm>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

namespace lumi {

namespace {

bool es_per_obrir(TipusFitxer t) {
    return t == TipusFitxer::swf || t == TipusFitxer::scr || t == TipusFitxer::avi || t == TipusFitxer::ppt ||
           t == TipusFitxer::pps;
}

} // namespace

// ---- the form ----

rec_graf::rec_graf(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("rec_graf"));
    setModal(true);
    crear_controls();
    Form_Load();
}

void rec_graf::crear_controls() {
    auto* graella = new QGridLayout(this);

    Label1 = anomenar(new QLabel(QStringLiteral("Disc"), this), QStringLiteral("Label1"));
    Drive1 = anomenar(new LlistaUnitats(this), QStringLiteral("Drive1"));
    Dir1 = anomenar(new LlistaCarpetes(this), QStringLiteral("Dir1"));
    Label3 = anomenar(new QLabel(QStringLiteral("Nom Fitxer"), this), QStringLiteral("Label3"));
    Text1 = anomenar(new QLineEdit(this), QStringLiteral("Text1"));
    Text1->installEventFilter(this);
    File1 = anomenar(new LlistaFitxers(this), QStringLiteral("File1"));
    Label2 = anomenar(new QLabel(QStringLiteral("Tipus Fitxer"), this), QStringLiteral("Label2"));
    Tipus_fitxer = anomenar(new QComboBox(this), QStringLiteral("Tipus_fitxer"));
    Tipus_fitxer->setEditable(true);
    Tipus_fitxer->setInsertPolicy(QComboBox::NoInsert);
    Image1 = anomenar(new QLabel(this), QStringLiteral("Image1"));
    Image1->setFixedSize(200, 150);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setFrameShape(QFrame::Box);
    so.push_back(anomenar(new QPushButton(this), QStringLiteral("so"), 0));
    const QStyle::StandardPixmap imatges[] = {QStyle::SP_MediaPlay, QStyle::SP_MediaStop,
                                              QStyle::SP_DialogOpenButton};
    for (int i = 0; i < 3; ++i) {
        auto* l = anomenar(new QLabel(this), QStringLiteral("Image2"), i);
        l->setPixmap(style()->standardIcon(imatges[i]).pixmap(24, 24));
        l->hide();
        Image2.push_back(l);
    }
    Frame1 = anomenar(new QGroupBox(QStringLiteral("Mida Gràfics"), this), QStringLiteral("Frame1"));
    const QString mides[] = {QStringLiteral("Mida Original"), QStringLiteral("Pantalla Sencera"),
                             QStringLiteral("Percentatge")};
    for (int i = 0; i < 3; ++i)
        MIDA_GRAF.push_back(anomenar(new QRadioButton(mides[i], Frame1), QStringLiteral("MIDA_GRAF"), i));
    MIDA_GRAF[0]->setChecked(true);
    HScroll1 = anomenar(new QSlider(Qt::Horizontal, Frame1), QStringLiteral("HScroll1"));
    HScroll1->setRange(0, 100);
    HScroll1->setValue(0);
    HScroll1->setEnabled(false);
    dibuix_percent = anomenar(new QLineEdit(Frame1), QStringLiteral("dibuix_percent"));
    dibuix_percent->setEnabled(false);
    dibuix_percent->setMaximumWidth(50);
    mn_zona = anomenar(new QComboBox(this), QStringLiteral("mn_zona"));
    mn_zona->setEditable(true);
    mn_zona->lineEdit()->setReadOnly(true);
    mn_zona->hide();
    flag_graf = anomenar(new QLineEdit(this), QStringLiteral("flag_graf"));
    flag_graf->hide();
    nom_fitxer = anomenar(new QLabel(this), QStringLiteral("nom_fitxer"));
    nom_fitxer->hide();
    const QString ordres[] = {QStringLiteral("Acceptar"), QStringLiteral("Cancel·lar")};
    for (int i = 0; i < 2; ++i) {
        auto* b = anomenar(new QPushButton(ordres[i], this), QStringLiteral("Command1"), i);
        // Enter belongs to the name box, not to a default button.
        b->setAutoDefault(false);
        Command1.push_back(b);
    }
    so[0]->setAutoDefault(false);
    mostrar_boto_so(IMATGE_PLAY);
    so[0]->hide();

    auto* marc = new QVBoxLayout(Frame1);
    for (auto* r : MIDA_GRAF)
        marc->addWidget(r);
    auto* percent = new QHBoxLayout;
    percent->addWidget(HScroll1);
    percent->addWidget(dibuix_percent);
    marc->addLayout(percent);

    graella->addWidget(Label3, 0, 0);
    graella->addWidget(Text1, 1, 0);
    graella->addWidget(File1, 2, 0, 3, 1);
    graella->addWidget(Dir1, 0, 1, 3, 1);
    graella->addWidget(Label1, 3, 1);
    graella->addWidget(Drive1, 4, 1);
    graella->addWidget(Label2, 5, 0);
    graella->addWidget(Tipus_fitxer, 6, 0);
    graella->addWidget(mn_zona, 6, 1);
    auto* dreta_col = new QVBoxLayout;
    dreta_col->addWidget(Image1);
    dreta_col->addWidget(so[0], 0, Qt::AlignLeft);
    dreta_col->addWidget(Frame1);
    dreta_col->addStretch();
    dreta_col->addWidget(Command1[0]);
    dreta_col->addWidget(Command1[1]);
    graella->addLayout(dreta_col, 0, 2, 7, 1);

    connect(Drive1, &QComboBox::currentIndexChanged, this, [this] { Drive1_Change(); });
    connect(Dir1, &LlistaCarpetes::canviat, this, [this] { Dir1_Change(); });
    connect(File1, &QListWidget::currentRowChanged, this, [this](int fila) {
        if (fila >= 0) File1_Click();
    });
    connect(Tipus_fitxer, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0) Tipus_fitxer_Click();
    });
    connect(Tipus_fitxer->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& t) { Tipus_fitxer_Change(t); });
    connect(so[0], &QPushButton::clicked, this, [this] { so_Click(0); });
    for (int i = 0; i < 3; ++i)
        connect(MIDA_GRAF[i], &QRadioButton::toggled, this, [this, i](bool marcat) {
            if (marcat) MIDA_GRAF_Click(i);
        });
    connect(HScroll1, &QSlider::valueChanged, this, [this] { HScroll1_Change(); });
    connect(dibuix_percent, &QLineEdit::editingFinished, this, [this] { dibuix_percent_Change(); });
    connect(mn_zona, &QComboBox::activated, this, [this](int i) { mn_zona_Click(i); });
    connect(flag_graf, &QLineEdit::textChanged, this, [this] { flag_graf_Change(); });
    for (int i = 0; i < 2; ++i)
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });

    // The lists start in the activity's folder.
    File1->setPattern(QStringLiteral("*.bmp;*.wmf;*.GIF;*.JPG"));
    if (!Dir1->setPath(carpeta_recursos())) Dir1->setPath(QDir::homePath());
}

void rec_graf::mostrar_boto_so(int imatge) {
    imatge_so_ = imatge;
    so[0]->setIcon(QIcon(Image2[imatge]->pixmap()));
}

bool rec_graf::es_zona() const {
    return windowTitle() == text_idioma(77);
}

void rec_graf::posar_nom_fitxer(const QString& nom) {
    nom_fitxer->setText(nom);
    nom_fitxer_Change();
}

void rec_graf::Form_Load() {
    tradueix_formulari(this);
}

void rec_graf::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous()) Form_Activate();
}

void rec_graf::Form_Activate() {
    for (const QString& entrada : flag_graf->text().split(u':')) {
        if (!entrada.startsWith(u'P')) continue;
        const int valor = static_cast<int>(valor_inicial(entrada.mid(1)));
        if (valor == 100) {
            MIDA_GRAF[1]->setChecked(true);
        } else {
            MIDA_GRAF[2]->setChecked(true);
            HScroll1->setValue(valor);
        }
    }
    if (es_zona()) {
        const QString zona = retallar(text_idioma(35));
        for (int k = mn_zona->count() + 1; k <= activitat().zones_max; ++k)
            mn_zona->addItem(zona + numero_text(k));
        const QString actual = zona + numero_text(static_cast<int64_t>(valor_inicial(flag_graf->text())));
        const int i = mn_zona->findText(actual);
        if (i >= 0)
            mn_zona->setCurrentIndex(i);
        else
            mn_zona->setEditText(actual);
        mn_zona->show();
    }
}

void rec_graf::nom_fitxer_Change() {
    const QString nom = nom_fitxer->text();
    if (nom.isEmpty()) return;
    const QString absolut = separadors_natius(ruta_absoluta(nom, carpeta_recursos()));
    const QString trobat = resoldre_fitxer(absolut);
    const QFileInfo fi(trobat);
    const QString carpeta = fi.absolutePath();
    File1->setPath(carpeta);
    Drive1->seguir(carpeta);
    Dir1->setPath(carpeta);
    tipus_fitxer_actualitzar(nom);
    if (!fi.isFile()) return;
    const QString llistat = fi.fileName().toUpper();
    for (int i = 0; i < File1->count(); ++i) {
        if (File1->item(i)->text().toUpper() == llistat) {
            File1->setListIndex(i);
            break;
        }
    }
}

void rec_graf::tipus_fitxer_actualitzar(const QString& nom) {
    const TipusFitxer ext = tipus_de_nom(nom);
    int m = 44;
    if (ext == TipusFitxer::lrq)
        m = 41;
    else if (es_dibuix(ext))
        m = 39;
    else if (es_so(ext))
        m = 40;
    else if (ext == TipusFitxer::swf || ext == TipusFitxer::avi)
        m = 42;
    else if (ext == TipusFitxer::scr)
        m = 43;
    {
        const QSignalBlocker bloc(Tipus_fitxer);
        const int i = Tipus_fitxer->findText(text_idioma(m));
        if (i >= 0)
            Tipus_fitxer->setCurrentIndex(i);
        else
            Tipus_fitxer->setEditText(text_idioma(m));
    }
    Tipus_fitxer_Click();
}

void rec_graf::Tipus_fitxer_Click() {
    so[0]->hide();
    Image1->clear();
    const QString t = Tipus_fitxer->currentText();
    const bool amagat = flag_graf->text() == u"no";
    QString patro;
    if (t == text_idioma(39)) {
        patro = QStringLiteral("*.GIF;*.JPG;*.BMP;*.WMF");
        Frame1->setVisible(!es_zona() && !amagat);
        Frame1->setEnabled(true);
    } else if (t == text_idioma(44)) {
        patro = QStringLiteral("*.*");
        Frame1->setEnabled(false);
        Frame1->setVisible(!amagat);
    } else {
        if (t == text_idioma(40))
            patro = QStringLiteral("*.Wav;*.MID;*.MP3");
        else if (t == text_idioma(41))
            patro = QStringLiteral("*.Lrq");
        else if (t == text_idioma(42))
            patro = QStringLiteral("*.Swf;*.AVI");
        else if (t == text_idioma(43))
            patro = QStringLiteral("*.scr");
        else if (t == text_idioma(47))
            patro = QStringLiteral("*.exe");
        else
            return;
        Frame1->hide();
    }
    File1->setPattern(patro);
    Text1->setText(patro);
}

void rec_graf::Tipus_fitxer_Change(const QString& text) {
    File1->setPattern(text);
}

void rec_graf::Drive1_Change() {
    // A drive that cannot be read leaves the lists as they were.
    if (!Dir1->setPath(Drive1->drive())) Drive1->seguir(Dir1->path());
}

void rec_graf::Dir1_Change() {
    Drive1->seguir(Dir1->path());
    File1->setPath(Dir1->path());
}

void rec_graf::File1_Click() {
    so[0]->hide();
    Image1->clear();
    const QString nom = File1->fileName();
    Text1->setText(nom);
    const TipusFitxer ext = tipus_de_nom(nom);
    if (es_per_obrir(ext)) {
        Frame1->setEnabled(false);
        mostrar_boto_so(IMATGE_OBRIR);
        so[0]->show();
    } else if (es_so(ext)) {
        Frame1->setEnabled(false);
        mostrar_boto_so(IMATGE_PLAY);
        so[0]->show();
    } else if (es_dibuix(ext)) {
        Frame1->setEnabled(true);
        const QImage img = plataforma::carregar_imatge(File1->path() + u'/' + nom);
        if (!img.isNull()) {
            QPixmap p = QPixmap::fromImage(img);
            if (p.width() > Image1->width() || p.height() > Image1->height())
                p = p.scaled(Image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
            Image1->setPixmap(p);
        }
    } else {
        Frame1->setEnabled(false);
    }
}

void rec_graf::so_Click(int) {
    const QString nom = File1->fileName();
    QString f = File1->path() + u'/' + nom;
    const TipusFitxer ext = tipus_de_nom(nom);
    if (imatge_so_ == IMATGE_STOP) {
        mostrar_boto_so(IMATGE_PLAY);
        if (ext == TipusFitxer::mid || ext == TipusFitxer::mp3 || ext == TipusFitxer::avi) {
            QString res;
            reproduir_media(res);
        }
        return;
    }
    if (nom.isEmpty()) return;
    if (es_per_obrir(ext)) {
        executar_programa(f, 1);
    } else if (es_so(ext)) {
        mostrar_boto_so(IMATGE_STOP);
        reproduir_media(f);
    }
}

void rec_graf::MIDA_GRAF_Click(int index) {
    switch (index) {
    case 0:
        HScroll1->setEnabled(false);
        dibuix_percent->setEnabled(false);
        HScroll1->setValue(0);
        flag_graf->setText(QString());
        break;
    case 1:
        HScroll1->setEnabled(false);
        dibuix_percent->setEnabled(false);
        HScroll1->setValue(100);
        break;
    case 2:
        HScroll1->setEnabled(true);
        dibuix_percent->setEnabled(true);
        HScroll1->setValue(50);
        break;
    default:
        break;
    }
}

void rec_graf::HScroll1_Change() {
    const QString v = QString::number(HScroll1->value());
    dibuix_percent->setText(v);
    flag_graf->setText(QStringLiteral(":P") + (QStringLiteral("000") + v).mid(2));
}

void rec_graf::dibuix_percent_Change() {
    // What is typed moves the slider, which writes the options text; a text
    // that is no number is refused and the slider's value comes back.
    const QString escrit = dibuix_percent->text();
    const std::optional<double> v = numero_escrit(escrit);
    if (v) HScroll1->setValue(static_cast<int>(std::clamp(arrodonir_parell(*v), 0.0, 100.0)));
    HScroll1_Change();
    if (!v) avisar_no_nombre(this, escrit);
}

void rec_graf::mn_zona_Click(int index) {
    flag_graf->setText(dreta(QStringLiteral("000") + QString::number(index + 1), 3));
}

void rec_graf::flag_graf_Change() {
    if (flag_graf->text() == u"no") Frame1->hide();
}

void rec_graf::Text1_KeyDown(int KeyCode) {
    if (KeyCode == 13) posar_nom_fitxer(Text1->text());
}

void rec_graf::Command1_Click(int index) {
    if (index == 0 && dibuix_percent->isEnabled() &&
        dibuix_percent->text() != QString::number(HScroll1->value()))
        dibuix_percent_Change();
    if (index == 0)
        accept();
    else
        reject();
}

void rec_graf::reject() {
    File1->setListIndex(-1);
    QDialog::reject();
}

bool rec_graf::eventFilter(QObject* o, QEvent* e) {
    if (o == Text1 && e->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(e)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            Text1_KeyDown(13);
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

} // namespace lumi
