#include "devices/OVSDLL_CALIB.h"

#include "comuns/dialegs.h"
#include "comuns/encabir.h"
#include "comuns/formulari.h"
#include "core/activitat.h"
#include "core/idioma.h"
#include "core/vb.h"
#include "devices/matriu_inversa.h"
#include "devices/mvfw.h"
#include "devices/ombra_visor.h"
#include "devices/omvis.h"
#include "platform/finestres.h"
#include "platform/rellotge.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cmath>
#include <cstdlib>

namespace lumi {

namespace {

OVSDLL_CALIB* instancia_ = nullptr;

// The hourglass for the length of a step; steps nest.
struct CursorEspera {
    CursorEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QApplication::restoreOverrideCursor(); }
};

// The drawn marks, above the still and below the markers.
class CapaMarques final : public QWidget {
  public:
    CapaMarques(ImatgeCalibracio* imatge) : QWidget(imatge), imatge_(imatge) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(0, 0, 640, 480);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        for (const auto& m : imatge_->marques) {
            p.setPen(m.color);
            p.drawLine(m.linia);
        }
    }

  private:
    ImatgeCalibracio* imatge_;
};

int16_t arrodonit(double v) {
    return a_enter16(v).value_or(0);
}

const QString CALIBRAR = QStringLiteral("calibrar");
const QString TEST = QStringLiteral("test");

} // namespace

ImatgeCalibracio::ImatgeCalibracio(QWidget* pare) : QWidget(pare) {
    setFixedSize(640, 480);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
}

void ImatgeCalibracio::esborrar() {
    marques.clear();
    repintar();
}

void ImatgeCalibracio::linia(int x1, int y1, int x2, int y2, QColor c) {
    marques.push_back({QLine(x1, y1, x2, y2), c});
    repintar();
}

void ImatgeCalibracio::repintar() {
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        w->update();
}

void ImatgeCalibracio::mousePressEvent(QMouseEvent* e) {
    emit premut(e->position().x(), e->position().y());
}

OVSDLL_CALIB::OVSDLL_CALIB(QWidget* pare) : QDialog(pare) {
    setObjectName(QStringLiteral("OVSDLL_CALIB"));
    setWindowTitle(QStringLiteral("Calibrar Ombra Visor"));
    setModal(true);
    instancia_ = this;
    crear_controls();
}

OVSDLL_CALIB::~OVSDLL_CALIB() {
    if (instancia_ == this) instancia_ = nullptr;
}

OVSDLL_CALIB* OVSDLL_CALIB::instancia() {
    return instancia_;
}

void OVSDLL_CALIB::mostrar(QWidget* pare) {
    OVSDLL_CALIB d(pare);
    d.Form_Load();
    d.exec();
}

void OVSDLL_CALIB::crear_controls() {
    auto* fila = new QHBoxLayout(this);
    auto* esquerra = new QVBoxLayout;
    fila->addLayout(esquerra);

    auto caixa = [&](const char* nom, const char* text) {
        auto* c = anomenar(new QCheckBox(QString::fromUtf8(text), this), QString::fromUtf8(nom));
        esquerra->addWidget(c);
        return c;
    };
    auto boto = [&](const char* nom, const char* text) {
        auto* b = anomenar(new QPushButton(QString::fromUtf8(text), this), QString::fromUtf8(nom));
        esquerra->addWidget(b);
        return b;
    };
    ombra_visor_engega = caixa("ombra_visor_engega", "Ombra visor");
    webcam = boto("webcam", "Imatge WebCam");
    mides_defecte = boto("mides_defecte", "Mides x defecte");
    calibrar = caixa("calibrar", "Calibrar mides");
    chkToggleAlarm = caixa("chkToggleAlarm", "Test");
    amaga_fons = caixa("amaga_fons", "Fons");
    WEBCAM_INV_H = caixa("WEBCAM_INV_H", "Inv Horitzontal");
    WEBCAM_INV_V = caixa("WEBCAM_INV_V", "Inv Vertical");
    Label4 = anomenar(new QLabel(QStringLiteral("Retard WebCam"), this), QStringLiteral("Label4"));
    Text1 = anomenar(new QLineEdit(this), QStringLiteral("Text1"));
    esquerra->addWidget(Label4);
    esquerra->addWidget(Text1);
    for (int i = 0; i < 2; ++i) {
        M_webc[i] =
            anomenar(new QRadioButton(i == 0 ? QStringLiteral("Foto") : QStringLiteral("Continuo"), this),
                     QStringLiteral("M_webc"), i);
        esquerra->addWidget(M_webc[i]);
    }
    Command3 = boto("Command3", "Tancar");
    // Never shown: the movement tolerance and the still time of the tick.
    Label3 = anomenar(new QLabel(QStringLiteral("Intervals"), this), QStringLiteral("Label3"));
    Label2 = anomenar(new QLabel(QStringLiteral("Pícsels"), this), QStringLiteral("Label2"));
    Label1 = anomenar(new QLabel(QStringLiteral("Temps"), this), QStringLiteral("Label1"));
    v_pixel = anomenar(new QLineEdit(QStringLiteral("2"), this), QStringLiteral("v_pixel"));
    v_temps = anomenar(new QLineEdit(QStringLiteral("1.00"), this), QStringLiteral("v_temps"));
    for (QWidget* w :
         {static_cast<QWidget*>(Label3), static_cast<QWidget*>(Label2), static_cast<QWidget*>(Label1),
          static_cast<QWidget*>(v_pixel), static_cast<QWidget*>(v_temps)})
        w->hide();
    esquerra->addStretch();

    // The picture with the corner buttons just outside its corners.
    constexpr int B = 24;
    auto* marc = new QWidget(this);
    marc->setFixedSize(640 + 2 * B, 480 + 2 * B);
    Picture1 = anomenar(new ImatgeCalibracio(marc), QStringLiteral("Picture1"));
    Picture1->move(B, B);
    Image1 = anomenar(new QLabel(Picture1), QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 640, 480);
    Image1->setScaledContents(true);
    Image1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Image1->hide();
    new CapaMarques(Picture1);
    sense_camera = anomenar(new QLabel(Picture1), QStringLiteral("sense_camera"));
    sense_camera->setGeometry(0, 0, 640, 480);
    sense_camera->setAlignment(Qt::AlignCenter);
    sense_camera->setWordWrap(true);
    sense_camera->setStyleSheet(QStringLiteral("color: white; font-size: 16pt"));
    sense_camera->setAttribute(Qt::WA_TransparentForMouseEvents);
    sense_camera->hide();
    for (int i = 0; i < 4; ++i) {
        ppunt[i] = anomenar(new QLabel(QString::number(i + 1), Picture1), QStringLiteral("ppunt"), i);
        ppunt[i]->setStyleSheet(QStringLiteral("background-color: #ff0000; font-size: 7px"));
        ppunt[i]->setAlignment(Qt::AlignCenter);
    }
    const char* colors_t[2] = {"#ff00ff", "#ffffc0"};
    for (int i = 0; i < 2; ++i) {
        tpunt[i] = anomenar(new QLabel(QStringLiteral(" "), Picture1), QStringLiteral("tpunt"), i);
        tpunt[i]->setStyleSheet(QStringLiteral("background-color: ") + QLatin1String(colors_t[i]));
    }
    for (QLabel* l : ppunt) {
        l->setGeometry(0, 0, 10, 10);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->hide();
    }
    for (QLabel* l : tpunt) {
        l->setGeometry(0, 0, 10, 10);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->hide();
    }
    const QPoint llocs[4] = {{0, 0}, {640 + B, 0}, {640 + B, 480 + B}, {0, 480 + B}};
    for (int i = 0; i < 4; ++i) {
        b_test[i] = anomenar(new QPushButton(QString::number(i + 1), marc), QStringLiteral("b_test"), i);
        b_test[i]->setGeometry(QRect(llocs[i], QSize(B, B)));
    }
    auto* dreta = new QVBoxLayout;
    dreta->addWidget(marc);
    auto* textos = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        vpxy[i] = anomenar(new QLabel(this), QStringLiteral("vpxy"), i);
        textos->addWidget(vpxy[i]);
    }
    for (int i = 0; i < 2; ++i) {
        fvpx[i] = anomenar(new QLabel(this), QStringLiteral("fvpx"), i);
        textos->addWidget(fvpx[i]);
    }
    dreta->addLayout(textos);
    fila->addLayout(dreta);

    ctrlTimer.setInterval(65);

    // A box changed in code runs its handler as a click does.
    connect(calibrar, &QCheckBox::toggled, this, [this] { calibrar_Click(); });
    connect(chkToggleAlarm, &QCheckBox::toggled, this, [this] { chkToggleAlarm_Click(); });
    connect(ombra_visor_engega, &QCheckBox::toggled, this, [this] { ombra_visor_engega_Click(); });
    connect(amaga_fons, &QCheckBox::toggled, this, [this] { amaga_fons_Click(); });
    connect(WEBCAM_INV_H, &QCheckBox::toggled, this, [this] { WEBCAM_INV_H_Click(); });
    connect(WEBCAM_INV_V, &QCheckBox::toggled, this, [this] { WEBCAM_INV_V_Click(); });
    for (int i = 0; i < 2; ++i)
        connect(M_webc[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) M_webc_Click(static_cast<int16_t>(i));
        });
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    connect(webcam, &QPushButton::clicked, this, [this] { webcam_Click(); });
    connect(mides_defecte, &QPushButton::clicked, this, [this] { mides_defecte_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    for (int i = 0; i < 4; ++i)
        connect(b_test[i], &QPushButton::clicked, this, [this, i] { b_test_Click(static_cast<int16_t>(i)); });
    connect(Picture1, &ImatgeCalibracio::premut, this,
            [this](double x, double y) { Picture1_MouseDown(x, y); });
    connect(&ctrlTimer, &QTimer::timeout, this, [this] { ctrlTimer_Timer(); });
}

int32_t OVSDLL_CALIB::handle_imatge() {
    return plataforma::registrar_finestra(Picture1);
}

void OVSDLL_CALIB::posar_marcador(QLabel* l, int x, int y) {
    l->move(x, y);
}

void OVSDLL_CALIB::color_boto(QWidget* w, bool groc) {
    w->setStyleSheet(groc ? QStringLiteral("background-color: #ffff00") : QString());
}

void OVSDLL_CALIB::activar(std::initializer_list<QWidget*> controls, bool actiu) {
    for (QWidget* w : controls)
        w->setEnabled(actiu);
}

void OVSDLL_CALIB::Form_Load() {
    tradueix_formulari(this);
    encabir_captions(this);
    // The stored settings, so that closing the window keeps them.
    webcam_ini_llegir();
    const EstatDispositius& d = dispositius();
    const int16_t inv_h = d.web_inv_h, inv_v = d.web_inv_v, modus = d.wc_modus, retard = d.wc_retard;
    WEBCAM_INV_H->setChecked(inv_h == 1);
    WEBCAM_INV_V->setChecked(inv_v == 1);
    if (modus == 0 || modus == 1) M_webc[static_cast<size_t>(modus)]->setChecked(true);
    Text1->setText(QString::number(retard));
    // The picture stays black without a camera: it says why.
    sense_camera->setText(tradueix(QStringLiteral("OmbraVisor|sense_camera")));
    QString nom, versio;
    bool camera = false;
    for (int16_t i = 0; i <= 8 && !camera; ++i)
        camera = capGetDriverDescriptionA(i, nom, versio);
    sense_camera->setVisible(!camera);
}

void OVSDLL_CALIB::Form_Unload() {
    if (descarregat_) return;
    descarregat_ = true;
    ctrlTimer.stop();
    if (dispositius().captura_hwnd != 0) captura_tancar();
    webcam_ini_desar();
    // The tracking window opened from here outlives this window.
    for (OmbraVisor* v : findChildren<OmbraVisor*>(QString(), Qt::FindDirectChildrenOnly)) {
        v->setParent(nullptr, Qt::Window);
        v->show();
    }
}

void OVSDLL_CALIB::done(int r) {
    Form_Unload();
    QDialog::done(r);
}

void OVSDLL_CALIB::Command3_Click() {
    reject();
}

// ------------------------------------------------------ corner capture

void OVSDLL_CALIB::calibrar_Click() {
    CursorEspera espera;
    OVSFinalitza();
    EstatDispositius& d = dispositius();
    if (d.captura_hwnd == 0) captura_obrir(handle_imatge());
    if (d.captura_hwnd == 0) {
        missatge(this, tradueix(QStringLiteral("OmbraVisor|sense_camera")), QMessageBox::NoIcon);
        // Unticked quietly: a second attempt would only say it again.
        const QSignalBlocker callat(calibrar);
        calibrar->setChecked(false);
        return;
    }
    if (mode_calibracio == CALIBRAR)
        acabar_calibracio();
    else
        iniciar_calibracio();
}

void OVSDLL_CALIB::agafar_fotografia() {
    // A still that cannot be taken leaves no file: the picture stays empty.
    fotografia_desar(dispositius().captura_hwnd);
    if (dispositius().captura_hwnd != 0) captura_tancar();
}

void OVSDLL_CALIB::carregar_fotografia() {
    const QPixmap foto(fitxer_fotografia());
    if (foto.isNull())
        Image1->clear();
    else
        Image1->setPixmap(foto);
    Image1->setVisible(amaga_fons->isChecked());
}

void OVSDLL_CALIB::iniciar_calibracio() {
    activar({chkToggleAlarm, ombra_visor_engega, webcam}, false);
    agafar_fotografia();
    carregar_fotografia();
    dispositius().wc_modus = M_webc[1]->isChecked() ? 1 : 0;
    cantonades_fetes = QStringLiteral("0000");
    for (QLabel* l : ppunt)
        l->hide();
    for (cantonada& c : cantonades)
        c = {320, 240};
    cantonada_activa = 6;
    webcam_min_x = 640;
    webcam_min_y = 480;
    webcam_max_x = 0;
    webcam_max_y = 0;
    mode_calibracio = CALIBRAR;
    color_boto(calibrar, true);
}

void OVSDLL_CALIB::ajustar() {
    auto escalar = [](int16_t& v, int16_t minim, int16_t maxim) {
        if (v == 0 || maxim <= minim) return;
        v = static_cast<int16_t>(arrodonir_parell(double(v - minim) / (maxim - minim) * 120));
    };
    escalar(punt_x, webcam_min_x, webcam_max_x);
    escalar(punt_y, webcam_min_y, webcam_max_y);
}

void OVSDLL_CALIB::acabar_calibracio() {
    color_boto(calibrar, false);
    Image1->hide();
    update();
    mode_calibracio.clear();
    if (missatge(this, text_idioma(74), QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No) ==
        QMessageBox::Yes) {
        // The map is rebuilt from the ini file, settings included.
        webcam_ini_desar();
        calibracio_punts_desar(cantonades[0].x, cantonades[0].y, cantonades[1].x, cantonades[1].y,
                               cantonades[2].x, cantonades[2].y, cantonades[3].x, cantonades[3].y);
        calibracio_calcular();
    }
    activar({chkToggleAlarm, ombra_visor_engega, webcam}, true);
}

void OVSDLL_CALIB::b_test_Click(int16_t Index) {
    if (!calibrar->isChecked() || Index < 0 || Index > 3) return;
    mode_calibracio = CALIBRAR;
    for (QPushButton* b : b_test)
        color_boto(b, false);
    cantonada_activa = static_cast<int16_t>(Index + 1);
    ppunt[static_cast<size_t>(Index)]->hide();
    cantonades_fetes[Index] = QLatin1Char('0');
    color_boto(b_test[static_cast<size_t>(Index)], true);
}

void OVSDLL_CALIB::Picture1_MouseDown(double X, double Y) {
    if (mode_calibracio != CALIBRAR) return;
    Picture1->esborrar();
    if (X * Y == 0) return;
    punt_x = arrodonit(X);
    punt_y = arrodonit(Y);
    vpxy[1]->setText(single_text(static_cast<float>(Y)));
    vpxy[0]->setText(single_text(static_cast<float>(X)));
    fvpx[0]->setText(QString::number(punt_x));
    fvpx[1]->setText(QString::number(punt_y));
    Picture1->linia(punt_x, punt_y, punt_x + 5, punt_y + 5, QColor::fromRgb(GROC));
    if (cantonada_activa == 6) cerca_automatica(punt_x, punt_y);
    if (cantonada_activa >= 1 && cantonada_activa <= 4) {
        const auto k = static_cast<size_t>(cantonada_activa - 1);
        cantonades[k] = {punt_x, punt_y};
        posar_marcador(ppunt[k], punt_x, punt_y);
        ppunt[k]->show();
        cantonades_fetes[static_cast<qsizetype>(k)] = QLatin1Char('1');
        color_boto(b_test[k], false);
        cantonada_activa = 5;
        ultima_v = 0;
        ultima_h = 0;
    }
    if (cantonades_fetes == QStringLiteral("1111"))
        Picture1->linia(punt_x, punt_y, punt_x + 5, punt_y + 5, QColor::fromRgb(MARCA_FINAL));
}

void OVSDLL_CALIB::cerca_automatica(int16_t x, int16_t y) {
    int c = -1;
    if (y < 240)
        c = x > 320 ? 1 : 0;
    else if (y > 240)
        c = x < 320 ? 3 : 2;
    if (c >= 0) {
        cantonada& k = cantonades[static_cast<size_t>(c)];
        const bool dalt = c <= 1, esquerra = c == 0 || c == 3;
        if (dalt ? y < k.y : y > k.y) k.y = y;
        if (esquerra ? x < k.x : x > k.x) k.x = x;
    }
    mostrar_cantonades();
}

void OVSDLL_CALIB::mostrar_cantonades() {
    for (size_t i = 0; i < 4; ++i) {
        posar_marcador(ppunt[i], cantonades[i].x, cantonades[i].y);
        ppunt[i]->show();
    }
}

void OVSDLL_CALIB::mides_defecte_Click() {
    webcam_ini_desar();
    calibracio_punts_desar(0, 0, 638, 0, 638, 478, 0, 478);
    calibracio_calcular();
}

// ------------------------------------------------------------ test mode

void OVSDLL_CALIB::chkToggleAlarm_Click() {
    if (chkToggleAlarm->isChecked())
        test_activar();
    else
        test_desactivar();
}

void OVSDLL_CALIB::test_activar() {
    CursorEspera espera;
    activar({ombra_visor_engega, mides_defecte, calibrar, webcam}, false);
    if (dispositius().captura_hwnd == 0) captura_obrir(handle_imatge());
    agafar_fotografia();
    if (omvis_iniciar(dispositius().wc_modus) == 0) {
        missatge(this, text_idioma(72), QMessageBox::NoIcon);
        chkToggleAlarm->setChecked(false);
        return;
    }
    calibracio_punts_llegir(cantonades[0].x, cantonades[0].y, cantonades[1].x, cantonades[1].y,
                            cantonades[2].x, cantonades[2].y, cantonades[3].x, cantonades[3].y);
    mostrar_cantonades();
    // The map this mode shows is built now, from the settings in use.
    webcam_ini_desar();
    mapa_valid = calibracio_calcular() != 0;
    tpunt[0]->show();
    tpunt[1]->setVisible(mapa_valid);
    cantonades_fetes = QStringLiteral("0000");
    cantonada_activa = 5;
    mode_calibracio = TEST;
    carregar_fotografia();
    update();
    ctrlTimer.start();
}

void OVSDLL_CALIB::test_desactivar() {
    CursorEspera espera;
    for (QLabel* l : tpunt)
        l->hide();
    Picture1->esborrar();
    ctrlTimer.stop();
    activar({ombra_visor_engega, mides_defecte, calibrar, webcam}, true);
    OVSFinalitza();
}

void OVSDLL_CALIB::ctrlTimer_Timer() {
    int16_t v = 0, h = 0;
    OVSObtenirPosicio(v, h);
    if (mode_calibracio != TEST && mode_calibracio != CALIBRAR) return;
    Picture1->esborrar();
    if (v == 0 || h == 0) return;
    const EstatDispositius& d = dispositius();
    punt_y = d.web_inv_v == 1 ? static_cast<int16_t>(480 - v) : v;
    punt_x = d.web_inv_h == 1 ? static_cast<int16_t>(640 - h) : h;
    vpxy[1]->setText(QString::number(v));
    vpxy[0]->setText(QString::number(h));
    fvpx[0]->setText(QString::number(punt_x));
    fvpx[1]->setText(QString::number(punt_y));
    posar_marcador(tpunt[0], punt_x, punt_y);
    if (mode_calibracio == TEST && mapa_valid) {
        const auto x = a_enter16(calibracio_x(punt_x, punt_y));
        const auto y = a_enter16(calibracio_y(punt_x, punt_y));
        if (x && y) posar_marcador(tpunt[1], *x, *y);
    }
    const double t = valor_inicial(v_pixel->text());
    if (std::abs(v - ultima_v) > t || std::abs(h - ultima_h) > t) {
        ultima_v = v;
        ultima_h = h;
        inici_quiet = plataforma::rellotge().segons_dia();
    }
}

// ------------------------------------------------- preview and settings

void OVSDLL_CALIB::webcam_Click() {
    if (dispositius().captura_hwnd != 0) {
        captura_tancar();
        activar({chkToggleAlarm, ombra_visor_engega, mides_defecte, calibrar}, true);
    } else {
        const bool oberta = captura_obrir(handle_imatge()) != 0;
        activar({chkToggleAlarm, ombra_visor_engega, mides_defecte, calibrar}, false);
        sense_camera->setVisible(!oberta);
        // The other controls wait for a preview all the same: say so.
        if (!oberta)
            missatge(
                this,
                tradueix(QStringLiteral("OmbraVisor|sense_camera")) + QLatin1Char('\n') +
                    tradueix(QStringLiteral("OVSDLL_CALIB|sense_camera")).arg(webcam->text().remove(u'&')),
                QMessageBox::NoIcon);
    }
}

void OVSDLL_CALIB::amaga_fons_Click() {
    Image1->setVisible(amaga_fons->isChecked());
}

void OVSDLL_CALIB::WEBCAM_INV_H_Click() {
    dispositius().web_inv_h = WEBCAM_INV_H->isChecked() ? 1 : 0;
}

void OVSDLL_CALIB::WEBCAM_INV_V_Click() {
    dispositius().web_inv_v = WEBCAM_INV_V->isChecked() ? 1 : 0;
}

void OVSDLL_CALIB::M_webc_Click(int16_t Index) {
    if (Index == 0 || Index == 1) dispositius().wc_modus = Index;
}

void OVSDLL_CALIB::Text1_Change() {
    // A number beyond 16 bits keeps the delay in use.
    const std::optional<int16_t> n = a_enter16(valor_inicial(Text1->text()));
    if (!n) return;
    dispositius().wc_retard = *n;
    if (*n == 0) {
        dispositius().wc_retard = 100;
        Text1->setText(QStringLiteral("100"));
    }
}

void OVSDLL_CALIB::ombra_visor_engega_Click() {
    if (ombravisor_portar_davant()) {
        ombra_visor_engega->setChecked(true);
        return;
    }
    const bool marcat = ombra_visor_engega->isChecked();
    if (marcat) ombravisor_obrir();
    activar({mides_defecte, calibrar, chkToggleAlarm, webcam}, !marcat);
}

} // namespace lumi
