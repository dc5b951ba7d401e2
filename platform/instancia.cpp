#include "platform/instancia.h"

#include "platform/carpetes.h"

#include <QFile>
#include <QSysInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumi::plataforma {

namespace {

// The open lock file, held with flock() for as long as the program runs: the
// kernel lets it go when the process ends, however it ends, so a crashed
// copy never keeps the next one out. No sync to disk either: a lock only
// lives as long as its holder (QLockFile's fdatasync cost milliseconds before
// the first window on a slow disk).
int g_fd = -1;
QByteArray g_cami;

bool mateix_fitxer(int fd, const QByteArray& cami) {
    struct stat a = {};
    struct stat b = {};
    return fstat(fd, &a) == 0 && lstat(cami.constData(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

} // namespace

void alliberar_instancia_unica() {
    if (g_fd < 0) return;
    // Removed while still held, so no one locks a name that is going away.
    ::unlink(g_cami.constData());
    ::close(g_fd);
    g_fd = -1;
}

bool reservar_instancia_unica() {
    if (g_fd >= 0) return true;
    g_cami = QFile::encodeName(carpeta_execucio() + QStringLiteral("/lumiraga.lock"));
    // A copy ending between our open and our lock removes the name: try again
    // on the new file.
    for (int intent = 0; intent < 3; ++intent) {
        // Never through a link somebody left in its place. A lock needs no
        // write access: a file we cannot write (a read-only folder, another
        // user's lock in a shared one) is locked as it is.
        int fd = ::open(g_cami.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0) fd = ::open(g_cami.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        struct stat st = {};
        if (fd >= 0 && (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
            ::close(fd);
            fd = -1;
        }
        // Only a live copy's lock keeps a start out: with no lock to take
        // the program starts, as on a file system that keeps no locks.
        if (fd < 0) return true;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            // A folder whose file system keeps no such locks (some network
            // shares) lets every copy start rather than none.
            if (errno != EWOULDBLOCK) {
                g_fd = fd;
                return true;
            }
            ::close(fd);
            return false;
        }
        if (!mateix_fitxer(fd, g_cami)) {
            ::close(fd);
            continue;
        }
        // What QLockFile writes, for whoever looks at the file.
        const QByteArray qui =
            QByteArray::number(::getpid()) + "\nlumiraga\n" + QSysInfo::machineHostName().toUtf8() + '\n';
        if (::ftruncate(fd, 0) == 0) {
            [[maybe_unused]] const ssize_t n = ::write(fd, qui.constData(), size_t(qui.size()));
        }
        g_fd = fd;
        return true;
    }
    return false;
}

} // namespace lumi::plataforma
