#pragma once

// The readers and writers behind Classeur, one per format, and the in-memory reading of a
// ZIP package they share.

#include "classeur/Classeur.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QXmlStreamAttributes>

#include <memory>

class QuaZip;

namespace vyk::classeur {

// No member of a package is read past this size, nor a package of more members.
inline constexpr qint64 TAILLE_MAX_MEMBRE = 512LL * 1024 * 1024;
inline constexpr int MEMBRES_MAX = 10000;
// No sheet holds more cells than this: a file that asks for more is refused.
inline constexpr qint64 CELLULES_MAX = 50'000'000;
// The grid of the formats: a repetition past it is dropped.
inline constexpr int LIGNES_MAX = 1'048'576;
inline constexpr int COLONNES_MAX = 16'384;

// A ZIP package whose members are read into memory, never extracted.
class Paquet
{
  public:
    Paquet();
    ~Paquet();
    bool ouvrir(const QString &chemin, QString &detail);
    bool contient(const QString &membre) const { return m_tailles.contains(membre); }
    // False, with the reason, when the member is missing, too large or damaged.
    bool lire(const QString &membre, QByteArray &octets, QString &detail);

  private:
    std::unique_ptr<QuaZip> m_zip;
    QHash<QString, qint64> m_tailles;
};

// Writes a package of these members, the first `stockes` of them stored uncompressed.
bool ecrirePaquet(const QString &chemin, const QVector<std::pair<QString, QByteArray>> &membres,
                  int stockes, QString &detail);

bool lireXlsx(const QString &chemin, QVector<Feuille> &feuilles, QString &detail);
bool lireOds(const QString &chemin, QVector<Feuille> &feuilles, QString &detail);
bool lireXls(const QString &chemin, QVector<Feuille> &feuilles, QString &detail);
// Both write to the path given, which the caller renames into place.
bool ecrireXlsx(const QString &chemin, const QVector<Feuille> &feuilles, QString &detail);
bool ecrireOds(const QString &chemin, const QVector<Feuille> &feuilles, QString &detail);

// An attribute by its name without prefix (and, given, its namespace); null when absent.
inline QStringView attribut(const QXmlStreamAttributes &a, QStringView nom, QStringView ns = {})
{
    for (const QXmlStreamAttribute &x : a)
        if (x.name() == nom && (ns.isNull() || x.namespaceUri() == ns)) return x.value();
    return {};
}

// A day counted by a workbook (1900 system with its 29/02/1900, or 1904) as a date, a date
// and time or a time; the number itself for the day 1900 never had.
QVariant dateSerie(double serie, bool systeme1904, bool heureSeule);

} // namespace vyk::classeur
