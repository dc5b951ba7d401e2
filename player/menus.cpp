// The player's menus: files, planner, start, quit, speed, sound patterns,
// webcam, language, help and about.
#include "player/menus.h"

#include "player/Form1.h"
#include "core/camins.h"
#include "platform/carpetes.h"
#include "comuns/dialegs.h"
#include "platform/dreceres.h"
#include "platform/finestres.h"
#include "core/fitxer_lrq.h"
#include "comuns/formulari.h"
#include "core/idioma.h"
#include "player/inici.h"
#include "platform/ini.h"
#include "platform/motor_veu.h"
#include "platform/processos.h"
#include "comuns/programes.h"
#include "devices/modul_veu.h"
#include "devices/ombra_visor.h"
#include "devices/seguidor.h"
#include "platform/traduccio_qt.h"
#include "core/vb.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>

namespace lumi {

namespace {

// Paths compared as the files they name.
bool mateix_fitxer(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty()) return false;
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists()) return fa.canonicalFilePath() == fb.canonicalFilePath();
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

// The keywords of every list and of the instruction, from one interface
// language to another (through Catalan, the form files keep them in).
void traduir_paraules_clau(const QString& abans, const QString& despres) {
    if (abans == despres || !es_idioma_conegut(abans) || !es_idioma_conegut(despres)) return;
    auto tradueix = [&](QString& s) {
        if (s.isEmpty()) return;
        s = tradueix_paraules_clau_en(despres, tradueix_paraules_clau_en(abans, s, 0), 1);
    };
    Activitat& a = activitat();
    for (item& it : a.items) {
        tradueix(it.estimuls);
        tradueix(it.si_be);
        tradueix(it.si_mal);
    }
    tradueix(a.consigna);
    Llistes& l = llistes();
    for (QStringList* llista : {&l.llista_estimuls, &l.llista_be, &l.llista_mal, &l.llista_accio})
        for (QString& s : *llista)
            tradueix(s);
}

bool es_formulari(const QWidget* w) {
    if (w->property(plataforma::PROPIETAT_FINESTRA_DISPOSITIU).toBool()) return false;
    if (!w->isWindow() || w->objectName().isEmpty() || w->objectName() == QLatin1String("Form1"))
        return false;
    if (w->objectName().startsWith(QLatin1String("qt_"))) return false;
    if (qobject_cast<const QMessageBox*>(w) || qobject_cast<const QFileDialog*>(w)) return false;
    return qobject_cast<const QDialog*>(w) || qobject_cast<const QMainWindow*>(w);
}

} // namespace

// ------------------------------------------------------------------ hooks

TriadorFitxer& triador_fitxer() {
    static TriadorFitxer f = dialeg_fitxer;
    return f;
}

std::optional<QString> dialeg_fitxer(QWidget* pare, const EleccioFitxer& e) {
    QFileDialog d(pare, e.titol, e.carpeta);
    d.setObjectName(QStringLiteral("CMDialog1"));
    d.setAcceptMode(e.desar ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    d.setFileMode(e.desar ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Qt's own dialog: it speaks the interface language and its filters match
    // "GAT.LRQ" as well as "gat.lrq", which a desktop's dialog may not.
    d.setOption(QFileDialog::DontUseNativeDialog, true);
    // The caller asks before an existing activity is lost.
    d.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filtres = filtres_dialeg(e.filtre);
    if (!filtres.isEmpty()) d.setNameFilters(filtres);
    if (e.desar) d.setDefaultSuffix(QStringLiteral("lrq"));
    if (!e.nom.isEmpty() && !e.nom.contains(u'*')) d.selectFile(e.nom);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
    return d.selectedFiles().constFirst();
}

std::function<void()>& obrir_planificar() {
    static std::function<void()> f;
    return f;
}

std::function<bool()>& ombravisor_engegar() {
    static std::function<bool()> f;
    return f;
}

std::function<bool(QWidget*)>& mostrar_calibracio() {
    static std::function<bool(QWidget*)> f;
    return f;
}

std::function<bool(const QString&)>& obrir_document() {
    static std::function<bool(const QString&)> f = [](const QString& fitxer) {
        return plataforma::obrir_fitxer(fitxer, QFileInfo(fitxer).absolutePath()) != 0;
    };
    return f;
}

void descarregar_formularis(const QList<QWidget*>& respectar) {
    if (inici::carregat() && !respectar.contains(inici::instancia())) inici::instancia()->descarregar();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (es_formulari(w) && w->isVisible() && !respectar.contains(w)) w->close();
}

EleccioFitxer eleccio_activitat() {
    const Activitat& a = activitat();
    EleccioFitxer e;
    e.titol = tradueix(QStringLiteral("Fitxers Planificació Lumi Raga"));
    e.filtre = tradueix(QStringLiteral("Fitxers lumiraga|*.lrq|Altres fitxers|*.*"));
    if (!a.fitxer_actual.isEmpty()) {
        const QString carpeta = QFileInfo(separadors_natius(a.fitxer_actual)).absolutePath();
        QDir::setCurrent(carpeta);
        e.carpeta = carpeta;
        e.nom = QFileInfo(separadors_natius(a.fitxer_actual)).fileName();
    } else {
        e.carpeta = plataforma::carpeta_programa();
        e.nom = QStringLiteral("*.lrq");
    }
    return e;
}

bool desar_activitat(QWidget* pare, QWidget* finestra, EleccioFitxer e) {
    Activitat& a = activitat();
    e.desar = true;
    const std::optional<QString> tria = triador_fitxer()(pare, e);
    if (!tria) return false;
    const QString cami = QFileInfo(*tria).absoluteFilePath();
    // Another activity already there is lost only when the user agrees.
    if (QFileInfo::exists(cami) && !mateix_fitxer(cami, a.fitxer_actual) &&
        !confirmar_sobreescriure(pare, QFileInfo(cami).fileName()))
        return false;
    // A file that could not be read holds what the activity lacks: it is
    // replaced only when the user says so.
    const bool refusat = QFileInfo::exists(cami) && mateix_fitxer(cami, fitxer_refusat());
    if (refusat && missatge(pare, tradueix(QStringLiteral("fitxers|sobreescriure_refusat")) + u'\n' + cami,
                            QMessageBox::Question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return false;
    // References are written relative to the folder the file goes into;
    // the ones outside it stay absolute and keep working from there. Those
    // still relative to the old folder are made absolute first, the planner's
    // working item and lists with them.
    const QString carpeta = QFileInfo(cami).absolutePath();
    const QString carpeta_abans = carpeta_activitat();
    const QStringList abans = referencies_mitjans(a);
    referencies_absolutes(a, carpeta_abans);
    for (item& it : planificador().item_editat)
        referencies_absolutes(it, carpeta_abans);
    for (QStringList* l : {&llistes().llista_estimuls, &llistes().llista_be, &llistes().llista_mal})
        referencies_absolutes(*l, carpeta_abans);
    if (!desar_exercici(cami, idioma(), carpeta)) {
        missatge(pare, tradueix(QStringLiteral("fitxers|no_desat")) + QStringLiteral("\n") + cami,
                 QMessageBox::Critical);
        return false;
    }
    carpeta_activitat() = carpeta;
    QDir::setCurrent(carpeta);
    if (finestra) finestra->setWindowTitle(QStringLiteral("LUMIRAGA - ") + a.fitxer_actual);
    a.exercici_modificat = FALS;
    // A file found from the old folder and not from the new one is told.
    const QStringList despres = referencies_mitjans(a);
    QStringList perdudes;
    for (qsizetype i = 0; i < despres.size() && i < abans.size(); ++i) {
        if (QFileInfo::exists(resoldre_fitxer(part_recurs(abans[i], 0), carpeta_abans)) &&
            !QFileInfo::exists(resoldre_fitxer(part_recurs(despres[i], 0), carpeta)) &&
            !perdudes.contains(despres[i]))
            perdudes << despres[i];
    }
    if (!perdudes.isEmpty())
        missatge(pare,
                 tradueix(QStringLiteral("fitxers|referencies_perdudes")) + u'\n' + perdudes.join(u'\n'),
                 QMessageBox::Warning);
    return true;
}

void obrir_ajuda(QWidget* pare) {
    // Opened directly: F1 belongs to the learner.
    const QStringList codis = codis_idioma(idioma());
    const QString pagina = plataforma::fitxer_ajuda(codis.value(0, QStringLiteral("ca")));
    if (pagina.isEmpty() || (obrir_document() && obrir_document()(pagina))) return;
    // Nothing on this desktop opens it: where it is, to open by hand.
    missatge_cami(pare, tradueix(QStringLiteral("fitxers|ajuda_sense_obridor")), pagina);
}

void mostrar_quant_a(QWidget* pare) {
    QString text = text_idioma(14);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    missatge(pare, text, QMessageBox::NoIcon, QMessageBox::Ok, text_idioma(15));
}

QString titol_activitat() {
    const QString& f = activitat().fitxer_actual;
    return f.isEmpty() ? tradueix(QStringLiteral("LUMIRAGA - Sense nom")) : QStringLiteral("LUMIRAGA - ") + f;
}

bool confirmar_sobreescriure(QWidget* pare, const QString& nom) {
    return missatge(pare, text_idioma(81) + nom, QMessageBox::Critical,
                    QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

// ------------------------------------------------------------------ the menus

void Form1::connectar_menus() {
    if (menus_connectats) return;
    menus_connectats = true;
    auto connectar = [this](QAction* a, auto handler) { connect(a, &QAction::triggered, this, handler); };
    auto connectar_index = [this](const std::vector<QAction*>& v, void (Form1::*handler)(int16_t)) {
        for (size_t i = 0; i < v.size(); ++i) {
            const auto index = static_cast<int16_t>(i);
            QAction* a = v[i];
            connect(a, &QAction::triggered, this, [this, a, handler, index](bool marcat) {
                // The handlers tick and untick themselves, from the state
                // before the click.
                if (a->isCheckable()) a->setChecked(!marcat);
                (this->*handler)(index);
            });
        }
    };
    connectar(mn_inici, [this] { mn_inici_Click(); });
    connectar_index(mn_disc, &Form1::mn_DISC_Click);
    connectar(mn_FITXERS, [this] { mn_FITXERS_Click(); });
    connectar(mn_engegar, [this] { mn_engegar_Click(); });
    connectar(mn_informe, [this] { mn_informe_Click(); });
    connectar(mn_FI, [this] { mn_FI_Click(); });
    connectar_index(mn_velocitat, &Form1::mn_velocitat_Click);
    connectar_index(mn_fressa, &Form1::mn_fressa_Click);
    // The speech menu only where the engine started: asked (once) when its
    // menu first opens, so that SDL is not loaded with the program.
    connect(mn_conf, &QMenu::aboutToShow, this,
            [this] { mn_rec_s[0]->menuAction()->setEnabled(plataforma::motor_veu().present()); });
    connectar_index(mn_ovs, &Form1::mn_ovs_Click);
    connectar_index(mn_idioma, &Form1::mn_idioma_Click);
    connectar(ajuda, [this] { ajuda_Click(); });
    connectar(quant_a, [this] { quant_a_Click(); });
}

void Form1::obrir_inici() {
    mostrar_menus(true);
    mn_inici_Click();
}

void Form1::mn_inici_Click() {
    QPointer<inici> d = inici::instancia();
    d->exec();
}

void Form1::mn_DISC_Click(int16_t Index) {
    Activitat& a = activitat();
    descarregar_formularis();
    const EleccioFitxer e = eleccio_activitat();

    switch (Index) {
    case 0: {
        QPointer<inici> d = inici::instancia();
        d->Command1_Click(0);
        if (d) d->exec();
        break;
    }
    case 1: {
        if (confirmar_descartar(this)) return;
        exercici_nou();
        const std::optional<QString> tria = triador_fitxer()(this, e);
        if (!tria) return;
        // A refused file leaves the new activity, untitled.
        carregar_exercici(QFileInfo(*tria).absoluteFilePath());
        setWindowTitle(titol_activitat());
        if (a.paraules_veu[0].isEmpty()) mn_fressa[1]->setEnabled(true);
        if (dispositius().motor_veu_preparat) {
            for (int i = 2; i <= 4; ++i)
                mn_fressa[i]->setEnabled(true);
        }
        break;
    }
    case 2:
        desar_activitat(this, this, e);
        break;
    case 3: {
        const QString nom = QFileInfo(separadors_natius(a.fitxer_actual)).fileName();
        const QString objectiu = separadors_natius(a.fitxer_actual);
        // The program's own group of the applications menu, made on first use.
        const QString programes = plataforma::carpeta_especial(QStringLiteral("Programs"));
        if (!programes.isEmpty()) QDir(programes).mkpath(QStringLiteral("lumiraga"));
        const int r1 = crear_drecera(objectiu, nom, QStringLiteral("Desktop"), QString());
        const int r2 = crear_drecera(objectiu, QStringLiteral("\\lumiraga\\") + nom,
                                     QStringLiteral("Programs"), QString());
        for (int r : {r1, r2}) {
            if (r == DRECERA_DESADA) continue;
            missatge(this,
                     text_idioma(80) + QStringLiteral(" E: ") + QString::number(r) + QStringLiteral("\n\n"),
                     QMessageBox::NoIcon);
        }
        break;
    }
    default:
        break;
    }
}

void Form1::mn_engegar_Click() {
    if (activitat().fitxer_actual.isEmpty()) mn_DISC_Click(1);
    if (activitat().fitxer_actual.isEmpty()) return;
    // The run passes over items without stimuli: with none, it would show
    // a blank screen and ask nothing.
    const Activitat& a = activitat();
    bool sense_estimuls = true;
    for (int i = 1; i <= a.nombre_items && i < static_cast<int>(a.items.size()); ++i)
        sense_estimuls = sense_estimuls && a.items[i].estimuls.size() <= 2;
    if (sense_estimuls) {
        missatge(this, tradueix(QStringLiteral("jugador|sense_items")), QMessageBox::Information);
        return;
    }
    engegar_exercici();
}

void Form1::mn_FITXERS_Click() {
    if (activitat().fitxer_actual.isEmpty()) mn_DISC_Click(1);
    if (!activitat().fitxer_actual.isEmpty() && obrir_planificar()) obrir_planificar()();
}

void Form1::mn_FI_Click() {
    // The close box's way: one question, and the window's close steps.
    close();
}

void Form1::rotular_velocitat() {
    const float v = jugador().velocitat;
    for (int i = 0; i < 3 && i < static_cast<int>(mn_velocitat.size()); ++i) {
        const QString clau = clau_traduccio(QStringLiteral("Form1"), QStringLiteral("mn_velocitat"), i, u'c');
        mn_velocitat[i]->setText(tradueix(clau) + numero_text(percentatge_velocitat(v, i)));
    }
}

void Form1::mn_velocitat_Click(int16_t Index) {
    float& v = jugador().velocitat;
    switch (Index) {
    case 0:
        if (v > 0) v = static_cast<float>(static_cast<double>(v) * 4 / 5);
        break;
    case 2:
        v = static_cast<float>(static_cast<double>(v) * 5 / 4);
        break;
    case 3:
        v = 1.0f;
        break;
    default:
        break;
    }
    rotular_velocitat();
}

void Form1::mn_fressa_Click(int16_t Index) {
    Activitat& a = activitat();
    EstatDispositius& d = dispositius();
    plataforma::MotorVeu& motor = plataforma::motor_veu();
    auto unitat = [&d] {
        if (d.veu_activa == 0) d.veu_activa = veu_iniciar_unitat() ? CERT : FALS;
        return d.veu_activa != 0;
    };
    switch (Index) {
    case 0: {
        if (a.paraules_veu[0].isEmpty()) a.paraules_veu[0] = QStringLiteral("A,AE,È,É,I,O,U");
        if (!unitat()) return;
        if (motor.ObrirFitxer() == 0) return;
        // The sounds of the opened set come from the engine, never from
        // whatever the clipboard happens to hold.
        veu_prendre_sons();
        for (int i = 2; i <= 4; ++i)
            mn_fressa[i]->setEnabled(true);
        break;
    }
    case 1:
        if (a.paraules_veu[0].isEmpty()) {
            // Nothing to train: say where the sounds come from.
            missatge(this,
                     text_idioma(56) + QLatin1Char('\n') + tradueix(QStringLiteral("motor_veu|sense_sons")),
                     QMessageBox::NoIcon);
            return;
        }
        if (!unitat()) return;
        mn_fressa[4]->setEnabled(true);
        motor.IniciarEntrenament();
        d.motor_veu_preparat = FALS;
        mn_fressa[2]->setEnabled(true);
        mn_fressa[3]->setEnabled(true);
        break;
    case 2:
        motor.VeureFinestraGrafiques();
        break;
    case 3:
        motor.GuardarFitxerReconeixementDeParaules();
        break;
    case 4:
        motor.VeureNivellDeSo();
        break;
    default:
        break;
    }
}

void Form1::mn_ovs_Click(int16_t Index) {
    switch (Index) {
    case 0:
        // The window itself tells of a missing camera.
        if (mostrar_calibracio()) mostrar_calibracio()(this);
        OVSFinalitza();
        break;
    case 1:
        if (!mn_ovs[1]->isChecked()) {
            // A camera that is not there leaves the item unticked and the
            // other tracker items usable; the teacher learns why.
            if (captura_obrir(plataforma::registrar_finestra(this)) == 0) {
                missatge(this, tradueix(QStringLiteral("OmbraVisor|sense_camera")), QMessageBox::NoIcon);
                return;
            }
            mn_ovs[1]->setChecked(true);
            dispositius().wc_modus = 3;
            mn_ovs[0]->setEnabled(false);
            mn_ovs[2]->setEnabled(false);
        } else {
            captura_tancar();
            mn_ovs[1]->setChecked(false);
            mn_ovs[0]->setEnabled(true);
            mn_ovs[2]->setEnabled(true);
        }
        break;
    case 2: {
        const bool trobat = ombravisor_portar_davant();
        if (trobat) {
            mn_ovs[2]->setChecked(true);
        } else if (!mn_ovs[2]->isChecked()) {
            // The launch reports nothing, whatever came of it.
            if (ombravisor_engegar()) ombravisor_engegar()();
            mn_ovs[2]->setChecked(true);
        } else {
            ombra_visor_apagada();
            return;
        }
        mn_ovs[0]->setEnabled(false);
        mn_ovs[1]->setEnabled(false);
        seguir_ombra_visor();
        break;
    }
    default:
        break;
    }
}

void Form1::ombra_visor_apagada() {
    mn_ovs[2]->setChecked(false);
    mn_ovs[0]->setEnabled(true);
    mn_ovs[1]->setEnabled(true);
}

void Form1::seguir_ombra_visor() {
    // Closing the tracking window switches it off, as the menu item does.
    static const char* const SEGUIDA = "lumi_seguida";
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->windowTitle() != TITOL_OMBRA_VISOR || w->property(SEGUIDA).toBool()) continue;
        w->setProperty(SEGUIDA, true);
        connect(w, &QObject::destroyed, this, [this] {
            if (mn_ovs[2]->isChecked()) ombra_visor_apagada();
        });
    }
}

void Form1::mn_idioma_Click(int16_t Index) {
    static const QStringList noms{IDIOMA_CATALA, IDIOMA_ESPANOL, IDIOMA_GALEGO};
    if (Index < 0 || Index > 2) return;
    for (QAction* a : mn_idioma)
        a->setChecked(false);
    const QString abans = idioma();
    traduir_paraules_clau(abans, noms[Index]);
    idioma() = noms[Index];
    // The title of an activity without a name is a text of the tables too.
    const QString sense_nom = QStringLiteral("LUMIRAGA - Sense nom");
    if (windowTitle() == tradueix_en(abans, sense_nom)) setWindowTitle(tradueix(sense_nom));
    mn_idioma[Index]->setChecked(true);
    plataforma::ini_escriure(plataforma::fitxer_ini_programa(), QStringLiteral("inici"),
                             QStringLiteral("idioma"), idioma());
    plataforma::posar_traduccio_qt(codis_idioma(idioma()));
    tradueix_formulari(this);
    update();
}

void Form1::ajuda_Click() {
    obrir_ajuda(this);
}

void Form1::quant_a_Click() {
    mostrar_quant_a(this);
}

} // namespace lumi
