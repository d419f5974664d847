#pragma once

#include "db/BaseDonnees.h"
#include "db/CompteRendu.h"

#include <functional>

namespace vyk {

// A batch for long work (imports, upgrades, purges, integrations). On SQLite: one transaction
// committed every `intervalle` statements and at the end. On a server: the same, each statement
// isolated by a savepoint so that a failing one is skipped and its neighbours stay.
// terminer() commits what was done (a cancelled import keeps the rows it wrote) and says whether
// it was written: callers check it. When a commit fails (the file held by another program, a
// full disk) the batch is rolled back and terminer() is false. Leaving the scope ends a batch
// nobody ended the same way. Inside an already open transaction a batch does nothing of its own.
class Lot
{
  public:
    explicit Lot(BaseDonnees &base = bd(), int intervalle = 5000);
    ~Lot();
    Lot(const Lot &) = delete;
    Lot &operator=(const Lot &) = delete;

    bool terminer();
    bool estActif() const { return m_actif; }

  private:
    BaseDonnees &m_bd;
    bool m_actif = false;
};

// RAII explicit transaction: rolled back unless valider() was called.
class Transaction
{
  public:
    explicit Transaction(BaseDonnees &base = bd());
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    bool estOuverte() const { return m_ouverte; }
    bool valider();
    bool annuler();

  private:
    BaseDonnees &m_bd;
    bool m_ouverte = false;
};

// Ends the transaction of a save or a deletion: committed when ok, the report then done with
// the text fait; otherwise, or when the commit fails, rolled back, the report refused with
// echec(the database's error).
CompteRendu conclureTransaction(Transaction &transaction, bool ok,
                                const std::function<QString(const QString &)> &echec,
                                const QString &fait = {});
// The same, the failure shown as an "Erreur" message. True when committed.
bool terminerTransaction(Transaction &transaction, bool ok,
                         const std::function<QString(const QString &)> &echec);

} // namespace vyk
