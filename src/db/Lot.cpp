#include "db/Lot.h"

#include "db/Messages.h"

namespace vyk {

Lot::Lot(BaseDonnees &base, int intervalle) : m_bd(base)
{
    if (!m_bd.estOuverte() || m_bd.enTransaction()) return;
    if (m_bd.debutTransaction()) {
        m_actif = true;
        m_bd.demarrerLot(intervalle);
    }
}

Lot::~Lot()
{
    terminer();
}

bool Lot::terminer()
{
    if (!m_actif) return true;
    m_actif = false;
    m_bd.arreterLot();
    if (!m_bd.lotEchoue()) return m_bd.finTransaction(false);
    // Part of the work is lost already: keep none of it rather than a hole in the middle.
    const QString erreur = m_bd.derniereErreur();
    if (m_bd.enTransaction()) m_bd.finTransaction(true);
    m_bd.noterErreur(QStringLiteral("COMMIT"), erreur);
    return false;
}

Transaction::Transaction(BaseDonnees &base) : m_bd(base)
{
    m_ouverte = m_bd.debutTransaction();
}

Transaction::~Transaction()
{
    if (m_ouverte) annuler();
}

bool Transaction::valider()
{
    if (!m_ouverte) return false;
    m_ouverte = false;
    return m_bd.finTransaction(false);
}

bool Transaction::annuler()
{
    if (!m_ouverte) return false;
    m_ouverte = false;
    return m_bd.finTransaction(true);
}

CompteRendu conclureTransaction(Transaction &transaction, bool ok,
                                const std::function<QString(const QString &)> &echec,
                                const QString &fait)
{
    // The failing statement's error, read before the rollback runs statements of its own.
    QString erreur = bd().derniereErreur();
    if (ok) {
        if (transaction.valider()) return reussite(fait);
        erreur = bd().derniereErreur();
    }
    transaction.annuler();
    return vyk::echec(echec(erreur));
}

bool terminerTransaction(Transaction &transaction, bool ok,
                         const std::function<QString(const QString &)> &echec)
{
    return montrer(conclureTransaction(transaction, ok, echec));
}

} // namespace vyk
