#include "planner/paraules.h"

#include "comuns/encabir.h"
#include "comuns/formulari.h"
#include "core/activitat.h"
#include "core/idioma.h"
#include "planner/Finestra2.h"

namespace lumi {

paraules::paraules(QWidget* pare) : QDialog(pare) {
    setObjectName(QStringLiteral("paraules"));
    setWindowTitle(tradueix(QStringLiteral("Paraules")));
    setModal(true);
    setFixedSize(360, 132);
    Combo1 = anomenar(new QComboBox(this), QStringLiteral("Combo1"));
    Combo1->setGeometry(10, 10, 160, 24);
    Text1 = anomenar(new QLineEdit(this), QStringLiteral("Text1"));
    Text1->setGeometry(10, 42, 340, 24);
    avis = anomenar(new QLabel(this), QStringLiteral("avis"));
    avis->setGeometry(10, 68, 340, 20);
    avis->setWordWrap(true);
    avis->setStyleSheet(QStringLiteral("color: #b00000;"));
    const char* textos[] = {"Cancel·lar", "Acceptar"};
    for (int i : {0, 1}) {
        auto* b =
            anomenar(new QPushButton(QString::fromUtf8(textos[i]), this), QStringLiteral("Command1"), i);
        b->setGeometry(70 + i * 120, 94, 100, 28);
        connect(b, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1[static_cast<size_t>(i)] = b;
    }
    Command1[1]->setDefault(true);
    connect(Combo1, &QComboBox::activated, this, [] { activitat().exercici_modificat = CERT; });
    connect(Text1, &QLineEdit::textEdited, this, [] { activitat().exercici_modificat = CERT; });
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    Form_Load();
}

void paraules::Form_Load() {
    tradueix_formulari(this);
    encabir_captions(this);
    for (int n : {5, 6, 7, 8})
        Combo1->addItem(text_idioma(n));
    Combo1->setCurrentIndex(0);
    Text1->setFocus();
}

void paraules::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    Text1->setFocus();
}

void paraules::posar(const QString& lloc, const QString& text) {
    for (int i = 0; i < Combo1->count(); ++i)
        if (Combo1->itemText(i).toUpper() == lloc.toUpper()) Combo1->setCurrentIndex(i);
    Text1->setText(text);
}

void paraules::Text1_Change() {
    const QString a = avis_caracter(Text1->text());
    avis->setText(a);
    // A warning of more lines pushes the buttons down.
    encabir_captions(this);
    Command1[1]->setEnabled(a.isEmpty());
}

void paraules::Command1_Click(int Index) {
    if (Index == 1) {
        if (!avis_caracter(Text1->text()).isEmpty()) return;
        if (!Text1->text().isEmpty()) resultat = Combo1->currentText().toUpper() + u'_' + Text1->text();
        accept();
        return;
    }
    reject();
}

} // namespace lumi
