#pragma once

#include "db/BaseDonnees.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace vyk {

// What the open database holds: tables with their columns and engine types, and indexes, read
// in two queries. The upgrade decides from it which statements to send, instead of sending
// every statement and letting the engine refuse what exists already; it keeps it current as it
// changes the schema. Names are compared without regard to case.
class EtatSchema
{
  public:
    bool charger(BaseDonnees &base = bd());

    QStringList tables() const;
    bool tableExiste(const QString &table) const;
    bool colonneExiste(const QString &table, const QString &colonne) const;
    // Column names in table order, as the engine spells them.
    QStringList colonnes(const QString &table) const;
    // The engine's type of a column, lower case ("double precision", "varchar(5)"); "" if absent.
    QString typeColonne(const QString &table, const QString &colonne) const;
    bool indexExiste(const QString &index) const;
    QStringList index() const;

    void noterTable(const QString &table, const QStringList &colonnes);
    void noterColonne(const QString &table, const QString &colonne, const QString &type = {});
    void oublierColonne(const QString &table, const QString &colonne);
    void renommerColonne(const QString &table, const QString &ancien, const QString &nouveau);
    // The table and its indexes.
    void oublierTable(const QString &table);
    void noterIndex(const QString &index, const QString &table);

  private:
    struct Colonne
    {
        QString nom;
        QString type;
    };
    struct Table
    {
        QString nom;
        QVector<Colonne> colonnes;
        int indexColonne(const QString &colonne) const;
    };
    const Table *table(const QString &nom) const;
    bool chargerColonnesParTable(BaseDonnees &base);

    QHash<QString, Table> m_tables;  // key: lower-case name
    QHash<QString, QString> m_index; // lower-case index name -> lower-case table name
};

} // namespace vyk
