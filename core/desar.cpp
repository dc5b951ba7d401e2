#include "core/desar.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace lumi {

namespace {

// A file descriptor closed on every way out.
class Descriptor {
  public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& o) noexcept : fd_(std::exchange(o.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& o) noexcept {
        std::swap(fd_, o.fd_);
        return *this;
    }
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int fd() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

mode_t mode_de(QFileDevice::Permissions p) {
    mode_t m = 0;
    if (p & (QFileDevice::ReadOwner | QFileDevice::ReadUser)) m |= S_IRUSR;
    if (p & (QFileDevice::WriteOwner | QFileDevice::WriteUser)) m |= S_IWUSR;
    if (p & (QFileDevice::ExeOwner | QFileDevice::ExeUser)) m |= S_IXUSR;
    if (p & QFileDevice::ReadGroup) m |= S_IRGRP;
    if (p & QFileDevice::WriteGroup) m |= S_IWGRP;
    if (p & QFileDevice::ExeGroup) m |= S_IXGRP;
    if (p & QFileDevice::ReadOther) m |= S_IROTH;
    if (p & QFileDevice::WriteOther) m |= S_IWOTH;
    if (p & QFileDevice::ExeOther) m |= S_IXOTH;
    return m;
}

constexpr int LLARGADA_SUFIX = 6;

QByteArray nom_copia(const QByteArray& prefix) {
    static const char lletres[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray n = prefix;
    for (int i = 0; i < LLARGADA_SUFIX; ++i)
        n += lletres[QRandomGenerator::global()->bounded(62)];
    return n;
}

// A copy is locked by its writer from before it has its name until it is
// renamed or removed; the lock goes with the writer, however it ends. So an
// unlocked copy is a stray of a save that was killed.
void eliminar_copies(int carpeta, const QByteArray& prefix) {
    const int d = ::dup(carpeta);
    DIR* dir = d >= 0 ? ::fdopendir(d) : nullptr;
    if (!dir) {
        if (d >= 0) ::close(d);
        return;
    }
    std::vector<QByteArray> noms;
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray nom(e->d_name);
        if (nom.size() == prefix.size() + LLARGADA_SUFIX && nom.startsWith(prefix)) noms.push_back(nom);
    }
    ::closedir(dir);
    for (const QByteArray& nom : noms) {
        const Descriptor f(
            ::openat(carpeta, nom.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st {};
        if (!f.valid() || ::fstat(f.fd(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (::flock(f.fd(), LOCK_EX | LOCK_NB) == 0) ::unlinkat(carpeta, nom.constData(), 0);
    }
}

bool escriure_tot(int fd, const QByteArray& dades) {
    const char* p = dades.constData();
    qsizetype resta = dades.size();
    while (resta > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(resta));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        resta -= n;
    }
    return true;
}

// The data on disk with its final permissions, before the copy takes the
// file's name.
bool preparar(int fd, const QByteArray& dades, const struct stat* vell, mode_t afegits) {
    if (!escriure_tot(fd, dades)) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    const mode_t mode = (vell ? vell->st_mode & 07777 : st.st_mode & 07777) | afegits;
    if ((st.st_mode & 07777) != mode && ::fchmod(fd, mode) != 0) return false;
    return ::fsync(fd) == 0;
}

// A file with no name yet, where the file system has them: killed before it
// is named, it leaves nothing behind.
Descriptor copia_anonima(int carpeta) {
#ifdef O_TMPFILE
    return Descriptor(::openat(carpeta, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
#else
    (void)carpeta;
    return Descriptor();
#endif
}

// Locks the unnamed file, then gives it a copy's name. False when the system
// cannot name it (no /proc).
bool anomenar(int fd, int carpeta, const QByteArray& prefix, QByteArray& copia) {
    if (::flock(fd, LOCK_EX) != 0) return false;
    const QByteArray proc = "/proc/self/fd/" + QByteArray::number(fd);
    for (int intent = 0; intent < 100; ++intent) {
        copia = nom_copia(prefix);
        if (::linkat(AT_FDCWD, proc.constData(), carpeta, copia.constData(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST) break;
    }
    copia.clear();
    return false;
}

// A new named copy, locked. A cleaner may remove it between its creation and
// the lock: it is then made again under another name.
Descriptor copia_amb_nom(int carpeta, const QByteArray& prefix, QByteArray& copia) {
    for (int intent = 0; intent < 100; ++intent) {
        copia = nom_copia(prefix);
        Descriptor f(::openat(carpeta, copia.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666));
        if (!f.valid()) {
            if (errno == EEXIST) continue;
            break;
        }
        struct stat obert {
        }, anomenat{};
        if (::flock(f.fd(), LOCK_EX) != 0) break;
        if (::fstatat(carpeta, copia.constData(), &anomenat, AT_SYMLINK_NOFOLLOW) == 0 &&
            ::fstat(f.fd(), &obert) == 0 && obert.st_ino == anomenat.st_ino &&
            obert.st_dev == anomenat.st_dev)
            return f;
    }
    copia.clear();
    return Descriptor();
}

} // namespace

QString prefix_copia_desant(const QString& nom_fitxer, long llargada_maxima) {
    const QString prefix = u'.' + nom_fitxer + QStringLiteral(".desant-");
    if (QFile::encodeName(prefix).size() + LLARGADA_SUFIX <= llargada_maxima) return prefix;
    // A name near the file system's limit: the copy takes a short name drawn
    // from it, still one of its own.
    const QByteArray resum =
        QCryptographicHash::hash(QFile::encodeName(nom_fitxer), QCryptographicHash::Sha1);
    return u'.' + QString::fromLatin1(resum.toHex().left(16)) + QStringLiteral(".desant-");
}

namespace {

// Where a save of `cami` goes: the file its links name. For a file of the
// program's own, only links of the user are followed, and the file must be
// theirs: empty when it is not (`alie` says so).
QString desti_de(const QString& cami, bool propi, bool* alie) {
    const QFileInfo info(cami);
    if (!propi) {
        if (!info.isSymLink()) return info.absoluteFilePath();
        const QString c = info.canonicalFilePath();
        return c.isEmpty() ? info.symLinkTarget() : c;
    }
    QString desti = info.absoluteFilePath();
    for (int enllacos = 0; enllacos < 40; ++enllacos) {
        struct stat st {};
        if (::lstat(QFile::encodeName(desti).constData(), &st) != 0) return desti;
        if (st.st_uid != ::geteuid()) {
            if (alie) *alie = true;
            return {};
        }
        if (!S_ISLNK(st.st_mode)) return desti;
        desti = QFileInfo(desti).symLinkTarget();
    }
    return {};
}

bool desar(const QString& cami, const QByteArray& dades, QFileDevice::Permissions afegits, bool propi) {
    // A link is followed: the file it names is replaced, the link stays.
    const QString desti = desti_de(cami, propi, nullptr);
    if (desti.isEmpty()) return false;
    const QFileInfo fi(desti);
    const QByteArray nom = QFile::encodeName(fi.fileName());
    if (nom.isEmpty()) return false;
    const Descriptor carpeta(
        ::open(QFile::encodeName(fi.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!carpeta.valid()) return false;

    struct stat vell {};
    // Checked again on the file itself: a link put there meanwhile is no
    // regular file, and is refused.
    const bool existeix =
        ::fstatat(carpeta.fd(), nom.constData(), &vell, propi ? AT_SYMLINK_NOFOLLOW : 0) == 0;
    if (existeix && (!S_ISREG(vell.st_mode) || ::faccessat(carpeta.fd(), nom.constData(), W_OK, 0) != 0 ||
                     (propi && vell.st_uid != ::geteuid())))
        return false;
    const long maxim = ::fpathconf(carpeta.fd(), _PC_NAME_MAX);
    const QByteArray prefix =
        QFile::encodeName(prefix_copia_desant(fi.fileName(), maxim > 0 ? maxim : NAME_MAX));
    eliminar_copies(carpeta.fd(), prefix);

    const mode_t mes = mode_de(afegits);
    QByteArray copia;
    Descriptor f = copia_anonima(carpeta.fd());
    if (f.valid()) {
        if (!preparar(f.fd(), dades, existeix ? &vell : nullptr, mes)) return false;
        if (!anomenar(f.fd(), carpeta.fd(), prefix, copia)) f = Descriptor();
    }
    if (!f.valid()) {
        f = copia_amb_nom(carpeta.fd(), prefix, copia);
        if (!f.valid()) return false;
        if (!preparar(f.fd(), dades, existeix ? &vell : nullptr, mes)) {
            ::unlinkat(carpeta.fd(), copia.constData(), 0);
            return false;
        }
    }
    if (::renameat(carpeta.fd(), copia.constData(), carpeta.fd(), nom.constData()) != 0) {
        ::unlinkat(carpeta.fd(), copia.constData(), 0);
        return false;
    }
    // The new name is on disk too, so a power cut cannot bring the old file
    // back. Some file systems cannot sync a folder: the file is saved anyway.
    ::fsync(carpeta.fd());
    return true;
}

} // namespace

bool desar_fitxer(const QString& cami, const QByteArray& dades, QFileDevice::Permissions afegits) {
    return desar(cami, dades, afegits, false);
}

bool fitxer_alie(const QString& cami) {
    bool alie = false;
    desti_de(cami, true, &alie);
    return alie;
}

Desament desar_fitxer_propi(const QString& cami, const QByteArray& dades, QFileDevice::Permissions afegits) {
    if (desar(cami, dades, afegits, true)) return Desament::desat;
    return fitxer_alie(cami) ? Desament::alie : Desament::error;
}

} // namespace lumi
