// An exercise from its start to its stop: devices, screen, total time,
// the answer window's time-out and the chaining to the next activity.
#include "player/Form1.h"

#include "core/camins.h"
#include "devices/captura_so.h"
#include "devices/modul_joystic.h"
#include "devices/modul_veu.h"
#include "core/codis.h"
#include "comuns/dialegs.h"
#include "platform/finestres.h"
#include "core/fitxer_lrq.h"
#include "comuns/formulari.h"
#include "core/idioma.h"
#include "platform/camera.h"
#include "platform/imatges.h"
#include "platform/joystick.h"
#include "platform/media.h"
#include "platform/microfon.h"
#include "platform/moduls.h"
#include "core/informe.h"
#include "core/llistes.h"
#include "comuns/media_jugar.h"
#include "platform/motor_veu.h"
#include "platform/pantalla.h"
#include "player/presentacio.h"
#include "platform/rellotge.h"
#include "devices/seguidor.h"
#include "core/vb.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QPixmap>
#include <algorithm>
#include <utility>

namespace lumi {

namespace {

void posar_fons(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

int32_t rellotge_arrodonit() {
    return a_enter32(plataforma::rellotge().segons_dia()).value_or(0);
}

QPixmap imatge_de(const QString& ref) {
    return QPixmap::fromImage(plataforma::carregar_imatge(resoldre_fitxer(ref)));
}

bool es_seguent(const QString& v) {
    return v == QStringLiteral(" 1") || v == QStringLiteral("1");
}
bool es_atzar(const QString& v) {
    return v == QStringLiteral(" 2") || v == QStringLiteral("2");
}

// The probed joystick the run reads, and answering.
bool joystick_llest(const EstatDispositius& d) {
    JOYINFO j;
    return (d.num_joystick == 1 || d.num_joystick == 2) &&
           plataforma::joystick().joyGetPos(d.num_joystick - 1, j) == 0;
}

// A microphone that opens (left as it was found).
bool microfon_hi_es() {
    plataforma::Microfon& m = plataforma::microfon();
    if (m.obert()) return true;
    if (!m.obrir()) return false;
    m.tancar();
    return true;
}

// The devices the activity's items need and the machine lacks, each named
// once by its own message.
struct Absents {
    bool microfon = false, camera = false;
    QStringList textos;
};
Absents dispositius_absents(int32_t finestra, bool microfon, bool camera, bool joystick) {
    Absents a;
    auto dir = [&a](const char* clau) { a.textos << tradueix(QLatin1String(clau)); };
    if (microfon && !plataforma::motor_veu().present()) {
        a.microfon = true;
        dir("motor_veu|sense_motor");
    } else if (microfon && !microfon_hi_es()) {
        a.microfon = true;
        dir("motor_veu|sense_microfon");
    }
    if (camera) {
        // No capture driver connects: there is no camera.
        a.camera = captura_obrir(finestra) == 0;
        if (a.camera)
            dir("OmbraVisor|sense_camera");
        else
            captura_tancar();
    }
    if (joystick && !joystick_llest(dispositius())) dir("joystick|sense_joystick");
    return a;
}

// The modules the activity's entries need, loaded now so that one that is
// missing is told at the start: sounds and movies, and pictures that are
// metafiles (known by their first bytes, whatever their name).
void carregar_moduls(const Activitat& a) {
    bool media = !a.fitxer_so_fons.isEmpty(), wmf = false;
    auto imatge = [&wmf](const QString& ref) {
        if (wmf || ref.isEmpty()) return;
        QFile f(resoldre_fitxer(ref));
        wmf = f.open(QIODevice::ReadOnly) && plataforma::sembla_wmf(f.peek(32));
    };
    imatge(a.fitxer_imatge_fons);
    for (const zona& z : a.zones)
        imatge(z.imatge);
    QStringList entrades{a.consigna};
    for (size_t i = 1; i < a.items.size(); ++i)
        entrades << a.items[i].estimuls << a.items[i].si_be << a.items[i].si_mal;
    for (QString resta : entrades)
        while (!resta.isEmpty()) {
            const QString ordre = seguent_ordre(resta);
            const ClasseOrdre c = classe_ordre(tipus_de(ordre));
            media = media || c == ClasseOrdre::so || c == ClasseOrdre::media || c == ClasseOrdre::peli;
            if (c == ClasseOrdre::imatge) imatge(part_recurs(ordre, 0));
        }
    if (media) plataforma::mci();
    if (wmf) plataforma::modul_imatges();
}

} // namespace

void Form1::avisar_modul(const QString& text) {
    // During a run the learner never sees it: kept for the start's message, or
    // for when the window is given back.
    auto recollir = [this, text] {
        if (mn_opcions->menuAction()->isVisible()) return false;
        if (!avisos_moduls_.contains(text)) avisos_moduls_ << text;
        return true;
    };
    if (recollir()) return;
    // Told once the event loop is back: a module may load in the middle of
    // starting a device.
    QMetaObject::invokeMethod(
        this,
        [this, recollir, text] {
            if (!recollir()) missatge(this, text, QMessageBox::Warning);
        },
        Qt::QueuedConnection);
}

void Form1::connectar_exercici() {
    connect(t_estimular, &QTimer::timeout, this, &Form1::t_estimular_Timer);
}

void Form1::posar_t_total(const QString& caption) {
    if (t_total->text() == caption) return;
    t_total->setText(caption);
    t_total_Change();
}

void Form1::pantalla_exercici() {
    // On top only once a question times out: a program or show that the
    // first stimulus launches must come up over the player.
    const Qt::WindowFlags volgudes = windowFlags() | Qt::FramelessWindowHint;
    if (windowFlags() != volgudes) setWindowFlags(volgudes);
    plataforma::cobrir_escriptori(this);
}

void Form1::treure_primer_pla() {
    plataforma::posar_a_sobre(this, false);
}

int32_t Form1::llancar_programa(const QString& fitxer, int16_t mostrar) {
    // A player kept on top after a time-out would cover what is launched;
    // the platform brings the program's window to the front.
    treure_primer_pla();
    return serveis_presentacio().executar_programa(fitxer, mostrar);
}

void Form1::engegar_exercici() {
    Activitat& a = activitat();
    EstatJugador& j = jugador();
    EstatDispositius& d = dispositius();

    // An activity without items has nothing to play.
    if (a.nombre_items < 1 || a.items.size() < 2) return;
    const unsigned generacio = ++generacio_exercici;

    setCursor(Qt::BusyCursor);
    informe() = dades_informe{};
    Image1->show();
    mostrar_menus(false);
    menuBar()->hide();

    // Every start takes the whole screen, a chained one from a minimised window too.
    setWindowTitle(QString());
    pantalla_exercici();

    j.usa_ratoli_sobre = usa_opcio_item();

    const QColor fons = color_desat(a.color_fons);
    posar_fons(centralWidget(), fons);

    dades_informe& inf = informe();
    const double ara = plataforma::rellotge().segons_dia();
    inf.capcalera = capcalera_informe(QDate::currentDate(), ara);
    inf.temps_inici = rellotge_arrodonit();
    inf.nom_exercici = a.fitxer_actual;
    // A chained run begins its log with the run before it.
    informe_detall() = prefix_informe_pendent ? prefix_informe : QString();
    prefix_informe_pendent = false;
    prefix_informe.clear();
    exercici_en_marxa = true;
    pregunta_activa = false;
    pregunta_vista = false;

    QFont lletra(a.font.nom);
    if (a.font.mida > 0) lletra.setPointSize(a.font.mida);
    lletra.setBold(a.font.negreta != 0);
    lletra.setItalic(a.font.cursiva != 0);
    Label_par->setFont(lletra);
    Label_par->setStyleSheet(QStringLiteral("background-color: %1; color: %2;")
                                 .arg(fons.name(), color_desat(a.font.color).name()));

    // Told once the window is given back: the message is the teacher's, not
    // something over the learner's screen.
    auto avortar = [this, generacio](const QString& text) {
        arrencada_refusada = generacio;
        atura_per_esc();
        missatge(this, text, QMessageBox::NoIcon);
        unsetCursor();
    };
    const int32_t finestra = plataforma::registrar_finestra(this);

    // A device that is not there is said once, at the start; the run goes
    // on without it, but a sound level without a microphone cannot run.
    // So are the modules the activity needs; what went missing during an
    // earlier run waits for the window to be given back.
    const bool nivell = usa_nivell_so(0) != 0, veu = usa_veu(0) != 0, web = usa_web_cam(0) != 0;
    const QStringList avisos_anteriors = std::exchange(avisos_moduls_, {});
    carregar_moduls(a);
    provar_joysticks(d, [](int id) { return joystick_provar(id); });
    const Absents absents = dispositius_absents(finestra, nivell || veu, web, usa_joystick(a) != 0);
    const QString absent = (std::exchange(avisos_moduls_, avisos_anteriors) + absents.textos).join(u'\n');
    if (nivell && absents.microfon) {
        avortar(text_idioma(57) + QLatin1Char('\n') + absent);
        return;
    }
    if (!absent.isEmpty()) missatge(this, absent, QMessageBox::NoIcon);

    if (nivell) {
        // Word recognition started from the menus (the patterns opened to
        // reach the level meter) gives way; an activity that needs both
        // cannot start.
        if (d.procOld_rec != 0 && !veu) veu_deixar_per_nivell();
        if (d.procOld_rec != 0) {
            avortar(text_idioma(57) + QLatin1Char('\n') + text_idioma(53));
            return;
        } else if (d.versio_motor_veu < 89) {
            const QString r = so_iniciar_captura();
            // Both "ok" and an empty result mean the capture runs.
            if (r == QStringLiteral("ok") || r.isEmpty()) {
                d.nivell_so_actiu = -2;
            } else {
                avortar(text_idioma(57) + QLatin1Char('\n') + r);
                return;
            }
        } else if (so_reprendre_captura() == 0) {
            // With the level's hook: the version may have been read by the
            // word recognition just left.
            d.nivell_so_actiu = -2;
        } else {
            avortar(text_idioma(57));
            return;
        }
    }

    if (veu) {
        // A level captured by an earlier run gives way; one this start
        // captures cannot share the engine.
        if (d.procOld_so != 0 && !so_deixar_per_veu()) {
            avortar(text_idioma(57) + QLatin1Char('\n') + text_idioma(54));
            return;
        }
        // The patterns of a unit that an earlier level run put aside answer
        // again, however they were opened; and a set the engine holds whole
        // answers though loading an activity since forgot it was ready.
        veu_reprendre_unitat();
        const bool preparats =
            d.motor_veu_preparat || (d.procOld_rec != 0 && plataforma::motor_veu().PatronsPreparats());
        if (!absents.microfon && (!a.carpeta_veu.isEmpty() || preparats)) {
            if (plataforma::motor_veu().IniciarReconeixement() == 0)
                d.veu_activa = -2;
            else
                missatge(this, QLatin1Char('\n') + text_idioma(57), QMessageBox::NoIcon);
        }
    }

    if (web && !absents.camera) {
        QString t;
        if (omvis_iniciar(d.wc_modus) == 0)
            t = text_idioma(72);
        else if (calibracio_calcular() == 0)
            t = text_idioma(73);
        if (!t.isEmpty())
            missatge(this, t, QMessageBox::NoIcon);
        else
            d.omvis_estat = -1;
    }

    if (!a.fitxer_imatge_fons.isEmpty()) {
        imatge_fons->setPixmap(imatge_de(a.fitxer_imatge_fons));
        imatge_fons->setScaledContents(true);
        imatge_fons->setGeometry(0, 0, centralWidget()->width(), centralWidget()->height());
        imatge_fons->lower();
        imatge_fons->show();
    } else {
        imatge_fons->clear();
    }

    const int zones = zona_darrera(a);
    I_zona->crear_fins(zones);
    ImatgesZones imatges([](const QString& f) { return plataforma::carregar_imatge(resoldre_fitxer(f)); });
    for (int z = 1; z <= zones; ++z) {
        const zona& zn = a.zones[z];
        if (!zona_dibuixada(zn)) continue;
        I_zona->col_locar(z, rectangle_zona(zn, 1));
        I_zona->posar_imatge(z, imatges(zn.imatge));
    }
    I_zona->show();
    I_zona->raise();

    if (!a.fitxer_so_fons.isEmpty()) {
        QString so = resoldre_fitxer(a.fitxer_so_fons);
        reproduir_media(so);
        // Kept apart so that no stimulus closes it; the stop does.
        so_fons_actiu = j.media_actual;
        j.media_actual.clear();
    }

    j.item_anterior = -1;

    if (a.temps_total != 0) {
        inici_total_monotonic = plataforma::rellotge().monotonic();
        posar_t_total(QLatin1Char(' ') +
                      single_text(static_cast<float>(plataforma::rellotge().segons_dia())));
    }

    if (d.omvis_estat == -1) {
        t_web->start();
        t_web_control->start();
        d.omvis_estat = -2;
    }
    t_joystick->start();
    T_so->start();
    dispositius_exercici_ = dispositius_presents();

    if (!a.consigna.isEmpty()) {
        item inicial;
        // -1, not 1: options tested for 1 do not see these.
        inicial.teclat[0] = -1;
        inicial.ratoli[0] = -1;
        inicial.ratoli[1] = -1;
        inicial.estimuls = QStringLiteral("1") + QChar(separador_ordres) + a.consigna;
        inicial.si_be = inicial.estimuls;
        inicial.retard_accio = 5.0f;
        inicial.retard_estimul = 5.0f;
        a.items[0] = inicial;
        j.index_actual = 0;
        estimul_presenta(j.index_actual);
        pregunta_activa = false;
        unsetCursor();
    }

    unsetCursor();
    // Stopped or replaced by another start while the instruction played.
    if (generacio != generacio_exercici || !exercici_en_marxa) return;
    if (es_maximitzada()) {
        focus();
        t_estimular->start();
        pregunta_seguent();
    }
}

void Form1::exercici_atura() {
    EstatJugador& j = jugador();
    EstatDispositius& d = dispositius();

    treure_primer_pla();
    t_estimular->stop();
    // A presentation or reaction waiting in place stops drawing and playing
    // its entry: the screen is no longer the run's.
    ++generacio_pregunta;

    // A second stop (Esc after the total time) keeps the times of the run.
    if (exercici_en_marxa) {
        dades_informe& inf = informe();
        inf.temps_final = rellotge_arrodonit();
        int32_t durada = inf.temps_final - inf.temps_inici;
        // The clock counts from midnight: a run across it would read negative.
        if (durada < 0) durada += 86400;
        inf.temps_exercici = durada;
    }
    exercici_en_marxa = false;
    pregunta_vista = false;

    Image1->hide();

    // The stimulus medium, then the background sound.
    if (!j.media_actual.isEmpty()) {
        QString buit;
        reproduir_media(buit);
    }
    if (!so_fons_actiu.isEmpty()) {
        j.media_actual = so_fons_actiu;
        so_fons_actiu.clear();
        QString buit;
        reproduir_media(buit);
    }

    anotar_dispositius_perduts();
    if (d.veu_activa == -2) plataforma::motor_veu().PararReconeixement();
    if (d.nivell_so_actiu == -2) so_finalitzar_captura();
    if (d.omvis_estat < 0) {
        t_web->stop();
        t_web_control->stop();
        web_cursor->hide();
        OVSFinalitza();
        d.omvis_estat = -1;
    }
    t_joystick->stop();
    T_so->stop();
    temps_pregunta[0] = 0;
    Image2->hide();
    Image2->setScaledContents(false);
    Label_par->hide();

    I_zona->buidar();

    plataforma::mostrar_cursor();
    atrapa_no();
}

void Form1::atura_per_esc() {
    exercici_atura();
    // With the planner open beside the player, the planner is no longer the
    // window shown.
    if (nombre_formularis() == 2) planificador().visible = false;

    Qt::WindowFlags f = windowFlags() & ~(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    if (f != windowFlags()) setWindowFlags(f);
    showNormal();
    const QRect pantalla = plataforma::rectangle_escriptori();
    move(pantalla.x() + pantalla.width() * 5 / 100, pantalla.y() + pantalla.height() * 5 / 100);
    resize(pantalla.width() * 90 / 100, pantalla.height() * 90 / 100);

    posar_fons(centralWidget(), Qt::black);
    menuBar()->show();
    mostrar_menus(true);
    setWindowTitle(QStringLiteral("LUMIRAGA - ") + activitat().fitxer_actual);
    imatge_fons->hide();
    update();
    QStringList perduts = std::exchange(avisos_moduls_, {});
    if (!dispositius_perduts_.isEmpty())
        perduts.prepend(tradueix(QStringLiteral("jugador|dispositius_perduts")) + QStringLiteral("\n\n") +
                        std::exchange(dispositius_perduts_, {}).join(QLatin1Char('\n')));
    if (!perduts.isEmpty()) missatge(this, perduts.join(QStringLiteral("\n\n")), QMessageBox::NoIcon);
}

Form1::DispositiusExercici Form1::dispositius_presents() const {
    const EstatDispositius& d = dispositius();
    DispositiusExercici p;
    p.camera = d.omvis_estat < 0 && plataforma::camera().oberta();
    p.microfon = (d.veu_activa == -2 || d.nivell_so_actiu == -2) && plataforma::microfon().obert();
    p.joystick = usa_joystick(activitat()) && joystick_llest(d);
    return p;
}

void Form1::anotar_dispositius_perduts() {
    const DispositiusExercici ara = dispositius_presents();
    auto anotar = [this](bool perdut, const char* clau) {
        const QString text = tradueix(QLatin1String(clau));
        if (perdut && !dispositius_perduts_.contains(text)) dispositius_perduts_ << text;
    };
    anotar(dispositius_exercici_.camera && !ara.camera, "OmbraVisor|sense_camera");
    anotar(dispositius_exercici_.microfon && !ara.microfon, "motor_veu|sense_microfon");
    anotar(dispositius_exercici_.joystick && !ara.joystick, "joystick|sense_joystick");
    dispositius_exercici_ = {};
}

void Form1::t_estimular_Timer() {
    Activitat& a = activitat();
    plataforma::Rellotge& r = plataforma::rellotge();

    if (a.temps_total != 0 && valor_inicial(t_total->text()) >= 0 &&
        r.monotonic() - inici_total_monotonic > a.temps_total) {
        posar_t_total(QStringLiteral("-1"));
        // The run has stopped (and maybe another begun): this tick is over.
        return;
    }

    if (!pregunta_activa || !exercici_en_marxa) {
        pregunta_vista = false;
        return;
    }
    // While this tick asks the next question, the nested ticks leave it be.
    if (preguntant_per_temps) return;

    const double mono = r.monotonic();
    if (!pregunta_vista || temps_pregunta[2] != inici_pregunta_vist) {
        // First sight of this presentation: carry its start over to the
        // monotonic clock, so that midnight does not stop its time-out.
        double des_de = r.segons_dia() - temps_pregunta[2];
        if (des_de < -43200) des_de += 86400;
        inici_pregunta_monotonic = mono - des_de;
        inici_pregunta_vist = temps_pregunta[2];
        pregunta_vista = true;
    }
    if (mono - inici_pregunta_monotonic < temps_pregunta[1]) return;

    pantalla_exercici();
    plataforma::posar_a_sobre(this, true);
    raise();
    activateWindow();
    focus();
    pregunta_vista = false;
    preguntant_per_temps = true;
    pregunta_seguent();
    preguntant_per_temps = false;
}

void Form1::t_total_Change() {
    if (valor_inicial(t_total->text()) >= 0) return;
    exercici_atura();

    const Activitat& a = activitat();
    QString carpeta;
    if (!a.fitxer_actual.isEmpty() && QFileInfo(a.fitxer_actual).isAbsolute())
        carpeta = QFileInfo(a.fitxer_actual).absolutePath();
    else if (!carpeta_activitat().isEmpty())
        carpeta = carpeta_activitat();
    else
        carpeta = QDir::currentPath();

    const float r = es_atzar(a.exercici_seguent) ? plataforma::atzar().seguent() : 0.0f;
    const QString f = fitxer_encadenat(a.exercici_seguent, a.fitxer_actual, carpeta, r);
    if (!f.isEmpty()) carregar_lrq(f);
}

QStringList Form1::fitxers_activitat(const QString& carpeta) {
    QStringList noms;
    const QStringList tots = QDir(carpeta).entryList(QDir::Files | QDir::Hidden);
    for (const QString& n : tots) {
        if (n.endsWith(QStringLiteral("lrq"), Qt::CaseInsensitive)) noms << n;
    }
    // One fixed order whatever the file system gives: by name, case aside.
    std::sort(noms.begin(), noms.end(), [](const QString& x, const QString& y) {
        const int c = x.compare(y, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : x < y;
    });
    return noms;
}

QString Form1::fitxer_encadenat(const QString& valor, const QString& fitxer_actual, const QString& carpeta,
                                float r) {
    if (valor.isEmpty()) return QString();
    if (!es_seguent(valor) && !es_atzar(valor)) return resoldre_fitxer(valor);

    const QStringList noms = fitxers_activitat(carpeta);
    const QString actual = QFileInfo(fitxer_actual).fileName();
    auto posicio_actual = [&]() -> qsizetype {
        // The exact name first, then any letter case.
        const qsizetype i = noms.indexOf(actual);
        if (i >= 0) return i;
        for (qsizetype k = 0; k < noms.size(); ++k)
            if (noms[k].compare(actual, Qt::CaseInsensitive) == 0) return k;
        return -1;
    };
    auto cami = [&](qsizetype i) {
        return i >= 0 && i < noms.size() ? QDir(carpeta).filePath(noms[i]) : QString();
    };

    if (es_seguent(valor)) {
        const qsizetype i = posicio_actual();
        return i < 0 ? QString() : cami(i + 1);
    }

    if (noms.isEmpty()) return QString();
    const int64_t sorteig = part_entera(r * 100.0f);
    const int64_t posicio = std::max<int64_t>(sorteig, 1);
    const qsizetype i = static_cast<qsizetype>((posicio - 1) % noms.size());
    if (noms[i].compare(actual, Qt::CaseInsensitive) == 0) return cami(i + 1);
    return cami(i);
}

void Form1::carregar_lrq(const QString& fitxer) {
    exercici_nou();
    carregar_exercici(fitxer);
    plataforma::mostrar_cursor();
    // The new run's log begins with this run's report and a new detail box.
    prefix_informe = prep_informe() + SALT_INFORME + caixa_detall_informe();
    prefix_informe_pendent = true;
    const dades_informe informe_abans = informe();
    const QString detall_abans = informe_detall();
    const unsigned generacio = generacio_exercici + 1;
    engegar_exercici();
    if (prefix_informe_pendent || arrencada_refusada == generacio) {
        // The start refused (no items, or a device): the report stays that
        // of the runs that played.
        prefix_informe_pendent = false;
        prefix_informe.clear();
        informe() = informe_abans;
        informe_detall() = detall_abans;
    }
}

} // namespace lumi
