#pragma once

// The organisations of an exchange package matched with those of the open database. Two
// databases number their organisations independently, so a package's number says nothing here:
// an organisation is the same by its SANDRE code, else by its SIRET number, else (neither given)
// by its number when the name is the same too; any other one is created here. Every organisation
// column of the rows written is then rewritten through that mapping.

#include "db/BaseDonnees.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>

namespace vyk::paquet {

class Colonnes;

// Package numbers of a referential that each database numbers on its own, mapped to the numbers
// here once the rows have been matched by identity.
class Renumerotation
{
  public:
    explicit Renumerotation(QString referentiel) : m_referentiel(std::move(referentiel)) {}

    // The columns naming this referential in rows about to be written into `table` take the
    // numbers here; a number the package does not describe becomes NULL rather than name another
    // row here.
    void reecrire(const QString &table, const QStringList &colonnes,
                  QVector<QVector<QVariant>> &lignes) const;

    // The columns of `table` that hold a number of this referential.
    QStringList colonnesDe(const QString &table) const;

    // The package's number when no row holds it here (`pris` false), so that a package read into
    // an empty database keeps its numbers; else the one after `plusGrand`.
    static QVariant numeroLibre(const QVariant &numero, bool pris, double plusGrand);

  protected:
    // One row of the package's referential table.
    struct LignePaquet
    {
        const Tableau &tableau;
        const QStringList &colonnes;
        int ligne;
        QVariant numero;
        // The trimmed text of a column ("" when the package lacks it).
        QString texte(const char *colonne) const;
    };

    // Reads the package's rows in number order; each takes the number here that `trouver` gives,
    // or, when it gives none, is inserted here under the number `creer` gives (inside the
    // caller's transaction). "" or the failure.
    QString etablir(BaseDonnees &paquet, Colonnes &colonnes, const QString &cle,
                    const std::function<QVariant(const LignePaquet &)> &trouver,
                    const std::function<QVariant(const LignePaquet &)> &creer);

    QString m_referentiel;
    QHash<QString, QVariant> m_numeros; // package number (key text) -> number here
};

class CorrespondanceIntervenants : public Renumerotation
{
  public:
    CorrespondanceIntervenants() : Renumerotation(QStringLiteral("INTERVENANTS")) {}

    // Reads the package's organisations and creates in the open database those it lacks (inside
    // the caller's transaction). `crees` receives, for each one created, its SANDRE code, else
    // its SIRET number, else its name. "" or the failure.
    QString etablir(BaseDonnees &paquet, Colonnes &colonnes, QStringList &crees);
};

} // namespace vyk::paquet
