// Activity files come from anywhere (mail, USB sticks, other programs): the
// reader must take any bytes without crashing, hanging or allocating wildly.
#include "core/activitat.h"
#include "core/fitxer_lrq.h"
#include "core/idioma.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const lumi::Activitat base = [] {
        lumi::Activitat a;
        a.nombre_items = 1;
        a.items.assign(2, lumi::item{});
        a.zones.assign(1, lumi::zona{0, 0, 1280, 960, QString()});
        return a;
    }();
    lumi::OpcionsLectura o;
    // The first byte picks the interface language, so keyword and key-name
    // translation run in all three.
    const char* llengues[] = {"catala", "español", "galego"};
    o.llengua = QString::fromUtf8(llengues[size > 0 ? data[0] % 3 : 0]);
    o.carpeta = QStringLiteral("/act");
    o.escriptori = QRect(0, 0, 1280, 960);
    const QByteArray dades =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    lumi::ResultatLectura r = lumi::llegir_activitat(dades, QStringLiteral("/act/f.lrq"), base, o);
    // What was read must be writable again.
    if (r.missatge == 0) {
        const QByteArray escrit = lumi::escriure_activitat(r.activitat, o.llengua, o.carpeta);
        if (escrit.isEmpty()) __builtin_trap();
    }
    return 0;
}
