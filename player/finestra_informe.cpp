#include "player/finestra_informe.h"

#include "core/desar.h"
#include "comuns/dialegs.h"
#include "core/idioma.h"
#include "core/text_codec.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace lumi {

FinestraInforme::FinestraInforme(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("finestra_informe"));
    setProperty(FORA_DEL_RECOMPTE, true);
    setWindowTitle(text_idioma(20));
    editor = new QPlainTextEdit(this);
    editor->setObjectName(QStringLiteral("editor"));
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tabs line the values up as a text editor would.
    editor->setTabStopDistance(editor->fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 8);
    boto_desar = new QPushButton(tradueix(QStringLiteral("Form1|mn_disc | 2|c|")), this);
    boto_desar->setObjectName(QStringLiteral("boto_desar"));
    boto_tancar = new QPushButton(tradueix(QStringLiteral("Tancar")), this);
    boto_tancar->setObjectName(QStringLiteral("boto_tancar"));

    auto* botons = new QHBoxLayout;
    botons->addStretch();
    botons->addWidget(boto_desar);
    botons->addWidget(boto_tancar);
    auto* capsa = new QVBoxLayout(this);
    capsa->addWidget(editor);
    capsa->addLayout(botons);
    resize(640, 480);

    connect(boto_desar, &QPushButton::clicked, this, &FinestraInforme::desar_com);
    connect(boto_tancar, &QPushButton::clicked, this, &QWidget::close);
}

void FinestraInforme::mostrar(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    editor->setPlainText(t);
    editor->moveCursor(QTextCursor::Start);
    show();
    raise();
    activateWindow();
    editor->setFocus();
}

QString FinestraInforme::text() const {
    QString t = editor->toPlainText();
    t.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return t;
}

bool FinestraInforme::desar(const QString& cami) {
    const bool ok = desar_fitxer(cami, codificar_text(text()));
    if (!ok) {
        missatge(this, tradueix(QStringLiteral("finestra_informe|no_desat")) + QLatin1Char('\n') + cami,
                 QMessageBox::Critical);
    }
    return ok;
}

void FinestraInforme::desar_com() {
    const QString cami = QFileDialog::getSaveFileName(this, windowTitle(), QString(),
                                                      text_idioma(44) + QStringLiteral(" (*)"));
    if (!cami.isEmpty()) desar(cami);
}

} // namespace lumi
