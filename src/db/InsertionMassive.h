#pragma once

#include "db/BaseDonnees.h"

#include <QStringList>
#include <QVector>

#include <memory>

namespace vyk {

class InsertionMoteur;

// Fast insertion of many rows into one table: COPY on PostgreSQL, a reused prepared INSERT on
// SQLite. A row that fails is skipped and its error kept (numero from 1); the others go in.
// Rows are sent at the latest by terminer() or the destructor.
class InsertionMassive
{
  public:
    InsertionMassive(const QString &table, const QStringList &colonnes, BaseDonnees &base = bd());
    ~InsertionMassive();
    InsertionMassive(const InsertionMassive &) = delete;
    InsertionMassive &operator=(const InsertionMassive &) = delete;

    bool estValide() const { return m_moteur != nullptr; }
    QString erreur() const { return m_erreur; }
    bool ajouter(const QVector<QVariant> &ligne);
    bool terminer();

    struct ErreurLigne
    {
        long long numero;
        QString message;
    };
    const QVector<ErreurLigne> &erreurs() const { return m_erreurs; }

  private:
    BaseDonnees &m_bd;
    std::unique_ptr<InsertionMoteur> m_moteur;
    QVector<ErreurLigne> m_erreurs;
    QString m_erreur;
    int m_nbColonnes = 0;
};

} // namespace vyk
