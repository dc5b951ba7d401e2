// Helpers for form tests: answering modal message boxes from a timer.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <memory>

namespace lumi::proves {

// Answers the next modal message box with `boto` and keeps its text.
struct RespostaMissatge {
    QString text;
    QString titol;
    bool vist = false;
};

inline std::shared_ptr<RespostaMissatge> respondre_missatge(QMessageBox::StandardButton boto) {
    auto r = std::make_shared<RespostaMissatge>();
    auto* t = new QTimer;
    t->setInterval(10);
    auto intents = std::make_shared<int>(0);
    std::weak_ptr<RespostaMissatge> feble = r;
    QObject::connect(t, &QTimer::timeout, [feble, t, boto, intents] {
        auto r = feble.lock();
        // The test that asked has ended: nothing left to answer.
        if (!r) {
            t->stop();
            t->deleteLater();
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            // Give up after a few seconds so a box that never came cannot
            // be answered in a later test.
            if (++*intents > 300) {
                t->stop();
                t->deleteLater();
            }
            return;
        }
        r->text = box->text();
        r->titol = box->windowTitle();
        r->vist = true;
        t->stop();
        t->deleteLater();
        if (QAbstractButton* b = box->button(boto))
            b->click();
        else
            box->reject();
    });
    t->start();
    return r;
}

} // namespace lumi::proves

namespace lumi::proves {

// Closes the next modal dialog (the start dialog of a first activation) and
// keeps its name, so a test of the player window can go on.
struct DialegTancat {
    QString nom;
};

inline std::shared_ptr<DialegTancat> tancar_dialeg_modal() {
    auto r = std::make_shared<DialegTancat>();
    std::weak_ptr<DialegTancat> feble = r;
    auto* t = new QTimer;
    t->setInterval(10);
    auto intents = std::make_shared<int>(0);
    QObject::connect(t, &QTimer::timeout, [feble, t, intents] {
        auto r = feble.lock();
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (r && d) {
            r->nom = d->objectName();
            d->reject();
        }
        if (!r || d || ++*intents > 300) {
            t->stop();
            t->deleteLater();
        }
    });
    t->start();
    return r;
}

} // namespace lumi::proves

namespace lumi::proves {

// The caption Qt gives a Cancel button in the language of its installed
// translation.
inline QString cancel_qt() {
    QDialogButtonBox botons(QDialogButtonBox::Cancel);
    return botons.button(QDialogButtonBox::Cancel)->text();
}

// What the user sees in the next modal file dialog once it has been taken to
// `carpeta` and has listed at least `noms_esperats` entries (or a few seconds
// have passed); the dialog is cancelled afterwards.
struct VistaDialegFitxer {
    bool vist = false;
    bool de_qt = false; // Qt's own dialog, not the desktop's
    QString cancel;
    QStringList filtres;
    QStringList noms;
    QStringList columnes;   // the other columns' texts: size, type and date
    bool retallada = false; // a column narrower than its texts
};

inline std::shared_ptr<VistaDialegFitxer> mirar_dialeg_fitxer(const QString& carpeta, int noms_esperats) {
    auto r = std::make_shared<VistaDialegFitxer>();
    std::weak_ptr<VistaDialegFitxer> feble = r;
    auto* t = new QTimer;
    t->setInterval(10);
    auto intents = std::make_shared<int>(0);
    QObject::connect(t, &QTimer::timeout, [feble, t, intents, carpeta, noms_esperats] {
        auto r = feble.lock();
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        const bool acabar = !r || ++*intents > 500;
        if (r && d) {
            if (!r->vist) {
                r->vist = true;
                d->setDirectory(carpeta);
            }
            const auto* vista = d->findChild<QListView*>(QStringLiteral("listView"));
            const int files = vista ? vista->model()->rowCount(vista->rootIndex()) : 0;
            if (files < noms_esperats && !acabar) return;
            r->de_qt = d->testOption(QFileDialog::DontUseNativeDialog);
            if (auto* b = d->findChild<QDialogButtonBox*>())
                if (QPushButton* c = b->button(QDialogButtonBox::Cancel)) r->cancel = c->text();
            if (auto* combo = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
                for (int i = 0; i < combo->count(); ++i)
                    r->filtres << combo->itemText(i);
            auto* t = d->findChild<QAbstractItemView*>(QStringLiteral("treeView")); // the detailed view
            for (int c = 0; t && c < 4; ++c)
                r->retallada |= t->findChild<QHeaderView*>()->sectionSize(c) < t->sizeHintForColumn(c);
            for (int i = 0; i < files; ++i)
                for (int c = 0; c < 4; ++c)
                    (c ? r->columnes : r->noms)
                        << vista->model()->index(i, c, vista->rootIndex()).data().toString();
            d->reject();
        } else if (!acabar) {
            return;
        }
        t->stop();
        t->deleteLater();
    });
    t->start();
    return r;
}

} // namespace lumi::proves
