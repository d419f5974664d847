#include "db/Lot.h"

namespace vyk {

Lot::Lot(BaseDonnees &base, int intervalle) : m_bd(base)
{
    if (!m_bd.estOuverte() || m_bd.enTransaction())
        return;
    if (m_bd.debutTransaction()) {
        m_actif = true;
        m_bd.demarrerLot(intervalle);
    }
}

Lot::~Lot() { terminer(); }

bool Lot::terminer()
{
    if (!m_actif)
        return true;
    m_actif = false;
    m_bd.arreterLot();
    return m_bd.finTransaction(false);
}

Transaction::Transaction(BaseDonnees &base) : m_bd(base) { m_ouverte = m_bd.debutTransaction(); }

Transaction::~Transaction()
{
    if (m_ouverte)
        annuler();
}

bool Transaction::valider()
{
    if (!m_ouverte)
        return false;
    m_ouverte = false;
    return m_bd.finTransaction(false);
}

bool Transaction::annuler()
{
    if (!m_ouverte)
        return false;
    m_ouverte = false;
    return m_bd.finTransaction(true);
}

} // namespace vyk
