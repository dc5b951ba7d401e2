// The drive, folder and file lists of the program's own file choosers. The
// form that holds them wires them: a drive change moves the folder list, a
// folder change moves the file list and shows the drive that holds it.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QStringList>

namespace lumi {

// The "drives" of this machine: the root, the home folder and the media
// mounted under /media, /mnt or /run/media, each once.
QStringList unitats();

// A drive list, filled with unitats().
class LlistaUnitats : public QComboBox {
    Q_OBJECT
  public:
    explicit LlistaUnitats(QWidget* pare = nullptr);
    // The chosen drive's root folder.
    QString drive() const { return currentText(); }
    // Shows the drive that holds the folder (the longest root that begins
    // it), without raising a change.
    void seguir(const QString& carpeta);
};

// A folder list: the way down from the root to the current folder, then its
// subfolders; double click or Enter goes into one.
class LlistaCarpetes : public QListWidget {
    Q_OBJECT
  public:
    explicit LlistaCarpetes(QWidget* pare = nullptr);
    QString path() const { return path_; }
    // Goes to the folder; false, and the list stays, when it is not a folder
    // that can be read.
    bool setPath(const QString& carpeta);
  signals:
    // The list was set to a folder, the same one again included: what
    // follows it lists that folder again.
    void canviat();

  private:
    QString path_;
};

// The files of one folder that match a ";"-separated pattern.
class LlistaFitxers : public QListWidget {
    Q_OBJECT
  public:
    explicit LlistaFitxers(QWidget* pare = nullptr);
    QString path() const { return path_; }
    void setPath(const QString& carpeta);
    QString pattern() const { return pattern_; }
    void setPattern(const QString& patro);
    // The selected entry, -1 for none.
    int listIndex() const { return currentRow(); }
    void setListIndex(int i);
    // The selected file's name, "" for none.
    QString fileName() const;
    // Lists the folder again, with nothing selected.
    void refrescar();

  private:
    QString path_;
    QString pattern_;
};

} // namespace lumi
