#include "devices/ombra_visor.h"

#include "comuns/formulari.h"
#include "core/idioma.h"
#include "platform/camera.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>

namespace lumi {

namespace {

QSlider* control_lliscant(QWidget* pare, const QString& nom, int minim, int maxim) {
    auto* s = anomenar(new QSlider(Qt::Horizontal, pare), nom);
    s->setRange(minim, maxim);
    return s;
}

} // namespace

OmbraVisor::OmbraVisor(QWidget* pare) : QWidget(pare, Qt::Window) {
    setObjectName(QStringLiteral("OmbraVisor"));
    setWindowTitle(TITOL_OMBRA_VISOR);
    setAttribute(Qt::WA_DeleteOnClose);
    // Not one of the program's forms: it neither holds the learner back nor
    // goes when the forms are unloaded.
    setProperty(FORA_DEL_RECOMPTE, true);

    auto* g = new QGridLayout(this);
    imatge = anomenar(new QLabel(this), QStringLiteral("imatge"));
    imatge->setFixedSize(plataforma::AMPLADA_CAMERA, plataforma::ALCADA_CAMERA);
    imatge->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imatge->setStyleSheet(QStringLiteral("background: black"));
    imatge->setCursor(Qt::CrossCursor);
    imatge->installEventFilter(this);
    g->addWidget(imatge, 0, 0, 12, 1);

    int fila = 0;
    nom_camera = anomenar(new QLabel(this), QStringLiteral("nom_camera"));
    g->addWidget(nom_camera, fila++, 1, 1, 2);
    auto* clic = new QLabel(tradueix(QStringLiteral("OmbraVisor|clic")), this);
    clic->setWordWrap(true);
    g->addWidget(clic, fila++, 1, 1, 2);
    g->addWidget(new QLabel(tradueix(QStringLiteral("OmbraVisor|color")), this), fila, 1);
    mostra = anomenar(new QLabel(this), QStringLiteral("mostra"));
    mostra->setFixedSize(48, 24);
    g->addWidget(mostra, fila++, 2);

    auto fila_lliscant = [&](const char* clau, QSlider* s) {
        g->addWidget(new QLabel(tradueix(QLatin1String(clau)), this), fila, 1);
        g->addWidget(s, fila++, 2);
        connect(s, &QSlider::valueChanged, this, [this] { llegir_controls(); });
    };
    tolerancia_to = control_lliscant(this, QStringLiteral("tolerancia_to"), 1, 90);
    saturacio_minima = control_lliscant(this, QStringLiteral("saturacio_minima"), 0, 255);
    valor_minim = control_lliscant(this, QStringLiteral("valor_minim"), 0, 255);
    area_minima = control_lliscant(this, QStringLiteral("area_minima"), 1, 5000);
    fila_lliscant("OmbraVisor|to", tolerancia_to);
    fila_lliscant("OmbraVisor|saturacio", saturacio_minima);
    fila_lliscant("OmbraVisor|valor", valor_minim);
    fila_lliscant("OmbraVisor|area", area_minima);

    g->addWidget(new QLabel(tradueix(QStringLiteral("OmbraVisor|mascara")), this), fila++, 1, 1, 2);
    mascara = anomenar(new QLabel(this), QStringLiteral("mascara"));
    mascara->setFixedSize(plataforma::AMPLADA_CAMERA / 3, plataforma::ALCADA_CAMERA / 3);
    mascara->setScaledContents(true);
    mascara->setStyleSheet(QStringLiteral("background: black"));
    g->addWidget(mascara, fila++, 1, 1, 2);
    Desar = anomenar(new QPushButton(tradueix(QStringLiteral("OmbraVisor|Desar")), this),
                     QStringLiteral("Desar"));
    g->addWidget(Desar, fila++, 1, 1, 2);
    connect(Desar, &QPushButton::clicked, this, [this] { Desar_Click(); });

    posar_parametres(plataforma::seguidor_color().parametres());
    camera_agafada_ = plataforma::agafar_camera(0);
    refresc_.setInterval(66);
    connect(&refresc_, &QTimer::timeout, this, [this] { refrescar(); });
    refresc_.start();
    refrescar();
}

OmbraVisor::~OmbraVisor() {
    if (camera_agafada_) plataforma::deixar_camera();
}

void OmbraVisor::posar_parametres(const plataforma::ParametresColor& p) {
    parametres = p;
    const QSignalBlocker b1(tolerancia_to), b2(saturacio_minima), b3(valor_minim), b4(area_minima);
    tolerancia_to->setValue(p.tolerancia_to);
    saturacio_minima->setValue(p.saturacio_minima);
    valor_minim->setValue(p.valor_minim);
    area_minima->setValue(p.area_minima);
    mostra->setStyleSheet(QStringLiteral("background: %1").arg(QColor::fromHsv(p.to, 255, 255).name()));
}

void OmbraVisor::llegir_controls() {
    parametres.tolerancia_to = tolerancia_to->value();
    parametres.saturacio_minima = saturacio_minima->value();
    parametres.valor_minim = valor_minim->value();
    parametres.area_minima = area_minima->value();
    plataforma::seguidor_color().posar_parametres(parametres);
    refrescar();
}

void OmbraVisor::triar_color(QPoint p) {
    if (darrer_.isNull()) return;
    posar_parametres(plataforma::parametres_de_mostra(darrer_, p, parametres));
    // The tracker follows the new colour at once; "Desar" keeps it.
    plataforma::seguidor_color().posar_parametres(parametres);
    refrescar();
}

void OmbraVisor::refrescar() {
    const QImage f = camera_agafada_ ? plataforma::camera().fotograma() : QImage();
    const QString nom = camera_agafada_ ? plataforma::camera().nom() : QString();
    nom_camera->setText(nom.isEmpty() ? tradueix(QStringLiteral("OmbraVisor|sense_camera"))
                                      : tradueix(QStringLiteral("OmbraVisor|camera")) + nom);
    if (f.isNull()) {
        vist = {};
        return;
    }
    darrer_ = f;
    std::vector<uint8_t> m;
    vist = analitzador_.analitzar(f, parametres, &m);
    QImage vista = f.convertToFormat(QImage::Format_RGB32);
    if (vist.trobat) {
        QPainter p(&vista);
        p.setPen(QPen(Qt::white, 2));
        p.drawEllipse(QPoint(vist.h, vist.v), 12, 12);
        p.drawLine(vist.h - 18, vist.v, vist.h + 18, vist.v);
        p.drawLine(vist.h, vist.v - 18, vist.h, vist.v + 18);
    }
    imatge->setPixmap(QPixmap::fromImage(vista));
    QImage mq(f.width(), f.height(), QImage::Format_Grayscale8);
    for (int y = 0; y < mq.height(); ++y) {
        uchar* fila = mq.scanLine(y);
        const uint8_t* de = &m[static_cast<size_t>(y) * static_cast<size_t>(f.width())];
        for (int x = 0; x < mq.width(); ++x)
            fila[x] = de[x] ? 255 : 0;
    }
    mascara->setPixmap(QPixmap::fromImage(mq));
}

void OmbraVisor::Desar_Click() {
    plataforma::desar_parametres_color(parametres);
    plataforma::seguidor_color().posar_parametres(parametres);
}

bool OmbraVisor::eventFilter(QObject* o, QEvent* e) {
    if (o == imatge && e->type() == QEvent::MouseButtonPress) {
        triar_color(static_cast<QMouseEvent*>(e)->position().toPoint());
        return true;
    }
    return QWidget::eventFilter(o, e);
}

bool ombravisor_obrir() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* v = qobject_cast<OmbraVisor*>(w)) {
            v->show();
            v->raise();
            v->activateWindow();
            return true;
        }
    }
    auto* v = new OmbraVisor(QApplication::activeModalWidget());
    v->show();
    v->raise();
    v->activateWindow();
    return true;
}

bool ombravisor_portar_davant() {
    bool trobat = false;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->windowTitle() != TITOL_OMBRA_VISOR) continue;
        w->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        w->show();
        w->raise();
        trobat = true;
    }
    return trobat;
}

} // namespace lumi
