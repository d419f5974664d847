#pragma once

#include "db/Tableau.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>

namespace vyk {

class BaseDonnees;
class InstructionMoteur;

// A statement prepared once and run many times with bound values ("?" placeholders, desktop
// dialect). Used by hot paths (imports, grids) instead of building SQL text per row.
class InstructionPreparee
{
  public:
    InstructionPreparee() = default;

    bool estValide() const { return m_instruction != nullptr; }
    QString erreur() const { return m_erreur; }
    const QString &sql() const { return m_sql; }

    // position from 0
    void lier(int position, const QVariant &valeur);
    bool executer();
    bool executer(const QVector<QVariant> &valeurs);
    bool extraire(Tableau &resultat, const QVector<QVariant> &valeurs);
    long long lignesModifiees() const { return m_modifiees; }

  private:
    friend class BaseDonnees;
    BaseDonnees *m_bd = nullptr;
    std::shared_ptr<InstructionMoteur> m_instruction;
    QString m_sql;
    QVector<QVariant> m_valeurs;
    QString m_erreur;
    long long m_modifiees = 0;
    quint64 m_generation = 0;
};

} // namespace vyk
