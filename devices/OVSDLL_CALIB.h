// The webcam calibration window: a still of the screen through the camera on
// which the user marks the screen's four corners, a test mode that shows the
// tracker's point beside the point the calibration maps it to, the live
// preview, and the tracker settings.
#pragma once

#include <QColor>
#include <QDialog>
#include <QLine>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lumi {

struct cantonada {
    int16_t x = 0, y = 0;
};

// The camera picture: 640 x 480 units, so a click is a camera-frame point.
// Holds the still, the drawn marks and the markers.
class ImatgeCalibracio : public QWidget {
    Q_OBJECT
  public:
    explicit ImatgeCalibracio(QWidget* pare);
    struct Marca {
        QLine linia;
        QColor color;
    };
    std::vector<Marca> marques;
    void esborrar(); // the "Cls": drawn marks only
    void linia(int x1, int y1, int x2, int y2, QColor c);

  signals:
    void premut(double x, double y);

  protected:
    void mousePressEvent(QMouseEvent* e) override;

  private:
    void repintar(); // the marks' layer and the markers
};

class OVSDLL_CALIB : public QDialog {
    Q_OBJECT
  public:
    explicit OVSDLL_CALIB(QWidget* pare = nullptr);
    ~OVSDLL_CALIB() override;

    // Shown modally over `pare` until closed.
    static void mostrar(QWidget* pare);
    static OVSDLL_CALIB* instancia();

    QCheckBox* ombra_visor_engega = nullptr;
    QPushButton* webcam = nullptr;
    QPushButton* mides_defecte = nullptr;
    QCheckBox* calibrar = nullptr;
    QCheckBox* chkToggleAlarm = nullptr;
    QCheckBox* amaga_fons = nullptr;
    QCheckBox* WEBCAM_INV_H = nullptr;
    QCheckBox* WEBCAM_INV_V = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Text1 = nullptr;
    std::array<QRadioButton*, 2> M_webc{};
    QPushButton* Command3 = nullptr;
    ImatgeCalibracio* Picture1 = nullptr;
    QLabel* Image1 = nullptr;
    // Over the black picture when no camera is there.
    QLabel* sense_camera = nullptr;
    std::array<QLabel*, 4> ppunt{};
    std::array<QLabel*, 2> tpunt{};
    std::array<QPushButton*, 4> b_test{};
    std::array<QLabel*, 2> vpxy{};
    std::array<QLabel*, 2> fvpx{};
    QTimer ctrlTimer;
    QLabel* Label3 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* v_pixel = nullptr;
    QLineEdit* v_temps = nullptr;

    // The window's state; fresh at every opening.
    std::array<cantonada, 4> cantonades{};
    int16_t cantonada_activa = 5;
    QString cantonades_fetes = QStringLiteral("0000");
    QString mode_calibracio;
    int16_t punt_x = 0, punt_y = 0;
    // The readings' bounding box, reset when a calibration starts.
    int16_t webcam_min_x = 640, webcam_min_y = 480, webcam_max_x = 0, webcam_max_y = 0;
    // The point scaled into 0..120 within that box; a coordinate that is 0,
    // or a box without width or height, is left as it is.
    void ajustar();
    int16_t ultima_v = 0, ultima_h = 0;
    double inici_quiet = 0;
    // The map test mode built; without it the mapped marker stays hidden.
    bool mapa_valid = false;

    void Form_Load();
    void Form_Unload();
    void calibrar_Click();
    void b_test_Click(int16_t Index);
    void Picture1_MouseDown(double X, double Y);
    void mides_defecte_Click();
    void chkToggleAlarm_Click();
    void ctrlTimer_Timer();
    void webcam_Click();
    void amaga_fons_Click();
    void WEBCAM_INV_H_Click();
    void WEBCAM_INV_V_Click();
    void M_webc_Click(int16_t Index);
    void Text1_Change();
    void ombra_visor_engega_Click();
    void Command3_Click();

    // Pushes the corner of the point's quarter outwards.
    void cerca_automatica(int16_t x, int16_t y);
    // The four corners' markers where the corners are.
    void mostrar_cantonades();

    static constexpr QRgb GROC = 0xFFFF00;        // 65535 as the window stores it
    static constexpr QRgb MARCA_FINAL = 0xF0FF00; // 65520: all four corners done

  protected:
    void done(int r) override;

  private:
    void crear_controls();
    void posar_marcador(QLabel* l, int x, int y);
    void color_boto(QWidget* w, bool groc);
    void agafar_fotografia();
    void carregar_fotografia();
    void iniciar_calibracio();
    void acabar_calibracio();
    void test_activar();
    void test_desactivar();
    void activar(std::initializer_list<QWidget*> controls, bool actiu);
    int32_t handle_imatge();
    bool descarregat_ = false;
};

} // namespace lumi
