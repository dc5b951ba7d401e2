// The exercise report: the summary text and its hand-off to the teacher.
#include "player/Form1.h"
#include "player/finestra_informe.h"
#include "core/informe.h"

#include <QClipboard>
#include <QGuiApplication>

namespace lumi {

QString Form1::prep_informe() {
    return text_resum_informe(informe(), informe_detall());
}

FinestraInforme* Form1::finestra_informe() {
    if (!finestra_informe_) finestra_informe_ = new FinestraInforme(this);
    return finestra_informe_;
}

void Form1::mn_informe_Click() {
    const QString text = text_informe(informe(), informe_detall());
    // The clipboard keeps the report for any other program as well.
    if (QClipboard* c = QGuiApplication::clipboard()) c->setText(text);
    finestra_informe()->mostrar(text);
}

} // namespace lumi
