// Media references and the activity folder.
//
// Activity files store references with "\" as separator, relative to the
// activity's folder when the file lies there, so files stay readable by
// installs on Windows. In memory an absolute reference is a native path with
// "/"; relative references still in stored form are resolved against the
// activity's folder, never against the process's working directory.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace lumi {

// The folder of the current activity, native form without trailing "/".
// The loader sets it.
QString& carpeta_activitat();

// A leading "/" or a drive form "X:" (from a file written on Windows).
bool es_absoluta(QStringView ref);

// Removes the folder and the separator that follows it wherever a reference
// begins with it; what is left of that reference goes back to "\" separators.
QString ruta_relativa(const QString& text);
QString ruta_relativa(const QString& text, const QString& carpeta);

// A list text ("2»a.bmp|b.wav") or a single reference with its relative
// references made absolute. Keyword orders, text orders (no media file type),
// references with options and references that are already absolute stay as
// they are, so the result does not change when applied twice.
QString ruta_absoluta(const QString& text);
QString ruta_absoluta(const QString& text, const QString& carpeta);

// The same two conversions for many texts against one folder (the reader
// and the writer of a file): the folder's own work is done once. Command
// keywords are recognised in `llengua` (and in Catalan); without it, in the
// interface language.
class CarpetaReferencies {
  public:
    explicit CarpetaReferencies(const QString& carpeta);
    CarpetaReferencies(const QString& carpeta, const QString& llengua);
    QString relativa(const QString& text) const;
    QString absoluta(const QString& text) const;
    // The same, and every other order the player takes for a media file as
    // well: with options, or with a keyword in its name.
    QString absoluta_tot(const QString& text) const;

  private:
    QString absoluta(const QString& text, bool tot) const;

    QString neta_;   // without trailing "/"; "/" for the root
    QString prefix_; // what a reference inside it begins with
    QString base_;   // what goes in front of a relative reference ("" for the root)
    QString llengua_;
};

struct Activitat;
struct item;

// The references of an item, or of an activity with its items, that are
// relative to `carpeta` made absolute (absoluta_tot): from another folder
// they still reach the same files.
void referencies_absolutes(item& it, const QString& carpeta);
void referencies_absolutes(Activitat& a, const QString& carpeta);
// The same for the entries of a list (orders without the count), as the
// planner holds the shown item's.
void referencies_absolutes(QStringList& entrades, const QString& carpeta);
// Every reference of an activity to a media file, with its options, in one
// fixed order: the same count before and after referencies_absolutes.
QStringList referencies_mitjans(const Activitat& a);

// Mode 0: the file part of "file:options"; mode 1: the options; other modes "".
QString part_recurs(const QString& ref, int mode);

// The existing file a reference names, looked up component by component
// without regard to case when the exact name does not exist; relative
// references are taken from the activity's folder. The input unchanged when
// nothing matches.
QString resoldre_fitxer(const QString& ref);
QString resoldre_fitxer(const QString& ref, const QString& carpeta);

// "\" to "/" (memory form) and back (stored form).
QString separadors_natius(const QString& ref);
QString separadors_desats(const QString& ref);

} // namespace lumi
