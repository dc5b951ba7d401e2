// Answers every modal message box that comes up while it lives, in order,
// with the buttons it is given (the last one for any further box), and keeps
// what each box said. Modal file dialogs and forms are left alone.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <vector>

namespace lumi::proves {

class Contestador {
  public:
    explicit Contestador(std::vector<QMessageBox::StandardButton> botons = {QMessageBox::Ok})
        : botons_(std::move(botons)) {
        QObject::connect(&t_, &QTimer::timeout, [this] { mirar(); });
        t_.start(5);
    }
    ~Contestador() { t_.stop(); }

    QStringList textos;
    QStringList titols;

  private:
    void mirar() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        textos << box->text();
        titols << box->windowTitle();
        const size_t i = std::min(static_cast<size_t>(textos.size() - 1), botons_.size() - 1);
        if (QAbstractButton* b = box->button(botons_[i]))
            b->click();
        else
            box->reject();
    }

    std::vector<QMessageBox::StandardButton> botons_;
    QTimer t_;
};

} // namespace lumi::proves
