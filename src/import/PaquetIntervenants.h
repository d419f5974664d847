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

namespace vyk::paquet {

class Colonnes;

class CorrespondanceIntervenants
{
  public:
    // Reads the package's organisations and creates in the open database those it lacks (inside
    // the caller's transaction). `crees` receives, for each one created, its SANDRE code, else
    // its SIRET number, else its name. "" or the failure.
    QString etablir(BaseDonnees &paquet, Colonnes &colonnes, QStringList &crees);

    // The organisation columns of rows about to be written into `table` take the numbers here;
    // a number the package does not describe becomes NULL rather than name another organisation.
    void reecrire(const QString &table, const QStringList &colonnes,
                  QVector<QVector<QVariant>> &lignes) const;

    // The columns of `table` that hold an organisation number.
    static QStringList colonnesDe(const QString &table);

  private:
    QHash<QString, QVariant> m_numeros; // package number (key text) -> number here
};

} // namespace vyk::paquet
