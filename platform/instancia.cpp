#include "platform/instancia.h"

#include "platform/carpetes.h"

#include <QFile>
#include <QSocketNotifier>
#include <QSysInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

// The socket a refused copy knocks on, beside the lock; none where its path
// does not fit an address.
bool adreca(sockaddr_un& a) {
    const QByteArray cami = QFile::encodeName(carpeta_execucio() + QStringLiteral("/lumiraga.sock"));
    a = {};
    a.sun_family = AF_UNIX;
    if (size_t(cami.size()) >= sizeof a.sun_path) return false;
    std::memcpy(a.sun_path, cami.constData(), size_t(cami.size()));
    return true;
}
QSocketNotifier* g_escolta = nullptr;
QByteArray g_cami_socket;

bool mateix_fitxer(int fd, const QByteArray& cami) {
    struct stat a = {};
    struct stat b = {};
    return fstat(fd, &a) == 0 && lstat(cami.constData(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

} // namespace

void alliberar_instancia_unica() {
    if (g_escolta) {
        const int fd = int(g_escolta->socket());
        delete g_escolta;
        g_escolta = nullptr;
        ::close(fd);
        ::unlink(g_cami_socket.constData());
    }
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

void escoltar_copies_refusades(std::function<void()> avisar) {
    sockaddr_un a;
    if (g_fd < 0 || g_escolta || !adreca(a)) return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    // What an earlier holder left is ours to replace: we hold the lock. Only
    // this user's copies may knock, in a folder others share.
    ::unlink(a.sun_path);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || ::chmod(a.sun_path, 0600) != 0 ||
        ::listen(fd, 4) != 0) {
        ::close(fd);
        return;
    }
    g_cami_socket = a.sun_path;
    g_escolta = new QSocketNotifier(fd, QSocketNotifier::Read);
    QObject::connect(g_escolta, &QSocketNotifier::activated, g_escolta, [fd, avisar = std::move(avisar)] {
        const int c = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0) return;
        // The answer tells the refused copy that it is said here.
        const bool respost = ::send(c, "1", 1, MSG_NOSIGNAL) == 1;
        ::close(c);
        if (respost && avisar) avisar();
    });
}

bool avisar_copia_en_marxa() {
    sockaddr_un a;
    if (!adreca(a)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    // A copy that does not answer soon is not waited for.
    pollfd p{fd, POLLIN, 0};
    char r = 0;
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0 &&
                    ::poll(&p, 1, 2000) == 1 && ::recv(fd, &r, 1, 0) == 1 && r == '1';
    ::close(fd);
    return ok;
}

} // namespace lumi::plataforma
