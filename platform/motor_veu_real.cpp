#include "platform/motor_veu_real.h"

#include "core/idioma.h"
#include "platform/carpetes.h"
#include "platform/finestres.h"
#include "platform/finestres_veu.h"
#include "platform/ini.h"
#include "platform/microfon.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSaveFile>
#include <QScopeGuard>
#include <QScreen>
#include <SDL.h>
#include <algorithm>
#include <system_error>

namespace lumi::plataforma {

namespace {

const QString SECCIO = QStringLiteral("VEU");
const QString EXTENSIO = QStringLiteral("SonsVxdSR02");
// Why an open was refused that are not the file's.
const QStringList MOTIUS_DE_LOBERTURA = {QStringLiteral("motiu_obrint"), QStringLiteral("motiu_fil"),
                                         QStringLiteral("motiu_fallada"), QStringLiteral("motiu_canviat"),
                                         QStringLiteral("motiu_escolta")};

// The entries of a list as the wrapper splits it: at most 31 commas cut, the
// last entry keeps the rest.
QStringList partir(const QString& llista) {
    QStringList l;
    QString resta = llista;
    for (int i = 0; i < 31; ++i) {
        const qsizetype p = resta.indexOf(u',');
        if (p < 0) break;
        l << resta.left(p);
        resta = resta.mid(p + 1);
    }
    l << resta;
    return l;
}

// Message 13 ("desc|*.x|desc|*.*") as a file dialog's filter.
QString filtre() {
    const QStringList p = text_idioma(13).split(u'|');
    QStringList f;
    for (qsizetype i = 0; i + 1 < p.size(); i += 2)
        f << QStringLiteral("%1 (%2)").arg(p[i], p[i + 1]);
    return f.join(QStringLiteral(";;"));
}

// Opened over the player's middle, under its menu bar, where the screen
// allows: the menus stay in reach. The window manager frames it as it framed
// the player, title bar included, and that frame goes under the menus too.
void situar_sota_menus(QWidget* f, const QWidget* jugador) {
    const auto* barra = jugador ? jugador->findChild<QMenuBar*>() : nullptr;
    if (!barra || !barra->isVisible()) return;
    const QRect dins = jugador->geometry(), fora = jugador->frameGeometry();
    const QMargins marc(dins.left() - fora.left(), dins.top() - fora.top(), fora.right() - dins.right(),
                        fora.bottom() - dins.bottom());
    const QSize mida = f->size().grownBy(marc);
    QRect r(QPoint(fora.center().x() - mida.width() / 2, barra->mapToGlobal(QPoint(0, barra->height())).y()),
            mida);
    if (const QScreen* pantalla = jugador->screen()) {
        const QRect d = pantalla->availableGeometry();
        r.moveLeft(std::clamp(r.left(), d.left(), std::max(d.left(), d.right() - r.width())));
        r.moveTop(std::max(d.top(), std::min(r.top(), d.bottom() - r.height())));
    }
    // The inside's place: a position given before the frame is known would
    // be taken for the inside's anyway.
    f->setGeometry(QRect(r.topLeft() + QPoint(marc.left(), marc.top()), f->size()));
}

} // namespace

AjustosVeu AjustosVeu::llegir() {
    const QString ini = fitxer_ini_programa();
    AjustosVeu a;
    a.dispositiu = ini_llegir(ini, SECCIO, QStringLiteral("dispositiu"));
    bool ok = false;
    const double g = ini_llegir(ini, SECCIO, QStringLiteral("guany")).toDouble(&ok);
    if (ok && g > 0 && g <= 20) a.guany = g;
    const double l = ini_llegir(ini, SECCIO, QStringLiteral("llindar")).toDouble(&ok);
    if (ok && l > 0) a.llindar = l;
    const int p = ini_llegir(ini, SECCIO, QStringLiteral("preses")).toInt(&ok);
    if (ok && p >= 1 && p <= 10) a.preses = p;
    return a;
}

void AjustosVeu::desar() const {
    ini_escriure(fitxer_ini_programa(), SECCIO,
                 {{QStringLiteral("dispositiu"), dispositiu},
                  {QStringLiteral("guany"), QString::number(guany)},
                  {QStringLiteral("llindar"), QString::number(llindar)},
                  {QStringLiteral("preses"), QString::number(preses)}});
}

std::unique_ptr<MotorVeuReal> MotorVeuReal::crear() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
    auto m = std::make_unique<MotorVeuReal>();
    SDL_QuitSubSystem(SDL_INIT_AUDIO); // the engine's own start is counted in its constructor
    return m;
}

MotorVeuReal::MotorVeuReal() {
    SDL_InitSubSystem(SDL_INIT_AUDIO);
    ajustos_ = AjustosVeu::llegir();
    triar_dispositiu_captura(ajustos_.dispositiu);
    nucli_.guany = nivells_.guany = ajustos_.guany;
    nucli_.nivells = false; // the capture path measures them, sooner
    nucli_.llindar = ajustos_.llindar;
    qRegisterMetaType<veu::Esdeveniment>("lumi::plataforma::veu::Esdeveniment");
    bomba_.setTimerType(Qt::PreciseTimer);
    connect(&bomba_, &QTimer::timeout, this, [this] { bombar(); });
    fil_ = std::thread([this] { treballar(); });
}

MotorVeuReal::~MotorVeuReal() {
    // First the microphone that has our receiver, whichever microfon() is
    // now: once detached its capture thread no longer calls into this engine.
    deixar_microfon();
    {
        std::lock_guard l(cua_mutex_);
        sortir_ = true;
    }
    cua_cv_.notify_all();
    fil_.join();
    delete entrenament_.data();
    delete patrons_.data();
    delete nivell_.data();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void MotorVeuReal::posar_nucli(const std::function<void(veu::NucliVeu&)>& f) {
    std::lock_guard l(nucli_mutex_);
    f(nucli_);
}

int16_t MotorVeuReal::IniciarUnitReconeixementDeSonsSenseQuadreInicial(int32_t finestra, int16_t,
                                                                       QString& paraules) {
    finestra_unitat_ = finestra;
    unitat_ = true;
    preparat_enviat_ = false;
    const QStringList etiquetes = partir(paraules);
    darrera_ = {-1, -1};
    posar_nucli([&](veu::NucliVeu& n) {
        // Entries already trained under the same label keep their takes; an
        // empty name (the list's closing comma) holds a place and no takes.
        veu::Patrons nous;
        nous.posar_etiquetes(etiquetes);
        for (size_t i = 0; i < nous.entrades.size(); ++i)
            for (const auto& v : n.patrons.entrades)
                if (!nous.entrada_buida(i) && v.etiqueta == nous.entrades[i].etiqueta) nous.entrades[i] = v;
        // Judged again, the same takes could come out otherwise than the
        // teacher last saw them.
        nous.conservar(n.patrons);
        n.patrons = std::move(nous);
    });
    emit patrons_canviats();
    return 0;
}

int16_t MotorVeuReal::AssignarNumeroDeDecimesDeSegonDereconeixement(int16_t decimes) {
    posar_nucli([decimes](veu::NucliVeu& n) { n.posar_decimes(decimes); });
    return 0;
}

int16_t MotorVeuReal::IniciarReconeixement() {
    if (!unitat_ || !obrir_microfon()) return -1;
    // A run that starts listening during an open (a chained activity) keeps
    // the sounds it started with: the open gives way.
    escolta_durant_obertura_ = obrint_;
    reconeixent_ = true;
    posar_nucli([](veu::NucliVeu& n) { n.reconeixent = true; });
    return 0;
}

void MotorVeuReal::PararReconeixement() {
    reconeixent_ = false;
    posar_nucli([](veu::NucliVeu& n) { n.reconeixent = false; });
    tancar_microfon_si_cal();
}

int16_t MotorVeuReal::IniciarCapturaNivellDeSo(int32_t finestra) {
    if (!obrir_microfon()) return 1;
    finestra_nivell_ = finestra;
    capturant_ = true;
    return 0;
}

void MotorVeuReal::FinalitzarCapturaNivellDeSo() {
    capturant_ = false;
    tancar_microfon_si_cal();
}

QString MotorVeuReal::SonsQueSeReconeixen() {
    std::lock_guard l(nucli_mutex_);
    return nucli_.patrons.etiquetes().join(u',');
}

bool MotorVeuReal::PatronsPreparats() {
    if (!unitat_) return false;
    std::lock_guard l(nucli_mutex_);
    return nucli_.patrons.complets(ajustos_.preses);
}

veu::Patrons MotorVeuReal::patrons() const {
    std::lock_guard l(nucli_mutex_);
    return nucli_.patrons;
}

bool MotorVeuReal::obrir_patrons(const QString& fitxer, QString* per_que) {
    const auto no = [per_que](const char* motiu) {
        if (per_que) *per_que = QString::fromLatin1(motiu);
        return false;
    };
    // The wait below yields: one open at a time, and a second one is told why.
    if (obrint_) return no("motiu_obrint");
    obrint_ = true;
    const auto alliberar = qScopeGuard([this] { obrint_ = false; });
    // Read and matched take against take on other threads; the interface
    // thread waits in its event loop, with progress once it lasts, and the
    // patterns in use stay until the new set is whole.
    veu::Feina feina;
    std::optional<veu::Patrons> p;
    QString motiu;
    std::atomic<bool> fet{false}, fallat{false};
    std::thread fil;
    try {
        fil = std::thread([&] {
            // Out of memory or threads midway: a failed open, not the program's end.
            try {
                p = veu::Patrons::llegir(fitxer, &motiu, &feina);
            } catch (...) {
                p.reset();
                fallat = true;
            }
            fet = true;
        });
    } catch (const std::system_error&) {
        return no("motiu_fil");
    }
    QProgressDialog progres(text_motor("obrint"), tradueix(QStringLiteral("Cancelar")), 0, 1000,
                            finestra_pare());
    progres.setWindowTitle(text_motor("obrir"));
    progres.setWindowModality(Qt::ApplicationModal);
    progres.setMinimumDuration(250);
    progres.setAutoReset(false);
    QEventLoop bucle;
    QTimer tic;
    bool despert = false;
    QObject::connect(&tic, &QTimer::timeout, &bucle, [&] {
        despert = true;
        bucle.quit();
    });
    tic.start(20);
    // Cancel, the close button (both "canceled") or Esc ("rejected") stop it,
    // however soon after the window shows they come.
    bool aturat = false;
    const auto atura = [&aturat] { aturat = true; };
    const QMetaObject::Connection c1 = QObject::connect(&progres, &QProgressDialog::canceled, atura);
    const QMetaObject::Connection c2 = QObject::connect(&progres, &QDialog::rejected, atura);
    // Patterns changed meanwhile (a word list set, a take recorded) are newer
    // than the file's: the open gives way to them.
    bool canviats = false;
    const QMetaObject::Connection c3 = QObject::connect(this, &MotorVeuReal::patrons_canviats, [&] {
        canviats = true;
        feina.aturar = true;
    });
    escolta_durant_obertura_ = false;
    while (!fet) {
        // Cancelled, closed or put away with Esc: stopped.
        if (aturat || escolta_durant_obertura_) feina.aturar = true;
        const size_t totals = feina.totals;
        if (totals > 0 && !feina.aturar)
            progres.setValue(static_cast<int>(1000 * std::min(feina.fetes.load(), totals) / totals));
        // Until the progress shows, what the user does waits for it.
        despert = false;
        bucle.exec(progres.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        // Ended by no tick of ours: the program is quitting, and every loop
        // now returns at once.
        if (!despert) {
            feina.aturar = true;
            break;
        }
    }
    fil.join();
    // A stop that came as the work ended still keeps the patterns in use.
    if (aturat) feina.aturar = true;
    // Closing it says "canceled" too: no stop of the user's.
    QObject::disconnect(c1);
    QObject::disconnect(c2);
    QObject::disconnect(c3);
    progres.close();
    if (canviats) return no("motiu_canviat");
    if (escolta_durant_obertura_) return no("motiu_escolta");
    if (fallat) return no("motiu_fallada");
    if (feina.aturar) p.reset();
    if (!p) {
        if (per_que) *per_que = feina.aturar ? QString() : motiu;
        return false;
    }
    darrera_ = {-1, -1};
    posar_nucli([&](veu::NucliVeu& n) { n.patrons = std::move(*p); });
    emit patrons_canviats();
    return true;
}

bool MotorVeuReal::desar_patrons(const QString& fitxer, QString* per_que) const {
    if (patrons().desar(fitxer)) return true;
    if (per_que) {
        // The set's writer tells only that it failed: the same file opened
        // again tells what the system refused; opened, it was the writing.
        QSaveFile f(fitxer);
        *per_que = f.open(QIODevice::WriteOnly) ? text_motor("motiu_escriptura") : f.errorString();
        f.cancelWriting();
    }
    return false;
}

void MotorVeuReal::avisar_no_obert(const QString& fitxer, const QString& per_que) const {
    QMessageBox::warning(finestra_pare(), text_motor("obrir"),
                         text_motor("no_obert") + QStringLiteral("\n") + fitxer + QStringLiteral("\n") +
                             text_motor(per_que.toLatin1().constData()));
}

int32_t MotorVeuReal::ObrirFitxerReconeixementDeParaulesDeLaCarpeta(const QString& cami) {
    QString fitxer = cami;
    if (QFileInfo(cami).isDir()) {
        const QStringList l = QDir(cami).entryList({QStringLiteral("*.") + EXTENSIO}, QDir::Files,
                                                   QDir::Name | QDir::IgnoreCase);
        if (l.isEmpty()) return 0;
        fitxer = QDir(cami).filePath(l.first());
    }
    QString per_que;
    if (obrir_patrons(fitxer, &per_que)) return 1;
    // The file's own faults stay quiet here, as the loader goes on without
    // its patterns; a refusal of the open itself is told.
    if (MOTIUS_DE_LOBERTURA.contains(per_que)) avisar_no_obert(fitxer, per_que);
    return 0;
}

QWidget* MotorVeuReal::finestra_pare() const {
    // Opened from a modal dialog, a window of its own would take no input.
    return QApplication::activeModalWidget();
}

int32_t MotorVeuReal::ObrirFitxer() {
    const QString f = QFileDialog::getOpenFileName(finestra_pare(), text_motor("obrir"), QString(), filtre());
    if (f.isEmpty()) return 0;
    QString per_que;
    if (!obrir_patrons(f, &per_que)) {
        // Stopped by the user: nothing to say.
        if (per_que.isEmpty()) return 0;
        avisar_no_obert(f, per_que);
        return 0;
    }
    return 1;
}

void MotorVeuReal::GuardarFitxerReconeixementDeParaules() {
    QString f = QFileDialog::getSaveFileName(finestra_pare(), text_motor("desar"), QString(), filtre());
    if (f.isEmpty()) return;
    if (QFileInfo(f).suffix().isEmpty()) f += u'.' + EXTENSIO;
    QString per_que;
    if (!desar_patrons(f, &per_que))
        QMessageBox::warning(finestra_pare(), text_motor("desar"),
                             text_motor("no_desat") + QStringLiteral("\n") + f + QStringLiteral("\n") +
                                 per_que);
}

void MotorVeuReal::IniciarEntrenament() {
    if (!entrenament_) {
        entrenament_ = crear_finestra_entrenament(*this, finestra_pare());
        situar_sota_menus(entrenament_, finestra_per_handle(finestra_unitat_));
    }
    preparat_enviat_ = false;
    // A set already complete is ready now: no take to come would say it.
    enviar_preparat_si_cal();
    entrenament_->show();
    entrenament_->raise();
    entrenament_->activateWindow();
}

void MotorVeuReal::VeureFinestraGrafiques() {
    if (!patrons_) {
        patrons_ = crear_finestra_patrons(*this, finestra_pare());
        situar_sota_menus(patrons_, finestra_per_handle(finestra_unitat_));
    }
    patrons_->show();
    patrons_->raise();
    patrons_->activateWindow();
}

void MotorVeuReal::VeureNivellDeSo() {
    if (!nivell_) nivell_ = crear_finestra_nivell(*this, finestra_pare());
    nivell_->show();
    nivell_->raise();
    nivell_->activateWindow();
}

void MotorVeuReal::posar_ajustos(const AjustosVeu& a) {
    const bool altre = a.dispositiu != ajustos_.dispositiu;
    ajustos_ = a;
    ajustos_.desar();
    posar_nucli([&](veu::NucliVeu& n) {
        n.guany = a.guany;
        n.llindar = a.llindar;
    });
    {
        std::lock_guard l(nivells_mutex_);
        nivells_.guany = a.guany;
    }
    triar_dispositiu_captura(a.dispositiu);
    if (altre && microfon_) {
        deixar_microfon();
        obrir_microfon();
    }
}

void MotorVeuReal::enregistrar_presa(int entrada, bool nomes_una) {
    if (entrada >= 0 && patrons().entrada_buida(static_cast<size_t>(entrada))) entrada = -1;
    enregistrant_ = entrada;
    nomes_una_ = nomes_una;
    if (entrada >= 0 && !obrir_microfon()) enregistrant_ = -1;
    const bool si = enregistrant_ >= 0;
    posar_nucli([si](veu::NucliVeu& n) { n.enregistrant = si; });
    if (!si) tancar_microfon_si_cal();
}

int MotorVeuReal::entrada_pendent(int des_de) const {
    return patrons().pendent(des_de, ajustos_.preses);
}

bool MotorVeuReal::darrera_apartada() const {
    return darrera_.first >= 0 && patrons().presa_apartada(static_cast<size_t>(darrera_.first),
                                                           static_cast<size_t>(darrera_.second));
}

void MotorVeuReal::esborrar_presa(int entrada, int presa) {
    darrera_ = {-1, -1};
    posar_nucli([&](veu::NucliVeu& n) {
        n.patrons.esborrar_presa(static_cast<size_t>(entrada), static_cast<size_t>(presa));
    });
    emit patrons_canviats();
}

void MotorVeuReal::provar(bool si) {
    provant_ = si && obrir_microfon();
    posar_nucli([this](veu::NucliVeu& n) { n.provant = provant_; });
    if (!provant_) tancar_microfon_si_cal();
}

bool MotorVeuReal::vigilar_nivell(bool si) {
    if (si) {
        if (!obrir_microfon()) return false;
        ++vigilants_;
    } else if (vigilants_ > 0) {
        --vigilants_;
        tancar_microfon_si_cal();
    }
    return true;
}

bool MotorVeuReal::obrir_microfon() {
    Microfon& m = microfon();
    if (microfon_ == &m && m.obert()) return true;
    deixar_microfon();
    if (!m.obrir()) return false;
    microfon_ = &m;
    const int r = m.mostres_per_segon();
    pas_remostreig_ = static_cast<double>(r) / veu::MOSTRES_PER_SEGON;
    fase_ = 1;
    anterior_ = 0;
    posar_nucli([](veu::NucliVeu& n) { n.reiniciar(); });
    {
        std::lock_guard l(nivells_mutex_);
        nivells_.reiniciar();
    }
    empeny_ = m.lliurar_a([this](const int16_t* v, size_t n) { entrar(v, n); });
    m.llegir(); // what was heard before belongs to nobody
    // Polled, often enough that a level waits at most a few ms for its last
    // buffer; handing over, only to notice that it went away.
    bomba_.start(empeny_ ? 100 : 4);
    return true;
}

void MotorVeuReal::tancar_microfon_si_cal() {
    if (capturant_ || reconeixent_ || enregistrant_ >= 0 || provant_ || vigilants_ > 0) return;
    bomba_.stop();
    deixar_microfon();
}

void MotorVeuReal::deixar_microfon() {
    if (!microfon_) return;
    microfon_->lliurar_a(nullptr);
    microfon_->tancar();
    microfon_ = nullptr;
}

void MotorVeuReal::bombar() {
    if (!microfon_) return;
    if (!microfon_->obert()) {
        // Unplugged: levels and words stop; the next start fails and says so.
        bomba_.stop();
        deixar_microfon();
        return;
    }
    if (empeny_) return;
    const std::vector<int16_t> v = microfon_->llegir();
    entrar(v.data(), v.size());
}

void MotorVeuReal::entrar(const int16_t* v, size_t mida) {
    if (mida == 0) return;
    if (pas_remostreig_ == 1) {
        alimentar(v, mida);
        return;
    }
    // Linear interpolation to 16 kHz; `fase_` is the next output's place
    // counted from the sample before this block.
    std::vector<int16_t> out;
    double p = fase_;
    const double n = static_cast<double>(mida);
    while (p < n) {
        const size_t i = static_cast<size_t>(p);
        const double a = i == 0 ? anterior_ : v[i - 1], b = v[i], f = p - static_cast<double>(i);
        out.push_back(static_cast<int16_t>(a + (b - a) * f));
        p += pas_remostreig_;
    }
    fase_ = p - n;
    anterior_ = v[mida - 1];
    alimentar(out.data(), out.size());
}

void MotorVeuReal::alimentar(const int16_t* m, size_t n) {
    std::vector<veu::Esdeveniment> nivells;
    {
        std::lock_guard l(nivells_mutex_);
        nivells = nivells_.alimentar(m, n);
    }
    if (!nivells.empty())
        QMetaObject::invokeMethod(
            this, [this, nivells] { lliurar(nivells); }, Qt::QueuedConnection);
    {
        std::lock_guard l(cua_mutex_);
        cua_.emplace_back(m, m + n);
    }
    cua_cv_.notify_one();
}

void MotorVeuReal::esperar_feina() {
    std::unique_lock l(cua_mutex_);
    feta_cv_.wait(l, [this] { return cua_.empty() && !ocupat_; });
}

void MotorVeuReal::treballar() {
    std::unique_lock l(cua_mutex_);
    for (;;) {
        cua_cv_.wait(l, [this] { return sortir_ || !cua_.empty(); });
        if (sortir_) return;
        std::vector<int16_t> bloc = std::move(cua_.front());
        cua_.pop_front();
        ocupat_ = true;
        l.unlock();
        std::vector<veu::Esdeveniment> fets;
        {
            std::lock_guard n(nucli_mutex_);
            fets = nucli_.alimentar(bloc.data(), bloc.size());
        }
        if (!fets.empty())
            QMetaObject::invokeMethod(
                this, [this, fets] { lliurar(fets); }, Qt::QueuedConnection);
        l.lock();
        ocupat_ = false;
        feta_cv_.notify_all();
    }
}

void MotorVeuReal::lliurar(const std::vector<veu::Esdeveniment>& v) {
    for (const veu::Esdeveniment& e : v) {
        switch (e.tipus) {
        case veu::Esdeveniment::Nivell:
            if (capturant_) enviar_missatge_motor(finestra_nivell_, 0, e.valor);
            break;
        case veu::Esdeveniment::Paraula:
            if (reconeixent_ && e.valor > 0) enviar_missatge_motor(finestra_unitat_, e.valor, 0);
            break;
        case veu::Esdeveniment::Presa:
            if (enregistrant_ >= 0) {
                const int entrada = enregistrant_;
                posar_nucli([&](veu::NucliVeu& n) {
                    n.patrons.afegir_presa(static_cast<size_t>(entrada), e.presa);
                    darrera_ = {
                        entrada,
                        static_cast<int>(n.patrons.entrades[static_cast<size_t>(entrada)].preses.size()) - 1};
                    // The same entry until it has its valid takes (a take set
                    // aside is said again), then the next, or done.
                    enregistrant_ = nomes_una_ ? -1 : n.patrons.pendent(entrada, ajustos_.preses);
                    n.enregistrant = enregistrant_ >= 0;
                });
                emit patrons_canviats();
                enviar_preparat_si_cal();
                if (enregistrant_ < 0) tancar_microfon_si_cal();
            }
            break;
        }
        emit esdeveniment(e);
    }
}

void MotorVeuReal::enviar_preparat_si_cal() {
    if (preparat_enviat_ || !unitat_) return;
    if (!patrons().complets(ajustos_.preses)) return;
    preparat_enviat_ = true;
    enviar_missatge_motor(finestra_unitat_, -1, 0);
}

void MotorVeuReal::escoltar(const veu::Mostres& m) {
    static SDL_AudioDeviceID sortida = 0;
    if (sortida == 0) {
        SDL_AudioSpec vull{};
        vull.freq = veu::MOSTRES_PER_SEGON;
        vull.format = AUDIO_S16SYS;
        vull.channels = 1;
        vull.samples = 1024;
        sortida = SDL_OpenAudioDevice(nullptr, 0, &vull, nullptr, 0);
        if (sortida == 0) return;
    }
    SDL_ClearQueuedAudio(sortida);
    SDL_QueueAudio(sortida, m.data(), static_cast<Uint32>(m.size() * 2));
    SDL_PauseAudioDevice(sortida, 0);
}

} // namespace lumi::plataforma
