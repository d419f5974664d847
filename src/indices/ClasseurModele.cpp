#include "indices/ClasseurModele.h"

#include <QFileInfo>

namespace vyk {

bool ClasseurMemoire::ouvrir(const QString &chemin)
{
    m_erreur.clear();
    m_chemin = chemin;
    m_ecritures = 0;
    if (!QFileInfo(chemin).isFile()) {
        m_erreur = QStringLiteral("Impossible d'ouvrir le classeur ") + chemin;
        return false;
    }
    m_feuille = m_modele;
    return true;
}

void ClasseurMemoire::ecrire(int ligne, int colonne, const QVariant &valeur)
{
    m_feuille.ecrire(ligne, colonne, valeur);
    ++m_ecritures;
}

bool ClasseurMemoire::recalculer()
{
    m_erreur.clear();
    if (!m_recalcul) return true;
    return m_recalcul(m_feuille, m_erreur);
}

} // namespace vyk
